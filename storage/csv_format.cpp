#include "storage/csv_format.h"

#include <cstdio>
#include <vector>

#include "model/day_number.h"
#include "storage/content_lines.h"  // Trimmed, UpperAscii

namespace {

constexpr int kLongestLimit = 182;

enum Column { kDate, kMessage, kNotes, kYearly, kBefore, kAfter, kColumns };
const char* const kColumnNames[kColumns] = {"date",   "message",     "notes",
                                            "yearly", "days before", "days after"};

struct Record {
    int line;
    std::vector<std::string> fields;
};

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Splits `text` into records of fields. Quoted fields may hold separators,
// doubled quotes and line breaks. False when the text ends inside quotes,
// which is what a file cut short looks like.
bool SplitRecords(const std::string& text, char separator, std::vector<Record>* records, TextDamage* damage) {
    int line = 1;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        Record record{line, {std::string()}};
        for (;;) {
            std::string& field = record.fields.back();
            if (i < n && text[i] == '"') {
                const int opened = line;
                for (++i;; ++i) {
                    if (i >= n) {
                        damage->id = kDamageOpenQuote;
                        damage->line = opened;
                        return false;
                    }
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (text[i] == '\n') ++line;
                    field += text[i];
                }
            }
            // Unquoted text, or what follows a closing quote.
            while (i < n && text[i] != separator && text[i] != '\r' && text[i] != '\n') field += text[i++];
            if (i < n && text[i] == separator) {
                ++i;
                record.fields.emplace_back();
                continue;
            }
            break;
        }
        if (i < n && text[i] == '\r') ++i;
        if (i < n && text[i] == '\n') ++i;
        ++line;
        // Blank lines, as spreadsheets leave at the end, are no rows.
        if (record.fields.size() > 1 || !Trimmed(record.fields[0]).empty()) records->push_back(record);
    }
    return true;
}

// Where each column stands in the header when it is split at `separator`;
// -1 for a column it does not have. False without date and message.
bool ReadHeader(const std::string& text, char separator, int where[kColumns]) {
    std::vector<Record> first;
    TextDamage ignored;
    const size_t end = text.find_first_of("\r\n");
    SplitRecords(text.substr(0, end), separator, &first, &ignored);
    for (int c = 0; c < kColumns; ++c) where[c] = -1;
    if (first.empty()) return false;
    for (size_t k = 0; k < first[0].fields.size(); ++k) {
        const std::string name = LowerAscii(Trimmed(first[0].fields[k]));
        for (int c = 0; c < kColumns; ++c) {
            if (name == kColumnNames[c] && where[c] < 0) where[c] = static_cast<int>(k);
        }
    }
    return where[kDate] >= 0 && where[kMessage] >= 0;
}

// YYYY-MM-DD, --MM-DD (year 0) or DD.MM.YYYY.
bool ReadDate(const std::string& value, int* year, int* month, int* day) {
    *year = 0;
    if (value.size() == 10 && value[4] == '-' && value[7] == '-' && IsDigits(value, 0, 4) &&
        IsDigits(value, 5, 2) && IsDigits(value, 8, 2)) {
        *year = Number(value, 0, 4), *month = Number(value, 5, 2), *day = Number(value, 8, 2);
    } else if (value.size() == 7 && value.compare(0, 2, "--") == 0 && value[4] == '-' &&
               IsDigits(value, 2, 2) && IsDigits(value, 5, 2)) {
        *month = Number(value, 2, 2), *day = Number(value, 5, 2);
    } else if (value.size() == 10 && value[2] == '.' && value[5] == '.' && IsDigits(value, 0, 2) &&
               IsDigits(value, 3, 2) && IsDigits(value, 6, 4)) {
        *day = Number(value, 0, 2), *month = Number(value, 3, 2), *year = Number(value, 6, 4);
    } else {
        return false;
    }
    return value.size() == 7 || *year >= 1;
}

