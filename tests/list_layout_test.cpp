#include "app/list_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "app/state.h"

namespace {
// Widths by character: 5 unless the map says otherwise.
int MeasureByCharacter(const char* text, void* context) {
    const auto& widths = *static_cast<const std::map<std::string, int>*>(context);
    int width = 0;
    for (const char* c = text; *c != '\0';) {
        size_t length = 1;
        while (IsContinuationByte(c[length])) ++length;
        auto found = widths.find(std::string(c, length));
        width += found == widths.end() ? 5 : found->second;
        c += length;
    }
    return width;
}
}  // namespace

// The column fits the widest of the sample and of every date text the list
// can show, each followed by the sample's "." of gap; the weekday adds to
// both. Polish short months: "Paź" is the one with a wide letter here.
TEST(DateColumnWidth, FitsTheSampleAndEveryDate) {
    struct Case {
        const char* name;
        std::map<std::string, int> widths;
        int dayFirst;
        const char* language;
        bool weekday;
        const char* extra;
        int expected;
    };
    const Case cases[] = {
        {"all alike: the sample \"88 Aug,.\"", {}, 1, "pl", false, nullptr, 8 * 5},
        {"the weekday outgrows \"88 Aug,.(MMM)\": \"28 Sty (Pon),.\"", {}, 1, "pl", true, nullptr, 14 * 5},
        {"\"28 Paź,.\"", {{"ź", 9}}, 1, "pl", false, nullptr, 7 * 5 + 9},
        {"\"28. Paź,.\" in Estonian order", {{"ź", 9}}, 1, "ee", false, nullptr, 8 * 5 + 9},
        {"the widest day, \"22 Paź,.\"", {{"ź", 9}, {"2", 7}}, 0, "pl", false, nullptr, 5 * 5 + 9 + 2 * 7},
        {"and weekday, \"28 Paź (Śro),.\"", {{"ź", 9}, {"Ś", 9}}, 1, "pl", true, nullptr, 12 * 5 + 2 * 9},
        {"a wide sample wins", {{"M", 20}, {"ź", 9}}, 1, "pl", true, nullptr, 10 * 5 + 3 * 20},
        {"a wider extra date", {{"ź", 9}}, 1, "pl", false, "01 Kwietnia,", 13 * 5},
    };
    int savedOrder = dayFirst;
    char savedLanguage[sizeof languageCode];
    std::memcpy(savedLanguage, languageCode, sizeof languageCode);
    for (const Case& c : cases) {
        dayFirst = c.dayFirst;
        std::strcpy(languageCode, c.language);
        const char* extra[] = {c.extra};
        EXPECT_EQ(DateColumnWidth(MeasureByCharacter, const_cast<std::map<std::string, int>*>(&c.widths),
                                  c.weekday, c.extra ? extra : nullptr, c.extra ? 1 : 0),
                  c.expected)
            << c.name;
    }
    dayFirst = savedOrder;
    std::memcpy(languageCode, savedLanguage, sizeof languageCode);
}
