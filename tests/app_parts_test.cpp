// The portable parts of the program's shell: texts, the command line, colours
// and shapes, the title, the directory hash, where the window opens and the
// width of the date column.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <tuple>

#include "app/colours.h"
#include "app/command_switch.h"
#include "app/directory_hash.h"
#include "app/list_layout.h"
#include "app/load_str.h"
#include "app/start_geometry.h"
#include "app/state.h"
#include "app/window_title.h"
#include "tests/fake_platform.h"

TEST(LoadStr, RingOfNineBuffersAndTextsAsTheyStand) {
    const char* first = LoadStr(4001);
    for (int i = 0; i < 8; ++i) LoadStr(1275);
    EXPECT_STREQ(first, "Styczeń") << "the 9th call must not overwrite the 1st";
    EXPECT_EQ(LoadStr(1280), first) << "the 10th call reuses the 1st buffer";
    EXPECT_STREQ(first, "DZIŚ");
    EXPECT_STREQ(LoadStr(1000), "pl");
    EXPECT_STREQ(LoadStr(1225),
                 "%s was installed in this machine on %s.%c%cRemember to visit \"%s\" for updates.%c%c");
    EXPECT_STREQ(LoadStr(1050), "Data                 ") << "trailing blanks belong to the text";
    for (int id : {1235, 1245, 1246, 1247, 1, 65535}) EXPECT_STREQ(LoadStr(id), "") << id;
    // Cut at character boundaries; nothing written beyond the buffer.
    const std::tuple<int, int, const char*> cuts[] = {
        {4106, 3, "So"}, {4103, 3, "Ś"}, {4103, 2, ""}, {4103, 4, "Śr"}};
    for (const auto& [id, size, expected] : cuts) {
        char buffer[8];
        std::memset(buffer, 'Z', sizeof buffer);
        LookupString(id, buffer, size);
        EXPECT_STREQ(buffer, expected) << id << " in " << size;
        EXPECT_EQ(buffer[size], 'Z');
    }
}

// The program path may hold slashes and blanks; only the arguments count.
TEST(CommandLineSwitch, ReadsTheFirstSlashOfTheArgumentsOnly) {
    const std::pair<const char*, char> cases[] = {
        {"C:/Users/anna/quillbee.exe", '\0'},
        {"C:/Users/anna/quillbee.exe /s", 'S'},
        {"\"C:/Program Files/Quillbee/quillbee.exe\"", '\0'},
        {"\"C:/Program Files/Quillbee/quillbee.exe\" /Silent", 'S'},
        {"\"C:\\Program Files\\q.exe\"/c", 'C'},
        {"  quillbee.exe\t/u", 'U'},
        {"quillbee.exe data/x /c", 'X'},
        {"quillbee.exe /", '\0'},
        {"quillbee.exe /7", '7'},
        {"\"C:/unterminated /c", '\0'},
        {"", '\0'},
    };
    for (const auto& [line, letter] : cases) EXPECT_EQ(CommandLineSwitch(line), letter) << line;
}

TEST(Colours, HlsAndSelectionOfBackgrounds) {
    // Background; hue, lightness, saturation; selected row: lighter on dark
    // backgrounds, darker on light ones. A hue byte above 240 takes 16 more
    // (-13 is 243, which becomes 3; -20 stays 236).
    const uint32_t cases[][5] = {
        {Rgb(16, 16, 64), 160, 38, 144, Rgb(24, 24, 99)},
        {Rgb(255, 255, 0), 40, 120, 240, Rgb(234, 234, 0)},
        {Rgb(0, 0, 0), 160, 0, 0, Rgb(42, 42, 42)},
        {Rgb(255, 0, 80), 3, 120, 240, Rgb(234, 18, 0)},
        {Rgb(255, 0, 130), 236, 120, 240, Rgb(234, 0, 23)},
        {Rgb(213, 213, 213), 160, 200, 0, Rgb(196, 196, 196)},
    };
    for (const auto& c : cases) {
        const Hls hls = RgbToHls(c[0]);
        EXPECT_EQ(std::make_tuple(uint32_t{hls.h}, uint32_t{hls.l}, uint32_t{hls.s}),
                  std::make_tuple(c[1], c[2], c[3]))
            << std::hex << c[0];
        EXPECT_EQ(SelectionColour(c[0]), c[4]) << std::hex << c[0];
    }
}

