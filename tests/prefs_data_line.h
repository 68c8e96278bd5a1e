// Reading back a preferences file that the program wrote, for the tests.
#pragma once

#include <string>

// The fourth line of a file of CR LF lines: the data line, which no line end
// follows. Empty when the file has fewer lines.
inline std::string PrefsDataLine(const std::string& file) {
    size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        at = file.find("\r\n", at);
        if (at == std::string::npos) return "";
        at += 2;
    }
    return file.substr(at);
}

// The data line as the program writes it: 30 numbers, one blank after each,
// and the face name (at most 31 bytes, no control character) in single
// quotes, with nothing after it.
inline bool IsWellFormedPrefsLine(const std::string& line) {
    const char* p = line.c_str();
    for (int field = 0; field < 30; ++field) {
        if (*p == '-') ++p;
        if (*p < '0' || *p > '9') return false;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p++ != ' ') return false;
    }
    if (*p++ != '\'') return false;
    size_t face = p - line.c_str();
    size_t close = line.find('\'', face);
    if (close != line.size() - 1 || close - face > 31) return false;
    for (size_t i = face; i < close; ++i) {
        if (static_cast<unsigned char>(line[i]) < ' ') return false;
    }
    return true;
}
