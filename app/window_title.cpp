#include "app/window_title.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"
#include "model/calendar.h"

namespace {
// Long weekday names by tm_wday (Sunday first).
const int kWeekdayLongIds[7] = {4107, 4101, 4102, 4103, 4104, 4105, 4106};
}  // namespace

const char* MainWindowTitle() {
    static char title[256];
    char instance[24] = "";
    if (instanceNumber > 1) std::snprintf(instance, sizeof instance, " [%d]", instanceNumber);

    time_t now = PlatformNow();
    struct tm today = *std::localtime(&now);
    const char* weekday = LoadStr(kWeekdayLongIds[today.tm_wday]);
    const char* month = MonthLongName(today.tm_mon + 1);
    int day = today.tm_mday;

    if (dayFirst == 0) {
        std::snprintf(title, sizeof title, "%s%s - %s, %s %02d", kProgramName, instance, weekday, month, day);
    } else if (std::strcmp(languageCode, "it") == 0) {
        std::snprintf(title, sizeof title, "%s%s - %s %02d %s", kProgramName, instance, weekday, day, month);
    } else if (std::strcmp(languageCode, "ee") == 0) {
        std::snprintf(title, sizeof title, "%s%s - %s, %02d. %s", kProgramName, instance, weekday, day, month);
    } else {
        std::snprintf(title, sizeof title, "%s%s - %s, %02d %s", kProgramName, instance, weekday, day, month);
    }
    return title;
}
