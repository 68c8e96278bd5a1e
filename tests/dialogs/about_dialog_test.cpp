// The About box on a thread of its own, driven by real mouse input; the
// browser is replaced by a recorder of what would be opened.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

#include "app/state.h"
#include "app/win_state.h"
#include "dialogs/about_dialog.h"
#include "resources/resource_ids.h"
#include "tests/dialogs/helpers.h"
#include "tests/modal_run.h"

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

class AboutDialog : public testing::Test {
protected:
    void SetUp() override {
        appInstance = GetModuleHandleA(nullptr);
        shellExecute = RecordOpen;
        openCount = 0;
        run_.reset(new ModalRun([] { return ShowAboutDialog(nullptr); }));
        about_ = run_->Active();
        ASSERT_NE(about_, nullptr);
    }
    void TearDown() override {
        run_.reset();
        shellExecute = ShellExecuteA;
    }
    std::unique_ptr<ModalRun> run_;
    HWND about_ = nullptr;
};
}  // namespace

TEST_F(AboutDialog, ShowsItsTextsWholeWithTheAddressAsALinkAndEndsWithOneOnEsc) {
    SaveShot(about_, "about");
    EXPECT_EQ(WindowText(about_), "About");
    EXPECT_EQ(ClippedTexts(about_), "");
    EXPECT_EQ(DlgText(about_, IDC_ABOUT_LINK), kProductAddress);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(about_, IDC_ABOUT_LINK, WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline);
    RECT client, link = ChildBox(about_, IDC_ABOUT_LINK), after = ChildBox(about_, IDC_ABOUT_AFTER_LINK);
    GetClientRect(about_, &client);
    EXPECT_GE(after.left, link.right) << "\"for updates\" covers the address";
    EXPECT_LE(after.right, client.right);

    PostMessageA(about_, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(run_->Wait());
    EXPECT_EQ(run_->Result(), 1);
}

// The hand shows over the link only; where the button is released decides.
TEST_F(AboutDialog, LinkOpensTheAddressOnAReleaseOverIt) {
    HCURSOR hand = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_POINTER));
    POINT link = Centre(GetDlgItem(about_, IDC_ABOUT_LINK));
    POINT plain = {3, 60};  // left of the icon: no control there
    ClientToScreen(about_, &plain);
    auto cursor = [] {
        CURSORINFO info = {};
        info.cbSize = sizeof info;
        GetCursorInfo(&info);
        return info.hCursor;
    };
    // As slowly as a hand: the dialog reads where the pointer is when it
    // gets round to each message.
    auto button = [](DWORD flags) {
        MouseButton(flags);
        Sleep(150);
    };
    ASSERT_TRUE(MouseTo(plain));
    EXPECT_NE(cursor(), hand);
    ASSERT_TRUE(MouseTo(link));
    EXPECT_EQ(cursor(), hand);

    button(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(MouseTo(plain));
    button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(openCount, 0) << "pressed on the link, released elsewhere";
    EXPECT_NE(cursor(), hand);

    button(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(MouseTo(link));
    button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(openCount, 1);
    EXPECT_EQ(opened, std::string("0 open ") + kProductAddress + " - - " + std::to_string(SW_SHOWMAXIMIZED));
    EXPECT_TRUE(IsWindowVisible(about_)) << "the box stays open";
}
