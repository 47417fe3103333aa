// The Win32 backend of the windowing layer, driven through its messages as
// Windows would send them: the information box's lines, the events of
// buttons, picture, close box and dropped files, and the input dialog.
#include <gtest/gtest.h>

#include "platform/win32/win32_windowing.h"

#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "platform/windowing.h"

namespace {

using platform::kCloseEvent;
using platform::kControlEvent;

std::wstring TextOf(HWND window) {
    wchar_t text[4096] = {};
    ::GetWindowTextW(window, text, 4096);
    return text;
}

class Win32Window : public ::testing::Test {
  protected:
    void SetUp() override {
        ui.OpenWindow(0, 10, 10, 1000, 720, "Velocitra Track Analyse");
        ui.CreateInfoBox(2, 10, 10, 400, 600);
        ui.CreateStaticText(8, 10, 620, 400, 80, "");
        ui.CreatePictureControl(1, 450, 10, 512, 560);
        ui.CreateButton(11, 450, 620, 50, 24, "load");
        platform::UseWindowing(&ui);
    }
    void TearDown() override { platform::UseWindowing(nullptr); }
    HWND Control(int number) const { return ::GetDlgItem(ui.WindowHandle(), number); }

    platform::Win32Windowing ui;
};

TEST_F(Win32Window, TheClientAreaHasTheAskedSizeAndTheTitleIsShown) {
    RECT client{};
    ::GetClientRect(ui.WindowHandle(), &client);
    EXPECT_EQ(client.right, 1000);
    EXPECT_EQ(client.bottom, 720);
    EXPECT_EQ(TextOf(ui.WindowHandle()), L"Velocitra Track Analyse");
}

TEST_F(Win32Window, InfoLinesAreSeparatedBySingleLineBreaks) {
    for (const char* line : {"a", "b", "Trk-L\xE4nge: 5"}) platform::AppendInfoLine(2, line);
    EXPECT_EQ(TextOf(Control(2)), L"a\r\nb\r\nTrk-L\u00e4nge: 5");
    platform::ClearInfoList(2);
    platform::AppendInfoLine(2, "x");
    EXPECT_EQ(TextOf(Control(2)), L"x");
    platform::SetText(8, "> ready...\r\n> lakeside\r\n");
    EXPECT_EQ(TextOf(Control(8)), L"> ready...\r\n> lakeside\r\n");
}

TEST_F(Win32Window, ButtonsPictureClicksAndTheCloseBoxBecomeEvents) {
    ::PostMessageW(Control(11), BM_CLICK, 0, 0);
    EXPECT_EQ(ui.WaitEvent(), kControlEvent);
    EXPECT_EQ(ui.EventControl(), 11);
    ::PostMessageW(Control(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(ui.WaitEvent(), kControlEvent);
    EXPECT_EQ(ui.EventControl(), 1);
    ::PostMessageW(Control(1), WM_MOUSEMOVE, 0, MAKELPARAM(17, 33));
    EXPECT_EQ(ui.WaitEvent(), platform::kPointerEvent);
    EXPECT_EQ(ui.EventPoint().x, 17);
    EXPECT_EQ(ui.EventPoint().y, 33);
    // The close box only asks; the window stays until the tool ends.
    ::PostMessageW(ui.WindowHandle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ui.WaitEvent(), kCloseEvent);
    EXPECT_TRUE(::IsWindow(ui.WindowHandle()));
}

TEST_F(Win32Window, ADroppedTrackPressesLoadAndAnswersTheOpenDialog) {
    ui.SetDropLoadButton(11);
    const std::wstring path = L"C:\\tracks\\\u0141\u00f3d\u017a-\u6771\u4eac.trk";
    // A drop as the shell hands it over: DROPFILES, then the names, each
    // ended by NUL, and one more NUL.
    const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(),
                path.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::PostMessageW(ui.WindowHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);

    EXPECT_EQ(ui.WaitEvent(), kControlEvent);
    EXPECT_EQ(ui.EventControl(), 11);
    EXPECT_EQ(ui.OpenFileDialog("Select Track", "", "trk|*.trk", 0),
              "C:\\tracks\\\xC5\x81\xC3\xB3"
              "d\xC5\xBA-\xE6\x9D\xB1\xE4\xBA\xAC.trk");
}

// Answers the next input dialog from another thread, as a person would.
void AnswerInputDialog(const wchar_t* text, bool ok, std::atomic<bool>& sizeRight) {
    // Found once it shows, with its field (a slow machine takes seconds).
    HWND dialog = nullptr;
    for (int tries = 0; tries < 2400; ++tries) {
        dialog = ::FindWindowW(L"InputRequester", nullptr);
        if (dialog && ::IsWindowVisible(dialog) && ::GetDlgItem(dialog, 100)) break;
        dialog = nullptr;
        ::Sleep(25);
    }
    if (!dialog) return;
    RECT frame{};
    ::GetWindowRect(dialog, &frame);
    sizeRight = frame.right - frame.left == 300 && frame.bottom - frame.top == 130;
    ::SendMessageW(::GetDlgItem(dialog, 100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    ::PostMessageW(dialog, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
}

TEST_F(Win32Window, TheInputDialogGivesTheTextOnOkAndNothingOnCancel) {
    std::atomic<bool> sizeRight = false;
    std::thread person(AnswerInputDialog, L"3", true, std::ref(sizeRight));
    EXPECT_EQ(ui.InputDialog("save car", "Select No.  0 (Best), 1-6", ""), "3");
    person.join();
    EXPECT_TRUE(sizeRight);
    // The main window takes input again afterwards.
    EXPECT_TRUE(::IsWindowEnabled(ui.WindowHandle()));

    std::thread cancel(AnswerInputDialog, L"5", false, std::ref(sizeRight));
    EXPECT_EQ(ui.InputDialog("save car", "Select No.  0 (Best), 1-6", "1"), "");
    cancel.join();
}

}  // namespace