TEST(NoteIcon, LinesByTheRowHeight) {
    NoteIconShape row = NoteIconGeometry(50, 100, 63, 120);  // a 20-pixel row
    EXPECT_EQ(std::make_tuple(row.left, row.top, row.right, row.bottom, row.lineY[0], row.lineY[2]),
              std::make_tuple(51, 104, 60, 116, 108, 112));
    // Row height and its inner height, h - 2 * trunc(0.2 h) - 2, at each step.
    const int lines[][3] = {{16, 8, 0},  {17, 9, 3},  {36, 20, 3}, {37, 21, 4},
                            {56, 32, 4}, {57, 33, 5}, {86, 50, 5}, {87, 51, 6}};
    for (const auto& c : lines)
        EXPECT_EQ(NoteIconGeometry(0, 0, 13, c[0]).lineCount, c[2]) << "inner " << c[1];
}

TEST(MainWindowTitle, FourFormatsAndTheInstanceNumber) {
    fake.now = LocalTime(2009, 12, 3, 9, 30);  // a Thursday
    const std::tuple<int, int, const char*, const char*> cases[] = {
        {2, 1, "pl", "Quillbee [2] - Czwartek, 03 Grudzień"},
        {3, 0, "it", "Quillbee [3] - Czwartek, Grudzień 03"},  // month first ignores the language
        {1, 2, "it", "Quillbee - Czwartek 03 Grudzień"},       // any non-zero order is day first
        {1, 1, "ee", "Quillbee - Czwartek, 03. Grudzień"},
        {1, 1, "EE", "Quillbee - Czwartek, 03 Grudzień"},  // compared exactly
    };
    for (const auto& [instance, order, language, title] : cases) {
        instanceNumber = instance;
        dayFirst = order;
        std::strcpy(languageCode, language);
        EXPECT_STREQ(MainWindowTitle(), title);
    }
    ResetFakePlatform();
    dayFirst = 1;
    std::strcpy(languageCode, "pl");
}

TEST(DirectoryHash, SignedByteSumModulo65535AndLength) {
    std::string longPath(65536, 'b');
    longPath[0] = 'a';
    const std::tuple<std::string, uint32_t, uint32_t, const char*> cases[] = {
        {"C:\\Q", 298, 4, "67 + 58 + 92 + 81"},
        {std::string(516, '\x7F') + "\x03", 0, 517, "exactly 65535 wraps to 0"},
        {"\xFF"
         "A",
         65, 2, "-1 kept as 65535, + 65 reduced once; a plain signed sum gives 64"},
        {"a\xFF", 96, 2, "a positive remainder absorbs a negative byte"},
        {longPath, 97, 1, "the length is taken modulo 65535: only the first byte counts"},
    };
    for (const auto& [path, sum, length, why] : cases) {
        EXPECT_EQ(DirectoryHash(path.c_str()), (sum << 16) | length) << why;
    }
}

// A 1920 x 1080 primary screen with its taskbar at the bottom, and a second
// 1280 x 1024 one to its left with the taskbar along its left edge; a
// caption 23 pixels high.
TEST(StartGeometry, SavedPlaceOnlyWhereTheTitleBarCanBeReached) {
    const ScreenRect areas[] = {{0, 0, 1920, 1040}, {-1232, 0, 0, 1024}};
    const struct {
        int x, y, width;
        bool centred;
        int chosenWidth;
        const char* why;
        bool kept = true;  // keepPosition and keepWidth
    } cases[] = {
        {40, 50, 600, false, 600, "the defaults"},
        {-1300, 300, 500, false, 500, "on the second screen, 432 pixels of it"},
        {-1264, 300, 100, false, 600, "a width too narrow widens to the default"},
        {1880, 300, 600, true, 600, "only 40 pixels of the title bar on the screen"},
        {1856, 300, 600, false, 600, "64 pixels are enough to drag it back"},
        {100, -5, 600, true, 600, "the title bar above the top"},
        {100, 1040 - 23, 600, false, 600, "the title bar just above the taskbar"},
        {100, 1041 - 23, 600, true, 600, "the title bar under the taskbar"},
        {3000, 2000, 600, true, 600, "an unplugged screen"},
        {2147483600, 0, 600, true, 600, "a damaged number"},
        {40, 50, 3201, false, 600, "wider than all screens"},
        {40, 50, 3200, false, 3200, "as wide as all screens"},
        {40, 50, 800, true, 600, "keepPosition and keepWidth off", false},
    };
    for (const auto& c : cases) {
        Prefs p = DefaultPrefs();
        p.windowX = c.x, p.windowY = c.y, p.windowWidth = c.width;
        p.keepPosition = p.keepWidth = c.kept;
        const StartGeometry g = ChooseStartGeometry(p, areas, 2, 3200, 23);
        EXPECT_EQ(g.centred, c.centred) << c.why;
        EXPECT_EQ(g.width, c.chosenWidth) << c.why;
        EXPECT_TRUE(c.centred || (g.x == c.x && g.y == c.y)) << c.why;
    }
    EXPECT_TRUE(ChooseStartGeometry(DefaultPrefs(), nullptr, 0, 3200, 23).centred)
        << "without any screen nothing is reachable";
}