// 1 yes, 0 no, -1 empty, -2 not understood.
int ReadYesNo(const std::string& value) {
    const std::string word = LowerAscii(value);
    if (word.empty()) return -1;
    for (const char* yes : {"yes", "y", "1", "true", "tak", "t"}) {
        if (word == yes) return 1;
    }
    for (const char* no : {"no", "n", "0", "false", "nie"}) {
        if (word == no) return 0;
    }
    return -2;
}

bool ReadLimit(const std::string& value, int32_t* days) {
    if (value.empty()) {
        *days = 0;
        return true;
    }
    if (value.size() > 3 || !IsDigits(value, 0, value.size())) return false;
    *days = Number(value, 0, value.size());
    return *days <= kLongestLimit;
}

void ReadRow(const Record& record, const int where[kColumns], ImportBatch* batch) {
    std::string field[kColumns];
    for (int c = 0; c < kColumns; ++c) {
        if (where[c] >= 0 && static_cast<size_t>(where[c]) < record.fields.size())
            field[c] = record.fields[where[c]];
    }
    const std::string date = Trimmed(field[kDate]);
    int year = 0, month = 0, day = 0;
    if (!ReadDate(date, &year, &month, &day)) return RefuseEntry(batch, record.line, kReasonBadDate, date);
    const std::string yearlyText = Trimmed(field[kYearly]);
    int yearly = ReadYesNo(yearlyText);
    if (yearly == -2) return RefuseEntry(batch, record.line, kReasonBadYearly, yearlyText);
    if (yearly == -1) yearly = year == 0 ? 1 : 0;
    if (year == 0 && yearly == 0) return RefuseEntry(batch, record.line, kReasonNoYear);
    // A yearly event may fall on 29 February whatever year it was entered in.
    if (!IsRealDate(yearly ? 0 : year, month, day))
        return RefuseEntry(batch, record.line, kReasonBadDate, date);

    Duty duty = NewEvent(yearly == 1);
    duty.year = year != 0 ? year : static_cast<int32_t>(LocalToday().year);
    duty.month = month;
    duty.day = day;
    for (int c : {kBefore, kAfter}) {
        const std::string limit = Trimmed(field[c]);
        if (!ReadLimit(limit, c == kBefore ? &duty.warnBefore : &duty.warnAfter)) {
            return RefuseEntry(batch, record.line, kReasonBadLimit, limit);
        }
    }
    SetMessage(&duty, field[kMessage]);
    if (duty.message[0] == '\0') return RefuseEntry(batch, record.line, kReasonNoMessage);
    SetNotes(&duty, field[kNotes]);
    TakeEvent(batch, duty);
}

// A field quoted when it must be, or when a reader would trim its blanks.
void AppendField(std::string* out, const std::string& text) {
    const bool quote = text.find_first_of(",;\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        *out += text;
        return;
    }
    *out += '"';
    for (char c : text) {
        if (c == '"') *out += '"';
        *out += c;
    }
    *out += '"';
}

}  // namespace

void ReadCsv(const std::string& text, ImportBatch* batch) {
    int where[kColumns];
    char separator = ',';
    if (!ReadHeader(text, separator, where)) {
        separator = ';';
        if (!ReadHeader(text, separator, where)) {
            batch->damage.id = kDamageWrongKind;
            batch->damage.line = 1;
            batch->damage.detail = "date,message";
            return;
        }
    }
    std::vector<Record> records;
    if (!SplitRecords(text, separator, &records, &batch->damage)) return;
    for (size_t k = 1; k < records.size(); ++k) ReadRow(records[k], where, batch);
}

void WriteCsvHeader(std::string* out) {
    for (int c = 0; c < kColumns; ++c) {
        if (c != 0) *out += ',';
        *out += kColumnNames[c];
    }
    *out += "\r\n";
}

void WriteCsvRow(std::string* out, const Duty& duty) {
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", duty.year, duty.month, duty.day);
    *out += date;
    *out += ',';
    AppendField(out, duty.message);
    *out += ',';
    AppendField(out, duty.notes);
    *out += duty.yearly ? ",yes," : ",no,";
    *out += std::to_string(duty.warnBefore) + "," + std::to_string(duty.warnAfter) + "\r\n";
}
