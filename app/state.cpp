#include "app/state.h"

#include <cstring>

#include "app/product.h"

Prefs prefs = DefaultPrefs();
int silentStart = 0;
int userPresent = 0;
int instanceNumber = 1;
uint32_t dirHash = 0;
int dayFirst = 1;
char languageCode[3] = "pl";
char newEventRepeatMark = 'Y';
char workingDirectory[260] = "";

const char* const kProgramTitle = "Quillbee 1.41";
const char* const kProgramName = "Quillbee";
const char* const kProductAddress = PRODUCT_ADDRESS;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

unsigned CharBoundary(const char* text, unsigned length, unsigned limit) {
    if (length <= limit) return length;
    // A UTF-8 character has at most three continuation bytes (10xxxxxx); step
    // back over them to the start of the character that would be split.
    // Longer runs are not UTF-8, and any cut is as good as another there.
    unsigned cut = limit;
    while (cut > 0 && limit - cut < 3 && IsContinuationByte(text[cut])) --cut;
    return IsContinuationByte(text[cut]) ? limit : cut;
}

void CopyText(char* dest, const char* text, unsigned size) {
    if (size == 0) return;
    unsigned n = CharBoundary(text, static_cast<unsigned>(std::strlen(text)), size - 1);
    std::memcpy(dest, text, n);
    dest[n] = '\0';
}
