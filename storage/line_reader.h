// Lines of a text file read in large blocks and numbered by their line ends,
// as the writers that remove a line by its number count them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr size_t kLineBlockSize = 128 * 1024;

// A line handed out is followed by at least this many bytes of the block,
// its terminator included: enough to look at the fixed columns of a short
// line without checking its end first.
constexpr size_t kLineSlack = 32;

struct LineReader {
    FILE* file;
    size_t capacity;    // bytes of `block` in use: at least longest + 1 + kLineSlack
    size_t longest;     // a longer line is handed out as its first `longest` bytes
    size_t start, end;  // bytes of `block` read and not yet handed out
    bool atEnd;         // the file has nothing more to give
    bool inLongLine;    // the rest of a line cut at `longest` is still to pass
    int lineNumber;     // of the line handed out last
    // Bit i % 64 of word i / 64 is set when byte i of the bytes read is a
    // line end. Marked once for each block read, the line ends are then
    // found a word at a time, without a search for each line.
    uint64_t lineEnds[kLineBlockSize / 64];
    char block[kLineBlockSize];
};

// Reads lines from the current position of `file`, numbering them on from
// `linesBefore`, with `capacity` bytes of the reader's block.
void StartLines(LineReader* reader, FILE* file, size_t capacity, size_t longest, int linesBefore);

// The next line without its line end, terminated in place in the block, and
// its length; null at the end of the file or on a read error. A line longer
// than `longest` counts as one line: its first `longest` bytes are handed out
// and the rest is passed over. The text stays valid until the next call.
char* NextLine(LineReader* reader, size_t* length);

// What follows is NextLine's way through a line that lies whole in the block,
// inline as it is taken for nearly every line; the rest is in the source.

// The first line end among `count` bytes of the block from `from` on, or null.
inline char* FindLineEnd(LineReader* r, size_t from, size_t count) {
    const size_t stop = from + count;
    size_t word = from / 64;
    uint64_t bits = r->lineEnds[word] & (~0ull << (from % 64));
    while (bits == 0) {
        if (++word * 64 >= stop) return nullptr;
        bits = r->lineEnds[word];
    }
    const size_t at = word * 64 + static_cast<size_t>(__builtin_ctzll(bits));
    return at < stop ? r->block + at : nullptr;
}

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
    char* lineEnd = r->inLongLine ? nullptr : FindLineEnd(r, r->start, SearchedLength(r));
    if (lineEnd == nullptr) return NextLineAfterBlock(r, length);
    char* from = r->block + r->start;
    const size_t taken = static_cast<size_t>(lineEnd - from);
    r->start += taken + 1;
    return HandOut(r, from, taken, length);
}
