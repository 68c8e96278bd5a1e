// Lines of a text file read in large blocks and numbered by their line ends,
// as the writers that remove a line by its number count them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

constexpr size_t kLineBlockSize = 128 * 1024;

// The bytes read are followed by at least this many bytes of the block: a
// line handed out, its terminator included, and any line still in the block
// can be looked at this far from its start without checking its end first.
constexpr size_t kLineSlack = 64;

struct LineReader {
    FILE* file;
    size_t capacity;    // bytes of `block` in use: at least longest + 1 + kLineSlack
    size_t longest;     // a longer line is handed out as its first `longest` bytes
    size_t start, end;  // bytes of `block` read and not yet handed out
    bool atEnd;         // the file has nothing more to give
    bool inLongLine;    // the rest of a line cut at `longest` is still to pass
    int lineNumber;     // of the line handed out last
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

// The line ends among the 64 bytes from `bytes` on, as the bits of a word.
inline uint64_t LineEndBits(const char* bytes) {
#if defined(__SSE2__)
    // Sixteen bytes compared at once, as every x86-64 processor can.
    const __m128i lineEnd = _mm_set1_epi8('\n');
    auto found = [&](int at) -> uint64_t {
        const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, lineEnd)));
    };
    return found(0) | found(16) << 16 | found(32) << 32 | found(48) << 48;
#else
    uint64_t bits = 0;
    for (int i = 0; i < 64; ++i) bits |= static_cast<uint64_t>(bytes[i] == '\n') << i;
    return bits;
#endif
}

// The first line end among the `count` bytes from `from` on, or null. The
// bytes are looked at 64 at a step, inline: the end of a line with a message
// and no notes, as most are, is found in one step after its fields, so that
// the loop ends where the processor expects it to, and that costs less than a
// call to the C library's search. A step may read up to 63 bytes past the
// `count`, which the slack after the bytes read allows, but a line end there
// is not taken.
inline char* FindLineEnd(char* from, size_t count) {
    for (size_t at = 0; at < count; at += 64) {
        const uint64_t found = LineEndBits(from + at);
        if (found != 0) {
            const size_t end = at + static_cast<size_t>(__builtin_ctzll(found));
            return end < count ? from + end : nullptr;
        }
    }
    return nullptr;
}

// A reader of many short lines may walk the lines that lie whole in the block
// itself, with its place in a local variable rather than in the reader,
// unless `inLongLine`: from `block + start` on, up to `block + end`, each line
// ends at the first line end within `longest + 1` bytes of its start. It then
// tells the reader where it stopped and the number of the last line it
// passed, and carries on with NextLine, which reads more of the file.
inline void PassLines(LineReader* r, const char* next, int lineNumber) {
    r->start = static_cast<size_t>(next - r->block);
    r->lineNumber = lineNumber;
}

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
    char* lineEnd = r->inLongLine ? nullptr : FindLineEnd(from, SearchedLength(r));
    if (lineEnd == nullptr) return NextLineAfterBlock(r, length);
    const size_t taken = static_cast<size_t>(lineEnd - from);
    r->start += taken + 1;
    return HandOut(r, from, taken, length);
}
