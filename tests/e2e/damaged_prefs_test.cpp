// Preferences files damaged in the ways files get damaged (cut short, run
// together, copied from another machine, edited by hand): each must still
// give a main window the user can see and use, a well-formed preferences
// file when the program ends, and an events file left as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"
#include "tests/prefs_data_line.h"

namespace {

// The data line of the defaults with some of its 31 fields replaced:
// {field number, text}.
std::string DataLine(std::initializer_list<std::pair<int, const char*>> changes) {
    std::vector<std::string> fields;
    std::istringstream defaults(
        "10 3 1 1 0 0 1 0 40 50 600 0 6737100 208 0 32768 0 -14 0 0 0 0 0 0 0 0 0 0 0 0");
    for (std::string field; defaults >> field;) fields.push_back(field);
    fields.push_back("'Comic Sans MS'");
    for (const auto& [field, text] : changes) fields[field - 1] = text;
    std::string line;
    for (const std::string& field : fields) line += (line.empty() ? "" : " ") + field;
    return line;
}

struct DamagedFile {
    const char* name;
    std::string bytes;
};

std::vector<DamagedFile> Corpus() {
    const std::string header = FileHeader();
    std::string binary = header;
    for (int i = 0; i < 300; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
    static const char nulInLine[] = "10 3 1 1\0 0 0 1 0 40 50 600";
    return {
        {"cut-short", header + "10 3 1 1 0 0 1 0 4"},
        {"header-only", header},
        {"data-line-run-on", header + DataLine({{31, ("'" + std::string(700, 'W') + "'").c_str()}})},
        {"binary-garbage", binary},
        {"nul-in-line", header + std::string(nulInLine, sizeof nulInLine - 1)},
        {"unplugged-screen", header + DataLine({{9, "4100"}, {10, "1900"}})},
        {"far-left-and-up", header + DataLine({{9, "-30000"}, {10, "-30000"}})},
        {"title-bar-above-screen", header + DataLine({{10, "-15"}})},
        {"huge-numbers", header + DataLine({{9, "99999999999999999999"}, {11, "99999999999999999999"}})},
        {"no-width", header + DataLine({{11, "0"}})},
        {"negative-width", header + DataLine({{11, "-600"}})},
        {"sliver-width", header + DataLine({{11, "3"}})},
        {"giant-font", header + DataLine({{18, "-30000"}})},
        {"positive-font-height", header + DataLine({{18, "900"}})},
        {"rotated-font", header + DataLine({{21, "900"}, {22, "900"}})},
        {"stretched-font", header + DataLine({{19, "500"}})},
        {"font-without-face", header + DataLine({{31, "''"}})},
        {"face-without-quotes", header + DataLine({{31, "Comic Sans MS"}})},
        {"face-with-control-bytes", header + DataLine({{31, "'Comic\x01\x7F\x02 Sans'"}})},
        {"scheme-out-of-range", header + DataLine({{12, "77"}})},
        {"lf-line-ends", ";File created by Quillbee 1.41\n;\n;\n" + DataLine({{9, "5000"}}) + "\n\n\n"},
        {"v130-damaged", ";File created by Quillbee 1.30\r\n;\r\n;\r\n7 2 1 1 0 0 0 0 -9000 9000 2 1750 0 0"},
    };
}

}  // namespace

TEST(EndToEnd, DamagedPreferencesNeverMakeTheWindowUnusable) {
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const std::string events =
        EventsFile(EventLine(-1, "Yesterday") + EventLine(0, "Today") + EventLine(2, "Soon"));
    for (const DamagedFile& damaged : Corpus()) {
        SCOPED_TRACE(damaged.name);
        Instance app("damaged", events);
        app.Write("quillbee.prefs", damaged.bytes);
        HWND window = app.Run(3);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WaitForWindow(app.Id(), "#32770", 0), nullptr) << "no message about the file";
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_TRUE(frame.left >= desktop.left && frame.right <= desktop.right && frame.top >= desktop.top &&
                    frame.top + GetSystemMetrics(SM_CYCAPTION) <= desktop.bottom)
            << "window at " << frame.left << "," << frame.top << " to " << frame.right << "," << frame.bottom;
        EXPECT_GE(frame.right - frame.left, 200);
        EXPECT_LE(frame.bottom - frame.top, desktop.bottom - desktop.top);
        EXPECT_TRUE(RowHeight(window) >= 10 && RowHeight(window) <= 60)
            << "rows " << RowHeight(window) << " high";
        Picture(window, "damaged-prefs-" + std::string(damaged.name));
        EXPECT_EQ(app.Quit(), 0u);
        const std::string saved = app.Read("quillbee.prefs");
        EXPECT_EQ(saved.rfind(";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n", 0), 0u) << saved;
        EXPECT_TRUE(IsWellFormedPrefsLine(PrefsDataLine(saved))) << saved;
        EXPECT_EQ(app.Read("quillbee.events"), events);
    }
}
