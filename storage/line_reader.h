// Lines of a text file read in large blocks and numbered by their line ends,
// as the writers that remove a line by its number count them.
#pragma once

#include <cstddef>
#include <cstdio>

// A line handed out is followed by at least this many bytes of the block,
// its terminator included: enough to look at the fixed columns of a short
// line without checking its end first.
constexpr size_t kLineSlack = 32;

struct LineReader {
    FILE* file;
    char* block;        // the caller's buffer
    size_t capacity;    // its size: at least longest + 1 + kLineSlack
    size_t longest;     // a longer line is handed out as its first `longest` bytes
    size_t start, end;  // bytes of `block` read and not yet handed out
    bool atEnd;         // the file has nothing more to give
    bool inLongLine;    // the rest of a line cut at `longest` is still to pass
    int lineNumber;     // of the line handed out last
};

// Reads lines from the current position of `file`, numbering them on from
// `linesBefore`, into `block` of `capacity` bytes.
void StartLines(LineReader* reader, FILE* file, char* block, size_t capacity, size_t longest, int linesBefore);

// The next line without its line end, terminated in place in the block, and
// its length; null at the end of the file or on a read error. A line longer
// than `longest` counts as one line: its first `longest` bytes are handed out
// and the rest is passed over. The text stays valid until the next call.
char* NextLine(LineReader* reader, size_t* length);
