// The About box driven by real mouse input; the browser is replaced by a
// recorder of what would be opened.
#include "dialogs/about_dialog.h"

#include <shellapi.h>

#include "resources/resource_ids.h"
#include "tests/dialogs/fixture.h"

namespace {
// Written on the dialog's thread, read on the test thread after a pause.
volatile LONG openCount = 0;
std::string opened;

HINSTANCE WINAPI RecordOpen(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                            INT show) {
    opened = std::to_string(reinterpret_cast<INT_PTR>(owner)) + " " + verb + " " + file + " " +
             (parameters ? parameters : "-") + " " + (directory ? directory : "-") + " " +
             std::to_string(show);
    InterlockedIncrement(&openCount);
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

using AboutDialog = DialogTest;
}  // namespace

// Every text whole, "for updates" after the address; the hand shows over the
// link only, and where the button is released decides; Esc ends the box.
TEST_F(AboutDialog, LinkOpensTheAddressOnAReleaseOverIt) {
    shellExecute = RecordOpen;
    openCount = 0;
    ASSERT_NE(Open([] { return ShowAboutDialog(nullptr); }), nullptr);
    SaveShot(dialog_, "about");
    EXPECT_EQ(WindowText(dialog_), "About");
    EXPECT_EQ(ClippedTexts(dialog_), "");
    EXPECT_EQ(Text(IDC_ABOUT_LINK), kProductAddress);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(Item(IDC_ABOUT_LINK), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_TRUE(font.lfUnderline);
    RECT onScreen;
    GetWindowRect(Item(IDC_ABOUT_LINK), &onScreen);
    EXPECT_TRUE(WaitUntil([&] { return PixelsOnScreen(onScreen, RGB(0, 0, 255)) > 0; }, 3000)) << "blue text";
    RECT client, link = ChildBox(dialog_, IDC_ABOUT_LINK), after = ChildBox(dialog_, IDC_ABOUT_AFTER_LINK);
    GetClientRect(dialog_, &client);
    EXPECT_TRUE(after.left >= link.right && after.right <= client.right)
        << "\"for updates\" covers the address";

    const HCURSOR hand = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_POINTER));
    const POINT onLink = Centre(Item(IDC_ABOUT_LINK));
    POINT plain = {3, 60};  // left of the icon: no control there
    ClientToScreen(dialog_, &plain);
    auto handShows = [hand] {
        CURSORINFO info = {};
        info.cbSize = sizeof info;
        return GetCursorInfo(&info) && info.hCursor == hand;
    };
    // As slowly as a hand: the dialog reads where the pointer is when it
    // gets round to each message.
    auto press = [](POINT down, POINT up) {
        ASSERT_TRUE(MouseTo(down));
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        Sleep(150);
        ASSERT_TRUE(MouseTo(up));
        MouseButton(MOUSEEVENTF_LEFTUP);
        Sleep(150);
    };
    ASSERT_TRUE(MouseTo(plain));
    EXPECT_FALSE(handShows());
    ASSERT_TRUE(MouseTo(onLink));
    EXPECT_TRUE(handShows());
    press(onLink, plain);
    EXPECT_EQ(openCount, 0) << "pressed on the link, released elsewhere";
    EXPECT_FALSE(handShows());
    press(plain, onLink);
    EXPECT_EQ(openCount, 1);
    EXPECT_EQ(opened, std::string("0 open ") + kProductAddress + " - - " + std::to_string(SW_SHOWMAXIMIZED));
    PostMessageA(dialog_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Ended(1));
    shellExecute = ShellExecuteA;
}
