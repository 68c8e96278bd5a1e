// The $Age{year} macro of messages and notes: "$Age{1968}" shows as the number
// of years from 1968 to the year of the occurrence shown.
#pragma once

#include <cstddef>

// Results of both operations.
enum { kMacrosValid = 1, kMacroInvalidParameter = -10, kMacroValueTooBig = -11 };

// Writes `text` with every $Age macro replaced by its value into `output` (of
// `outputSize` bytes, always terminated, never overrun) and returns one of the
// results above. The occurrence shown is `dayOffset` calendar days from today.
// On any result but kMacrosValid the output holds `text` unchanged. Macros
// never lengthen a text, so an output of the size of the input suffices.
int ExpandMacros(const char* text, int dayOffset, char* output, size_t outputSize);

// The result ExpandMacros would give for an occurrence this year; writes nothing.
int CheckMacros(const char* text);
