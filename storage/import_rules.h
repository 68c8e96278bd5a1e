// What every import shares, whatever the format: the batch of new events
// with its duplicates and problems, and the rules that turn outside texts
// into a message and notes the events file can hold.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "model/duty.h"

// String ids of the reasons why a whole input is refused.
enum {
    kDamageCutShort = 5140,      // %s: the component left open
    kDamageUnmatchedEnd = 5141,  // %s: the component named by END
    kDamageNotAProperty = 5142,
    kDamageOpenQuote = 5144,
    kDamageNotUtf8 = 5145,
    kDamageNotText = 5146,
    kDamageWrongKind = 5147,  // %s: what the file should begin with
};

// String ids of the reasons why one entry is left out; %s: a detail.
enum {
    kReasonNoStart = 5150,
    kReasonBadStart = 5151,
    kReasonRecurrence = 5152,
    kReasonNoSummary = 5153,
    kReasonChangedOccurrence = 5154,
    kReasonCancelled = 5155,
    kReasonExtraDates = 5156,
    kReasonBadBirthday = 5157,
    kReasonNoName = 5158,
    kReasonCharset = 5159,
    kReasonBadDate = 5160,
    kReasonNoMessage = 5161,
    kReasonBadYearly = 5162,
    kReasonBadLimit = 5163,
    kReasonNoYear = 5164,
    kReasonNotUtf8 = 5165,
};

// Why a whole input is refused: a reason id (with `detail` for its %s) and
// the line where it shows. Id 0: nothing is wrong.
struct TextDamage {
    int id = 0;
    int line = 0;
    std::string detail;
};

struct ImportProblem {
    int line;
    std::string reason;
};

// How many problems are kept with their reasons; the rest are only counted.
constexpr size_t kProblemsKept = 5;

// The events an import has found so far.
struct ImportBatch {
    std::unordered_set<std::string> known;  // EventKey of each event in the file and in `lines`
    std::string lines;                      // the new events, as lines of the events file
    int added = 0;
    int duplicates = 0;
    int notUnderstood = 0;
    std::vector<ImportProblem> problems;  // the first kProblemsKept
    TextDamage damage;                    // set: nothing of the input may be used
};

// What makes two events the same: the date (without the year for a yearly
// event, whose year is only the one it was entered in), the recurrence and
// the message.
std::string EventKey(const Duty& duty);

// Adds `duty` to the batch, or counts it as a duplicate of one already there.
void TakeEvent(ImportBatch* batch, const Duty& duty);

// Counts an entry that was not understood, keeping the first reasons.
void RefuseEntry(ImportBatch* batch, int line, int reasonId, const std::string& detail = "");

// A record with nothing in it but `yearly` and its mark.
Duty NewEvent(bool yearly);

// The message as the events file keeps it: control bytes and runs of
// whitespace as one blank, trimmed, cut to 150 bytes at a character boundary.
void SetMessage(Duty* duty, const std::string& text);

// The notes: every line break as CR LF, other control bytes as blanks and
// runs of blanks as one, as the events file's reader would leave them; cut
// to 4096 bytes at a character boundary.
void SetNotes(Duty* duty, const std::string& text);

// Whether the date exists: day within its month, 29 February only in a leap
// year unless `year` is 0 (any year).
bool IsRealDate(int year, int month, int day);

// The $Age macro as a calendar reader understands it, "$Age{1968}" as
// "[years since 1968]" (string 5175), and back. Only macros written the way
// the event editor writes them are turned, so the way back is exact.
std::string MacrosForReaders(const std::string& text);
std::string MacrosFromReaders(const std::string& text);

// Whether `text` is UTF-8; when not, `badAt` gets the offset of the first
// byte that is not.
bool IsUtf8(const std::string& text, size_t* badAt);

// The line (1-based) on which byte `offset` of `text` stands.
int LineOfOffset(const std::string& text, size_t offset);

// Whether the `count` bytes of `text` from `at` on are all digits; false
// when they reach past its end. Number gives the value they make.
bool IsDigits(const std::string& text, size_t at, size_t count);
int Number(const std::string& text, size_t at, size_t count);
