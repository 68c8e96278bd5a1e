// Feeds arbitrary bytes to the readers of iCalendar, vCard and CSV files,
// whose input comes from anywhere, and checks that every event they take is
// one the events file can hold and reads back the same.
#include <cstdint>
#include <cstring>
#include <string>

#include "model/calendar.h"
#include "storage/csv_format.h"
#include "storage/events_file.h"
#include "storage/ical_format.h"
#include "storage/import_rules.h"
#include "storage/vcard_format.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Each line the import would add parses back to a valid date with a message,
// and is written again byte for byte.
void CheckLines(const ImportBatch& batch) {
    size_t at = 0;
    int lines = 0;
    while (at < batch.lines.size()) {
        const size_t end = batch.lines.find("\r\n", at);
        Check(end != std::string::npos);
        std::string line = batch.lines.substr(at, end - at);
        const std::string written = line + "\r\n";
        at = end + 2;
        ++lines;
        Check(line.find_first_of("\r\n") == std::string::npos);
        Check(!IsSkippableLine(&line[0]));
        const Duty* duty = ParseDutyLine(line.c_str(), 1, kVersion141);
        Check(duty->month >= 1 && duty->month <= 12 && duty->day >= 1 && duty->day <= DaysInMonth(duty->month));
        Check(duty->message[0] != '\0' && duty->warnBefore <= 182 && duty->warnAfter <= 182);
        Check(written == FormatDutyLine(*duty));
    }
    Check(lines == batch.added);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    ImportBatch batch;
    if (data[0] % 3 == 0) ReadICalendar(text, &batch);
    if (data[0] % 3 == 1) ReadVCards(text, &batch);
    if (data[0] % 3 == 2) ReadCsv(text, &batch);
    if (batch.damage.id == 0) CheckLines(batch);
    MacrosFromReaders(MacrosForReaders(text));
    return 0;
}