// A window on a screen whose taskbar sits at its top or left reports its
// placement shifted by the taskbar; back on the screen it is where it was.
TEST(StartGeometry, PlacementsComeBackToTheScreen) {
    const ScreenRect cases[][4] = {
        {{0, 0, 1920, 1080},
         {0, 40, 1920, 1080},
         {300, 160, 900, 260},
         {300, 200, 900, 300}},  // taskbar on top
        {{0, 0, 1920, 1080}, {62, 0, 1920, 1080}, {238, 200, 838, 300}, {300, 200, 900, 300}},  // at the left
        {{-1280, 0, 0, 1024}, {-1218, 0, 0, 1024}, {-1062, 200, -462, 300}, {-1000, 200, -400, 300}},
    };
    for (const auto& c : cases) {
        const ScreenRect r = WorkspaceToScreen(c[2], c[0], c[1]);
        EXPECT_EQ(std::make_tuple(r.left, r.top, r.right, r.bottom),
                  std::make_tuple(c[3].left, c[3].top, c[3].right, c[3].bottom));
    }
}

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

// The column fits the widest of the sample and of every date text the list
// can show, each followed by the sample's "." of gap; the weekday adds to
// both. Polish short months: "Paź" is the one with a wide letter here.
TEST(DateColumnWidth, FitsTheSampleAndEveryDate) {
    const struct {
        const char* name;
        std::map<std::string, int> widths;
        int dayFirst;
        const char* language;
        bool weekday;
        const char* extra;
        int expected;
    } cases[] = {
        {"all alike: the sample \"88 Aug,.\"", {}, 1, "pl", false, nullptr, 8 * 5},
        {"the weekday outgrows \"88 Aug,.(MMM)\": \"28 Sty (Pon),.\"", {}, 1, "pl", true, nullptr, 14 * 5},
        {"\"28 Paź,.\"", {{"ź", 9}}, 1, "pl", false, nullptr, 7 * 5 + 9},
        {"\"28. Paź,.\" in Estonian order", {{"ź", 9}}, 1, "ee", false, nullptr, 8 * 5 + 9},
        {"the widest day, \"22 Paź,.\"", {{"ź", 9}, {"2", 7}}, 0, "pl", false, nullptr, 5 * 5 + 9 + 2 * 7},
        {"and weekday, \"28 Paź (Śro),.\"", {{"ź", 9}, {"Ś", 9}}, 1, "pl", true, nullptr, 12 * 5 + 2 * 9},
        {"a wide sample wins", {{"M", 20}, {"ź", 9}}, 1, "pl", true, nullptr, 10 * 5 + 3 * 20},
        {"a wider extra date", {{"ź", 9}}, 1, "pl", false, "01 Kwietnia,", 13 * 5},
    };
    for (const auto& c : cases) {
        dayFirst = c.dayFirst;
        std::strcpy(languageCode, c.language);
        const char* extra[] = {c.extra};
        EXPECT_EQ(DateColumnWidth(MeasureByCharacter, const_cast<std::map<std::string, int>*>(&c.widths),
                                  c.weekday, c.extra ? extra : nullptr, c.extra ? 1 : 0),
                  c.expected)
            << c.name;
    }
    dayFirst = 1;
    std::strcpy(languageCode, "pl");
}
