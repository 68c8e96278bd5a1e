// A scriptable stand-in for the platform: message boxes answer from a script
// and are recorded, commands and quit requests are recorded, and the clock is
// set by the test. File operations act on the real file system unless a
// failure is injected.
#pragma once

#include <ctime>
#include <deque>
#include <string>
#include <vector>

struct ShownBox {
    std::string text, caption;
    unsigned style;
};

struct FakePlatform {
    std::deque<int> answers;  // next answers; kAnswerOk/kAnswerNo when empty
    std::vector<ShownBox> boxes;
    std::vector<int> postedCommands;
    int quitRequests = 0;
    bool waitCursor = false;
    time_t now = 0;             // 0: the real clock
    std::string failReplaceOf;  // replacing this file fails, other replaces work
    int writes = 0;             // calls of PlatformWrite so far
    int failWriteAt = 0;        // this call (1-based) writes only part of its bytes; 0 never
    bool keepFailing = false;   // and every later call writes nothing, like a full disk
};

extern FakePlatform fake;

// Clears everything recorded and scripted, and the clock.
void ResetFakePlatform();

// The local time of a date and clock time, as time_t (mktime, DST by the zone).
time_t LocalTime(int year, int month, int day, int hour = 12, int minute = 0);
