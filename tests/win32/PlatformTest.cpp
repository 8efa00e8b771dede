// The platform services against the real system (under wine in the x86_64 build): program facts,
// the hidden-file test, the Run value, the clipboard, and the shell's opener and icon.
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace tabbern::win32 {
namespace {

TEST(ProgramFacts, TheProgramFileTodayAndHiddenFiles) {
    Win32Platform platform;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string own = Narrow(path);
    EXPECT_EQ(platform.programFileBaseName(), "tabbern_win32_tests");
    EXPECT_EQ(platform.programFolder() + "\\tabbern_win32_tests.exe", own);
    EXPECT_EQ(platform.programCommand(), "\"" + own + "\"");
    // The test runner was started without switches of its own.
    EXPECT_EQ(platform.commandLine().find("tabbern_win32_tests"), std::string::npos);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_NE(platform.todayShortDate().find(std::to_string(now.wYear % 100)), std::string::npos);

    const test::TempDir dir;
    const std::string file = dir.file("marked.txt");
    test::WriteBytes(file, "x");
    for (const DWORD attribute : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                                  FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_NORMAL}) {
        ASSERT_TRUE(SetFileAttributesW(Widen(file).c_str(), attribute));
        EXPECT_EQ(platform.isHiddenOrSystemFile(file),
                  attribute == FILE_ATTRIBUTE_HIDDEN || attribute == FILE_ATTRIBUTE_SYSTEM)
            << attribute;
    }
    EXPECT_FALSE(platform.isHiddenOrSystemFile(file + ".missing"));
}

TEST(RunValue, WrittenQuotedOnceReadBackAndRemoved) {
    Win32Platform platform;
    const std::string name = "TabbernTest" + std::to_string(GetCurrentProcessId());
    EXPECT_FALSE(platform.autostartEntry(name).has_value());
    platform.writeAutostartEntry(name, platform.programCommand());
    EXPECT_EQ(platform.autostartEntry(name), platform.programCommand());
    platform.removeAutostartEntry(name);
    EXPECT_FALSE(platform.autostartEntry(name).has_value());
    platform.removeAutostartEntry(name); // not there: no failure
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
}

// The shell as the platform meets it: it takes the icon once it is `ready`, one icon per window
// as the real shell does, and opens whatever it is given.
class StandInShell : public Win32Platform {
public:
    StandInShell() { trayPauseMs_ = 0, trayRetryMs_ = 1; }
    bool ready = true, reportsAddAsFailed = false, iconShown = false;
    int addCalls = 0;
    std::vector<std::wstring> added, opened; // the tips of the icons it took; what it opened

protected:
    bool notifyIcon(DWORD message, NOTIFYICONDATAW& data) override {
        addCalls += message == NIM_ADD;
        if (!ready || message == NIM_MODIFY)
            return ready && iconShown;
        if (message == NIM_DELETE)
            return std::exchange(iconShown, false);
        if (std::exchange(iconShown, true))
            return false; // one icon per window
        added.emplace_back(data.szTip);
        return !reportsAddAsFailed;
    }
    bool openInBrowser(const std::wstring& address) override {
        opened.push_back(address);
        return true;
    }
};

TEST(Shell, OpensWebAddressesInTheBrowsersFormAndNothingElse) {
    const std::pair<const char*, std::vector<std::wstring>> cases[] = {
        {"www.example.com", {L"http://www.example.com"}},
        {"HTTPS://example.com/a?b", {L"HTTPS://example.com/a?b"}},
        {"C:\\Windows\\notepad.exe", {}}, // refused
        {"file:///C:/Windows/notepad.exe", {}},
    };
    for (const auto& [given, opened] : cases) {
        StandInShell shell;
        EXPECT_EQ(shell.shellOpen(given), !opened.empty()) << given;
        EXPECT_EQ(shell.opened, opened) << given;
    }
    EXPECT_EQ(Win32Platform().fetchUrl("file:///C:/Windows/win.ini"), "");
}

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                                 nullptr);
        if (!window)
            GTEST_SKIP() << "no window could be created: these tests need a display";
        shell.setTrayWindow(window);
    }
    void TearDown() override {
        shell.trayRemove();
        DestroyWindow(window); // none when skipped: a harmless failure
    }

    // Runs the thread's messages (the icon's timer among them) until the shell shows the icon,
    // or gives up after a few seconds.
    bool RunMessagesUntilShown() {
        for (const ULONGLONG end = GetTickCount64() + 5000;
             !shell.iconShown && GetTickCount64() < end;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&msg);
        }
        return shell.iconShown;
    }

    const std::wstring tip = L" Tabbern 5.2 ";
    StandInShell shell;
    HWND window = nullptr;
};

TEST_F(TrayIcon, ShellNotReadyAtLogOnTakesTheIconFromTheRetries) {
    shell.ready = false;
    EXPECT_FALSE(shell.trayAdd(Narrow(tip), 101));
    EXPECT_GT(shell.addCalls, 1);

    shell.ready = true;
    EXPECT_TRUE(RunMessagesUntilShown());
    EXPECT_EQ(shell.added, std::vector<std::wstring>{tip});
    // The core asks again at the next minimise: the icon is there already.
    EXPECT_TRUE(shell.trayAdd(Narrow(tip), 101));
    EXPECT_EQ(shell.added.size(), 1u);
}

// A busy shell may take the icon yet report the NIM_ADD as failed: the icon counts. A new task
// bar gets it again until it is removed.
TEST_F(TrayIcon, AnIconTheShellTookCountsAndANewTaskBarGetsItAgainUntilItIsRemoved) {
    shell.reportsAddAsFailed = true;
    ASSERT_TRUE(shell.trayAdd(Narrow(tip), 101));
    shell.reportsAddAsFailed = false;
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

    // Explorer started again: its task bar holds no icons.
    shell.iconShown = false;
    SendMessageW(window, taskbarCreated, 0, 0);
    EXPECT_EQ(shell.added, (std::vector<std::wstring>{tip, tip}));

    shell.trayRemove();
    SendMessageW(window, taskbarCreated, 0, 0);
    EXPECT_FALSE(shell.iconShown);
}

} // namespace
} // namespace tabbern::win32
