// The platform services against the real system (under wine in the x86_64 build): program facts,
// the hidden-file test, the Run value, the clipboard, and modal forms with their owners.
#include "platform/win32/FormWindow.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace tabbern::win32 {
namespace {

TEST(ProgramFacts, DescribeTheRunningProgramFile) {
    Win32Platform platform;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string own = Narrow(path);

    EXPECT_EQ(platform.programFileBaseName(), "tabbern_win32_tests");
    EXPECT_EQ(platform.programFolder() + "\\tabbern_win32_tests.exe", own);
    EXPECT_EQ(platform.programCommand(), "\"" + own + "\"");
    EXPECT_EQ(platform.programName(), "Tabbern");
    // The test runner was started without switches of its own.
    EXPECT_EQ(platform.commandLine().find("tabbern_win32_tests"), std::string::npos);
}

TEST(ProgramFacts, TodayIsInTheShortDateFormWithThisYear) {
    Win32Platform platform;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string today = platform.todayShortDate();
    ASSERT_FALSE(today.empty());
    EXPECT_NE(today.find(std::to_string(now.wYear % 100)), std::string::npos) << today;
}

TEST(HiddenFiles, HiddenAndSystemFilesCountOthersDoNot) {
    Win32Platform platform;
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"tabbern-hidden-test.txt";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    const std::string path = Narrow(file);

    EXPECT_FALSE(platform.isHiddenOrSystemFile(path));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(platform.isHiddenOrSystemFile(path));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_TRUE(platform.isHiddenOrSystemFile(path));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(platform.isHiddenOrSystemFile(path));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
    EXPECT_FALSE(platform.isHiddenOrSystemFile(path + ".missing"));
}

TEST(RunValue, WrittenQuotedReadBackAndRemoved) {
    Win32Platform platform;
    const std::string name = "TabbernTest" + std::to_string(GetCurrentProcessId());
    EXPECT_FALSE(platform.autostartEntry(name).has_value());

    platform.writeAutostartEntry(name, "C:\\Program Files\\Tabbern\\tabbern.exe");
    const auto stored = platform.autostartEntry(name);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(*stored, "\"C:\\Program Files\\Tabbern\\tabbern.exe\"");

    // What the program itself writes is quoted once, not twice.
    platform.writeAutostartEntry(name, platform.programCommand());
    EXPECT_EQ(platform.autostartEntry(name), platform.programCommand());

    platform.removeAutostartEntry(name);
    EXPECT_FALSE(platform.autostartEntry(name).has_value());
    // Removing what is not there is no failure.
    platform.removeAutostartEntry(name);
}

TEST(Clipboard, UnicodeTextArrivesAsUtf8) {
    Win32Platform platform;
    const std::wstring text = L"Caf\u00E9 https://www.example.com/\u20AC";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(block, nullptr);
    CopyMemory(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();

    EXPECT_EQ(platform.clipboardText(), "Caf\xC3\xA9 https://www.example.com/\xE2\x82\xAC");

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(platform.clipboardText(), "");
}

TEST(Shell, OpensNothingButWebAddresses) {
    Win32Platform platform;
    EXPECT_FALSE(platform.shellOpen("C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(platform.shellOpen("file:///C:/Windows/notepad.exe"));
    EXPECT_EQ(platform.fetchUrl("file:///C:/Windows/win.ini"), "");
}

// ---- modal forms --------------------------------------------------------------------------------

class SimpleForm : public Form {
public:
    explicit SimpleForm(std::string name) : Form(std::move(name)) { setVisible(false); }
    Button Command1{"Command1"};
    std::vector<Control*> allControls() override { return {&Command1}; }
};

FormLayout SimpleLayout() {
    FormLayout l;
    l.clientWidth = 3000;
    l.clientHeight = 1500;
    l.controls = {{"Command1", {150, 150, 1500, 390}}};
    return l;
}

TEST(ModalForms, OwnerWaitsDisabledAndIsBackBeforeTheDialogHides) {
    Win32Platform platform;
    SimpleForm mainForm("frmMain");
    SimpleForm dialog("frmDialog");
    FormWindow mainWindow(platform, mainForm, SimpleLayout(), {}, true);
    FormWindow dialogWindow(platform, dialog, SimpleLayout(), [&] { platform.hideForm(dialog); });
    if (!IsWindow(mainWindow.hwnd()))
        GTEST_SKIP() << "no window could be created: this test needs a display";
    platform.showModeless(mainForm);

    std::vector<std::string> seen;
    dialog.onActivate = [&] {
        seen.push_back(IsWindowEnabled(mainWindow.hwnd()) ? "owner enabled" : "owner disabled");
        // The frame's close button, as the user presses it once the dialog is up.
        PostMessageW(dialogWindow.hwnd(), WM_CLOSE, 0, 0);
    };
    // The owner gets the activation back only if it was enabled again before the dialog hid.
    mainForm.onActivate = [&] { seen.push_back("owner activated"); };
    platform.showModal(dialog);

    EXPECT_EQ(seen, (std::vector<std::string>{"owner disabled", "owner activated"}));
    EXPECT_FALSE(dialog.visible());
    EXPECT_FALSE(IsWindowVisible(dialogWindow.hwnd()));
    EXPECT_TRUE(IsWindowEnabled(mainWindow.hwnd()));
    platform.hideForm(mainForm);
}

// Answers the message box that is up, as a user pressing OK.
void CALLBACK PressOkOnMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (std::wstring(cls) == L"#32770" && IsWindowVisible(w))
                PostMessageW(w, WM_COMMAND, IDOK, 0);
            return TRUE;
        },
        0);
    KillTimer(nullptr, timer);
}

TEST(ModalForms, AMessageBoxClosingOverADialogIsNoActivation) {
    Win32Platform platform;
    SimpleForm mainForm("frmMain");
    SimpleForm dialog("frmDialog");
    FormWindow mainWindow(platform, mainForm, SimpleLayout(), {}, true);
    FormWindow dialogWindow(platform, dialog, SimpleLayout(), [&] { platform.hideForm(dialog); });
    if (!IsWindow(mainWindow.hwnd()))
        GTEST_SKIP() << "no window could be created: this test needs a display";
    platform.showModeless(mainForm);

    int activations = 0;
    MsgResult answer = MsgResult::Cancel;
    dialog.onActivate = [&] {
        if (++activations > 1)
            return;
        SetTimer(nullptr, 0, 300, &PressOkOnMessageBox);
        answer = platform.messageBox("Please Enter A URL", "Tabbern 5.2", MsgButtons::OK);
        PostMessageW(dialogWindow.hwnd(), WM_CLOSE, 0, 0);
    };
    platform.showModal(dialog);

    EXPECT_EQ(answer, MsgResult::OK);
    EXPECT_EQ(activations, 1);
    platform.hideForm(mainForm);
}

} // namespace
} // namespace tabbern::win32
