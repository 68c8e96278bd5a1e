#include "storage/line_reader.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The line ends among `count` bytes (at most 64), as the bits of a word.
uint64_t LineEndBits(const char* bytes, size_t count) {
#if defined(__SSE2__)
    if (count == 64) {
        // Sixteen bytes compared at once, as every x86-64 processor can.
        const __m128i lineEnd = _mm_set1_epi8('\n');
        uint64_t bits = 0;
        for (int part = 0; part < 4; ++part) {
            const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
            const unsigned found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, lineEnd)));
            bits |= static_cast<uint64_t>(found) << (16 * part);
        }
        return bits;
    }
#endif
    uint64_t bits = 0;
    for (size_t i = 0; i < count; ++i) bits |= static_cast<uint64_t>(bytes[i] == '\n') << i;
    return bits;
}

void MarkLineEnds(LineReader* r) {
    for (size_t at = 0; at < r->end; at += 64) {
        const size_t count = r->end - at < 64 ? r->end - at : 64;
        r->lineEnds[at / 64] = LineEndBits(r->block + at, count);
    }
}

// Moves the bytes not yet handed out to the front of the block and fills the
// rest from the file, but for the slack. Returns false when nothing more
// could be read.
bool Refill(LineReader* r) {
    const size_t kept = r->end - r->start;
    if (kept > 0 && r->start > 0) std::memmove(r->block, r->block + r->start, kept);
    r->start = 0;
    r->end = kept;
    const size_t room = r->capacity - kLineSlack - kept;
    const size_t got = room > 0 ? std::fread(r->block + kept, 1, room, r->file) : 0;
    r->end += got;
    MarkLineEnds(r);
    if (got == 0) r->atEnd = true;
    return got > 0;
}

// Passes over the rest of a line that was cut; false when the file ended
// first.
bool SkipRestOfLine(LineReader* r) {
    for (;;) {
        const char* lineEnd = FindLineEnd(r, r->start, r->end - r->start);
        if (lineEnd != nullptr) {
            r->start = static_cast<size_t>(lineEnd - r->block) + 1;
            r->inLongLine = false;
            return true;
        }
        r->start = r->end;
        if (r->atEnd || !Refill(r)) return false;
    }
}

}  // namespace

void StartLines(LineReader* reader, FILE* file, size_t capacity, size_t longest, int linesBefore) {
    reader->file = file;
    reader->capacity = capacity < sizeof reader->block ? capacity : sizeof reader->block;
    reader->longest = longest;
    reader->start = 0;
    reader->end = 0;
    reader->atEnd = false;
    reader->inLongLine = false;
    reader->lineNumber = linesBefore;
}

char* NextLineAfterBlock(LineReader* r, size_t* length) {
    if (r->inLongLine && !SkipRestOfLine(r)) return nullptr;
    for (;;) {
        char* from = r->block + r->start;
        const size_t unread = r->end - r->start;
        char* lineEnd = FindLineEnd(r, r->start, SearchedLength(r));
        size_t taken;
        if (lineEnd != nullptr) {
            taken = static_cast<size_t>(lineEnd - from);
            r->start += taken + 1;
        } else if (unread > r->longest) {
            taken = r->longest;
            r->start += taken;
            r->inLongLine = true;
        } else if (!r->atEnd) {
            Refill(r);  // moves the unread bytes: look again
            continue;
        } else if (unread > 0) {
            taken = unread;  // the last line, without a line end
            r->start = r->end;
        } else {
            return nullptr;
        }
        return HandOut(r, from, taken, length);
    }
}
