// Lines of a text file read in large blocks and numbered by their line ends,
// as the writers that remove a line by its number count them.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>

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
void StartLines(LineReader* reader, FILE* file, char* block, size_t capacity, size_t longest,
                int linesBefore);

// The next line without its line end, terminated in place in the block, and
// its length; null at the end of the file or on a read error. A line longer
// than `longest` counts as one line: its first `longest` bytes are handed out
// and the rest is passed over. The text stays valid until the next call.
char* NextLine(LineReader* reader, size_t* length);

// What follows is NextLine's way through a line that lies whole in the block,
// inline as it is taken for nearly every line; the rest is in the source.

// A line end beyond `longest` would not change what is handed out.
inline size_t SearchedLength(const LineReader* r) {
    const size_t unread = r->end - r->start;
    return unread < r->longest + 1 ? unread : r->longest + 1;
}

inline char* HandOut(LineReader* r, char* from, size_t taken, size_t* length) {
    // The byte after the line is its line end, a byte passed over, or beyond
    // the bytes read: never one still to be handed out.
    from[taken] = '\0';
    ++r->lineNumber;
    *length = taken;
    return from;
}

char* NextLineAfterBlock(LineReader* reader, size_t* length);

inline char* NextLine(LineReader* r, size_t* length) {
    char* from = r->block + r->start;
    char* lineEnd = r->inLongLine ? nullptr : static_cast<char*>(std::memchr(from, '\n', SearchedLength(r)));
    if (lineEnd == nullptr) return NextLineAfterBlock(r, length);
    const size_t taken = static_cast<size_t>(lineEnd - from);
    r->start += taken + 1;
    return HandOut(r, from, taken, length);
}
