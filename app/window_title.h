// The main window's title: the program's name, the instance number when
// several instances run, and today's weekday, day and month.
#pragma once

// The title for today, in one static buffer that the next call overwrites.
const char* MainWindowTitle();
