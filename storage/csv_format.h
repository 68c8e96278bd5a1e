// Quillbee's CSV dialect, for editing events in a spreadsheet:
//
//   date,message,notes,yearly,days before,days after
//   2010-03-15,George's birthday! ($Age{1968} years old),,yes,0,0
//   --12-24,Christmas Eve,"Buy a tree
//   and the lights",yes,5,1
//
// A header row names the columns, in any order (date and message must be
// there; a missing column counts as empty). The separator is a comma or a
// semicolon, whichever the header uses. Fields are quoted as RFC 4180 says,
// so they may hold separators, quotes and line breaks. The text is UTF-8,
// with or without a byte-order mark.
//
// The date is YYYY-MM-DD, or --MM-DD for a yearly event without a year
// (DD.MM.YYYY, as some spreadsheets rewrite dates, is read too). Yearly is
// yes or no (also 1/0, true/false, y/n, tak/nie); empty means yes for a date
// without a year and no otherwise. The two special limits are whole days,
// 0 to 182; both 0 or empty: the global limits apply.
#pragma once

#include <string>

#include "model/duty.h"
#include "storage/import_rules.h"

// Adds the rows of a CSV text to `batch`.
void ReadCsv(const std::string& text, ImportBatch* batch);

// The header row, and one row for `duty`; each ends with CR LF.
void WriteCsvHeader(std::string* out);
void WriteCsvRow(std::string* out, const Duty& duty);
