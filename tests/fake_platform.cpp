#include "tests/fake_platform.h"

#include <cstdio>

#include "app/platform.h"

FakePlatform fake;

void ResetFakePlatform() { fake = FakePlatform(); }

time_t LocalTime(int year, int month, int day, int hour, int minute) {
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return mktime(&t);
}

int PlatformMessageBox(const char* text, const char* caption, unsigned style) {
    fake.boxes.push_back({text, caption, style});
    if (!fake.answers.empty()) {
        int answer = fake.answers.front();
        fake.answers.pop_front();
        return answer;
    }
    return (style & kBoxYesNo) ? kAnswerNo : kAnswerOk;
}

void PlatformPostCommand(int commandId) { fake.postedCommands.push_back(commandId); }

void PlatformQuit(int) { ++fake.quitRequests; }

void PlatformWaitCursor(bool waiting) {
    fake.waitCursor = waiting;
}

int PlatformCopyFile(const char* from, const char* to) {
    FILE* in = std::fopen(from, "rb");
    if (!in) return 0;
    FILE* out = std::fopen(to, "wb");
    if (!out) {
        std::fclose(in);
        return 0;
    }
    char buffer[8192];
    size_t n;
    bool ok = true;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (std::fwrite(buffer, 1, n, out) != n) ok = false;
    }
    std::fclose(in);
    if (std::fclose(out) != 0) ok = false;
    return ok ? 1 : 0;
}

int PlatformReplaceFile(const char* from, const char* to) {
    if (fake.failReplaceOf == to) return 0;
#ifdef _WIN32
    std::remove(to);  // the C library's rename does not replace on Windows
#endif
    return std::rename(from, to) == 0 ? 1 : 0;
}

int PlatformDeleteFile(const char* name) {
    return std::remove(name) == 0 ? 1 : 0;
}

size_t PlatformWrite(FILE* file, const void* data, size_t size) {
    ++fake.writes;
    bool failing = fake.failWriteAt > 0 &&
                   (fake.writes == fake.failWriteAt || (fake.keepFailing && fake.writes > fake.failWriteAt));
    if (!failing) return std::fwrite(data, 1, size, file);
    // The failing call still stores its first half, as a disk that fills up does.
    size_t part = fake.writes == fake.failWriteAt ? size / 2 : 0;
    return std::fwrite(data, 1, part, file);
}

time_t PlatformNow() { return fake.now != 0 ? fake.now : time(nullptr); }
