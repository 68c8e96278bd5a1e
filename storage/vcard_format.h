// vCard files (versions 2.1, 3 and 4), as phones and mail programs export
// contacts: each birthday becomes a yearly event.
#pragma once

#include <string>

#include "storage/import_rules.h"

// Adds a yearly event to `batch` for each card with a BDAY; the message
// names the card's FN (or its N) through string 5170, which counts the age
// with $Age, or 5171 when the year of birth is not known. Cards without a
// birthday are passed over.
void ReadVCards(const std::string& text, ImportBatch* batch);
