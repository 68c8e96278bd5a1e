#include "storage/vcard_format.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/load_str.h"
#include "app/state.h"
#include "model/day_number.h"
#include "storage/content_lines.h"

namespace {

constexpr int kMessageWithAge = 5170;     // "%s's birthday! ($Age{%d} years old)"
constexpr int kMessageWithoutAge = 5171;  // "%s's birthday!"

// The value with its encoding undone; false, with the reason, when it is in
// a character set other than UTF-8 or does not decode to UTF-8.
bool DecodedValue(const ContentLine& line, std::string* value, int* reason, std::string* detail) {
    std::string decoded = line.value;
    const std::string* encoding = FindParam(line, "ENCODING");
    if ((encoding && UpperAscii(*encoding) == "QUOTED-PRINTABLE") || FindParam(line, "QUOTED-PRINTABLE")) {
        decoded = DecodeQuotedPrintable(decoded);
    }
    const std::string* charset = FindParam(line, "CHARSET");
    if (charset && UpperAscii(*charset) != "UTF-8" && UpperAscii(*charset) != "US-ASCII") {
        *reason = kReasonCharset;
        *detail = *charset;
        return false;
    }
    size_t badAt;
    if (!IsUtf8(decoded, &badAt)) {
        *reason = kReasonNotUtf8;
        return false;
    }
    *value = decoded;
    return true;
}

// The parts of a structured value split at the semicolons that are not
// escaped, each unescaped.
std::vector<std::string> StructuredParts(const std::string& value) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            parts.back() += value.substr(i, 2);
            ++i;
        } else if (value[i] == ';') {
            parts.emplace_back();
        } else {
            parts.back() += value[i];
        }
    }
    for (std::string& part : parts) part = UnescapeText(part);
    return parts;
}

// FN, or the given, additional and family names of N.
bool NameOf(const Component& card, std::string* name, int* reason, std::string* detail) {
    const ContentLine* formatted = FindProperty(card, "FN");
    std::string value;
    if (formatted != nullptr) {
        if (!DecodedValue(*formatted, &value, reason, detail)) return false;
        *name = UnescapeText(value);
    }
    const ContentLine* structured = FindProperty(card, "N");
    if (name->find_first_not_of(" \t") == std::string::npos && structured != nullptr) {
        if (!DecodedValue(*structured, &value, reason, detail)) return false;
        const std::vector<std::string> parts = StructuredParts(value);
        name->clear();
        for (size_t k : {size_t{1}, size_t{2}, size_t{0}}) {
            if (k < parts.size() && !parts[k].empty()) *name += (name->empty() ? "" : " ") + parts[k];
        }
    }
    return true;
}

// "1990-03-15", "19900315", "--0315", "--03-15", maybe with a time after
// them; year 0 when it is not given or marked as left out.
bool ReadBirthday(const ContentLine& line, int* year, int* month, int* day) {
    std::string value = line.value;
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    const size_t time = value.find('T');
    if (time != std::string::npos) value.erase(time);
    *year = 0;
    if (value.size() == 6 && value.compare(0, 2, "--") == 0 && IsDigits(value, 2, 4)) {
        *month = Number(value, 2, 2), *day = Number(value, 4, 2);
    } else if (value.size() == 7 && value.compare(0, 2, "--") == 0 && value[4] == '-' &&
               IsDigits(value, 2, 2) && IsDigits(value, 5, 2)) {
        *month = Number(value, 2, 2), *day = Number(value, 5, 2);
    } else if (value.size() == 8 && IsDigits(value, 0, 8)) {
        *year = Number(value, 0, 4), *month = Number(value, 4, 2), *day = Number(value, 6, 2);
    } else if (value.size() == 10 && value[4] == '-' && value[7] == '-' && IsDigits(value, 0, 4) &&
               IsDigits(value, 5, 2) && IsDigits(value, 8, 2)) {
        *year = Number(value, 0, 4), *month = Number(value, 5, 2), *day = Number(value, 8, 2);
    } else {
        return false;
    }
    // Apple writes a birthday without a year in a year of its choosing, named here.
    const std::string* omitted = FindParam(line, "X-APPLE-OMIT-YEAR");
    if (omitted != nullptr && std::atoi(omitted->c_str()) == *year) *year = 0;
    return IsRealDate(*year, *month, *day);
}

void ReadCard(const Component& card, ImportBatch* batch) {
    const ContentLine* birthday = FindProperty(card, "BDAY");
    if (birthday == nullptr) return;
    int year = 0, month = 0, day = 0;
    if (!ReadBirthday(*birthday, &year, &month, &day)) {
        return RefuseEntry(batch, birthday->line, kReasonBadBirthday, birthday->value);
    }
    std::string name;
    int reason = 0;
    std::string detail;
    if (!NameOf(card, &name, &reason, &detail)) return RefuseEntry(batch, card.line, reason, detail);

    Duty duty = NewEvent(true);
    SetMessage(&duty, name);  // the name as a message keeps it: one line, trimmed
    if (duty.message[0] == '\0') return RefuseEntry(batch, card.line, kReasonNoName);
    const char* form = LoadStr(year != 0 ? kMessageWithAge : kMessageWithoutAge);
    // The name gives way when the whole would not fit, never the age.
    char probe[256];
    const int frame = std::snprintf(probe, sizeof probe, form, "", year);
    char cutName[kMessageSize];
    const int room = frame >= 0 && frame < kMessageSize - 1 ? kMessageSize - frame : 1;
    CopyText(cutName, duty.message, static_cast<unsigned>(room));
    char message[kMessageSize + 256];
    std::snprintf(message, sizeof message, form, cutName, year);
    SetMessage(&duty, message);
    duty.year = year != 0 ? year : static_cast<int32_t>(LocalToday().year);
    duty.month = month;
    duty.day = day;
    TakeEvent(batch, duty);
}

}  // namespace

void ReadVCards(const std::string& text, ImportBatch* batch) {
    std::vector<Component> cards;
    if (!ReadComponents(text, "VCARD", &cards, &batch->damage)) return;
    for (const Component& card : cards) ReadCard(card, batch);
}
