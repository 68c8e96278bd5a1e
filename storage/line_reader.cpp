#include "storage/line_reader.h"

#include <cstring>

namespace {

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
    if (got == 0) r->atEnd = true;
    return got > 0;
}

// Passes over the rest of a line that was cut; false when the file ended
// first.
bool SkipRestOfLine(LineReader* r) {
    for (;;) {
        const char* lineEnd = FindLineEnd(r->block + r->start, r->end - r->start);
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
        char* lineEnd = FindLineEnd(from, SearchedLength(r));
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
