#include "storage/first_run.h"

#include <cstring>
#include <ctime>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"
#include "model/calendar.h"
#include "model/duty.h"
#include "storage/events_file.h"
#include "storage/safe_rewrite.h"

namespace {

constexpr char kLineBreakMark = 30;  // a stored line break in the notes
constexpr int kSampleCount = 5;
constexpr long kWeek = 604800;
constexpr long kThirtyDays = 2592000;

// A yearly event on the local date `seconds` from now, with no special limits.
Duty SampleDuty(time_t now, long seconds, const char* message) {
    Duty duty;
    std::memset(&duty, 0, sizeof duty);
    time_t when = now + seconds;
    struct tm* local = std::localtime(&when);
    if (local) {
        duty.day = local->tm_mday;
        duty.month = local->tm_mon + 1;
        duty.year = local->tm_year + 1900;
    }
    duty.yearly = 1;
    duty.repeatMark = 'Y';
    CopyText(duty.message, message, sizeof duty.message);
    return duty;
}

void FillSamples(Duty samples[kSampleCount]) {
    time_t now = PlatformNow();
    char text[1024];
    std::snprintf(text, sizeof text, LoadStr(1220), kProgramName);
    samples[0] = SampleDuty(now, 0, text);
    char date[64];
    std::snprintf(date, sizeof date, "%02d/%s/%04d", samples[0].day, MonthShortName(samples[0].month),
                  samples[0].year);
    std::snprintf(samples[0].notes, sizeof samples[0].notes, LoadStr(1225), kProgramTitle, date,
                  kLineBreakMark, kLineBreakMark, kProductAddress, kLineBreakMark, kLineBreakMark);
    samples[1] = SampleDuty(now, kWeek, LoadStr(1230));
    CopyText(samples[1].notes, LoadStr(1235), sizeof samples[1].notes);
    samples[2] = SampleDuty(now, kThirtyDays, LoadStr(1240));
    CopyText(samples[2].notes, LoadStr(1245), sizeof samples[2].notes);
    samples[3] = SampleDuty(now, kThirtyDays, LoadStr(1241));
    CopyText(samples[3].notes, LoadStr(1246), sizeof samples[3].notes);
    samples[4] = SampleDuty(now, kThirtyDays, LoadStr(1242));
    CopyText(samples[4].notes, LoadStr(1247), sizeof samples[4].notes);
}

int WriteSamples(FILE* out, void* context) {
    const Duty* samples = static_cast<const Duty*>(context);
    if (!WriteFileHeader(out)) return 0;
    for (int i = 0; i < kSampleCount; ++i) {
        if (!WriteText(out, FormatDutyLine(samples[i])) || !WriteText(out, "\r\n")) return 0;
    }
    return 1;
}

}  // namespace

int WriteSampleEvents() {
    Duty samples[kSampleCount];
    FillSamples(samples);
    return RewriteFile(kEventsFileName, WriteSamples, samples, kNoBackup);
}
