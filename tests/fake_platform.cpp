#include "tests/fake_platform.h"

#include <cstdio>

#include "app/platform.h"

FakePlatform fake;

void ResetFakePlatform() { fake = FakePlatform(); }

time_t LocalTime(int year, int month, int day, int hour, int minute) {
    struct tm t = {};
    t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day, t.tm_hour = hour, t.tm_min = minute;
    t.tm_isdst = -1;
    return mktime(&t);
}

int PlatformMessageBox(const char* text, const char* caption, unsigned style) {
    fake.boxes.push_back({text, caption, style});
    if (fake.answers.empty()) return (style & kBoxYesNo) ? kAnswerNo : kAnswerOk;
    const int answer = fake.answers.front();
    fake.answers.pop_front();
    return answer;
}

void PlatformPostCommand(int commandId) { fake.postedCommands.push_back(commandId); }
void PlatformQuit(int) { ++fake.quitRequests; }
void PlatformWaitCursor(bool waiting) { fake.waitCursor = waiting; }
time_t PlatformNow() { return fake.now != 0 ? fake.now : time(nullptr); }

int PlatformReplaceFile(const char* from, const char* to) {
    if (fake.failReplaceOf == to) return 0;
#ifdef _WIN32
    std::remove(to);  // the C library's rename does not replace on Windows
#endif
    return std::rename(from, to) == 0 ? 1 : 0;
}

int PlatformDeleteFile(const char* name) { return std::remove(name) == 0 ? 1 : 0; }

// The failing call still stores its first half, as a disk that fills up does;
// with keepFailing every later call stores nothing.
size_t PlatformWrite(FILE* file, const void* data, size_t size) {
    ++fake.writes;
    const bool failing = fake.failWriteAt > 0 && (fake.writes == fake.failWriteAt ||
                                                  (fake.keepFailing && fake.writes > fake.failWriteAt));
    if (!failing) return std::fwrite(data, 1, size, file);
    return std::fwrite(data, 1, fake.writes == fake.failWriteAt ? size / 2 : 0, file);
}
