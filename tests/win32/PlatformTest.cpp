// The Windows layer against the real system (under wine in the x86_64 build): its pure helpers
// (UTF-16, the ANSI code page, file dialog filters, the command line, twips, paths), program
// facts, the hidden-file test, the Run value, the clipboard, the shell's opener and icon, and
// the link check's fetcher on WinHTTP against a server on 127.0.0.1.
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinHttpFetcher.h"
#include "store/CodePage.h"
#include "support/FetcherChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tabbern::win32 {
namespace {

using namespace std::string_literals;

TEST(Utf, RoundTripsEveryPlaneAndMarksMalformedInput) {
    // The bookmark sign takes a surrogate pair in UTF-16.
    const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\x96 a\0b"s;
    EXPECT_EQ(Widen(text), L"Caf\u00E9 \u20AC \U0001F516 a\0b"s);
    EXPECT_EQ(Narrow(Widen(text)), text);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Widen("ok\xFF"), L"ok\uFFFD");
}

TEST(AnsiCodePage, HoldsItsOwnLettersAndRefusesOthersInsteadOfBestFit) {
    // the code page, the text, its bytes there (nullptr: refused)
    const std::tuple<unsigned, std::string, const char*> cases[] = {
        {1252, "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D", "Caf\xE9 \x80 \x93q\x94"},
        {1252, "why?", "why?"},
        // The system's best fit would write a plain A for A with macron.
        {1252, "Ma\xC4\x81ori", nullptr},
        {1252, "bad\xC3", nullptr},
        {1251, "\xD0\x96\xD0\xB0", "\xC6\xE0"},
        {1251, "Caf\xC3\xA9", nullptr},
    };
    for (const auto& [codePage, utf8, expected] : cases) {
        SCOPED_TRACE(utf8);
        const AnsiCodePage cp(codePage);
        std::string bytes, builtIn;
        ASSERT_EQ(cp.encode(utf8, bytes), expected != nullptr);
        if (!expected)
            continue;
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(cp.decode(bytes), utf8);
        // The core's own table for 1252 agrees with the system's.
        EXPECT_TRUE(codePage != 1252 || (Windows1252().encode(utf8, builtIn) && builtIn == bytes));
    }
    EXPECT_EQ(AnsiCodePage().id(), GetACP());
}

TEST(Helpers, FileDialogFiltersCommandLinesTwipsAndPaths) {
    EXPECT_EQ(FileDialogFilter({{"Tabbern Files (*.tbn)", "*.tbn"}, {"All Files", "*.txt;*.*"}}),
              L"Tabbern Files (*.tbn)\0*.tbn\0All Files\0*.txt;*.*\0\0"s);
    // A blank pattern offers every file; blanks around a pattern go.
    EXPECT_EQ(FileDialogFilter({{"Anything", "  "}, {"", " *.tbn "}}),
              L"Anything\0*.*\0*.tbn\0*.tbn\0\0"s);

    for (const auto& [line, arguments] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"\"C:\\Program Files\\Tabbern\\tabbern.exe\"  abc x", L"abc x"},
             {L"tabbern.exe a", L"a"},
             {L"  tabbern.exe", L""},
             {L"", L""},
             // A quote that never closes takes the rest as the program's name.
             {L"\"C:\\a b c", L""}})
        EXPECT_EQ(ArgumentsOf(line), arguments) << Narrow(line);

    // Rounded to the nearest pixel either side of zero; 120 dots per inch is 12 twips a pixel.
    const std::tuple<double, double, int> rounding[] = {
        {3750, 15, 250}, {-120, 15, -8},  {7, 15, 0}, {8, 15, 1},
        {-8, 15, -1},    {3750, 12, 313}, {100, 0, 0}};
    for (const auto& [twips, perPixel, pixels] : rounding)
        EXPECT_EQ(TwipsToPixels(twips, perPixel), pixels) << twips << " " << perPixel;

    // A folder keeps its backslash only at a drive's root.
    EXPECT_EQ(FolderOfPath(L"C:\\Tools\\Tabbern\\tabbern.exe"), L"C:\\Tools\\Tabbern");
    EXPECT_EQ(FolderOfPath(L"C:\\tabbern.exe"), L"C:\\");
    EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\tabbern.exe"), L"\\\\server\\share");
    EXPECT_EQ(BaseNameOfPath(L"C:\\Tools\\My.Tabbern.exe"), L"My.Tabbern");
    EXPECT_EQ(BaseNameOfPath(L"C:\\a.b\\tabbern"), L"tabbern");
}

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
}

TEST(Clipboard, UnicodeTextArrivesAsUtf8) {
    Win32Platform platform;
    const std::wstring text = L"Caf\u00E9 https://www.example.com/\u20AC";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    CopyMemory(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    EXPECT_EQ(platform.clipboardText(), "Caf\xC3\xA9 https://www.example.com/\xE2\x82\xAC");
}

// The shell as the platform meets it: it takes the icon once it is `ready`, one icon per window
// as the real shell does, and opens whatever it is given.
struct StandInShell : Win32Platform {
    StandInShell() { trayPauseMs_ = 0, trayRetryMs_ = 1; }
    bool ready = true, reportsAddAsFailed = false, iconShown = false;
    int addCalls = 0;
    std::vector<std::wstring> added, opened; // the tips of the icons it took; what it opened

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

// Runs the thread's messages, the tray icon's timer among them, for a moment.
void PumpMessagesBriefly() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Right after log-on the shell may not take icons yet: the retries put the icon there once it
// does. A busy shell may take the icon yet report the NIM_ADD as failed: the icon counts. A new
// task bar (Explorer started again) gets it again, until it is removed.
TEST(TrayIcon, TheRetriesABusyShellAndANewTaskBarEachLeaveTheIconShown) {
    StandInShell shell;
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr);
    if (!window)
        GTEST_SKIP() << "no window could be created: these tests need a display";
    shell.setTrayWindow(window);
    const std::string tip = " Tabbern 5.2 ";
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    shell.ready = false;
    EXPECT_FALSE(shell.trayAdd(tip, 101));
    EXPECT_GT(shell.addCalls, 1);
    shell.ready = true;
    for (const ULONGLONG end = GetTickCount64() + 5000; !shell.iconShown && GetTickCount64() < end;)
        PumpMessagesBriefly();
    EXPECT_EQ(shell.added, std::vector<std::wstring>{Widen(tip)});
    // The core asks again at the next minimise: the icon is there already.
    EXPECT_TRUE(shell.trayAdd(tip, 101));
    EXPECT_EQ(shell.added.size(), 1u);

    shell.trayRemove();
    shell.reportsAddAsFailed = true;
    EXPECT_TRUE(shell.trayAdd(tip, 101));
    shell.iconShown = false; // the new task bar holds no icons
    SendMessageW(window, taskbarCreated, 0, 0);
    EXPECT_EQ(shell.added, std::vector<std::wstring>(3, Widen(tip)));
    shell.trayRemove();
    SendMessageW(window, taskbarCreated, 0, 0);
    EXPECT_FALSE(shell.iconShown);
    DestroyWindow(window);
}

// ---- the link check's fetcher, held to the facts every fetcher must show ----------------------

std::unique_ptr<LinkFetcher> MakeWinHttpFetcher() {
    return std::make_unique<WinHttpFetcher>();
}

TEST(WinHttpFetcher, EachKindOfAnswerAndWhatTheRequestsSend) {
    test::CheckEachKindOfAnswer(MakeWinHttpFetcher, PumpMessagesBriefly);
}

TEST(WinHttpFetcher, NothingIsAnsweredAfterCancelOrDestruction) {
    test::CheckSilenceAfterCancelAndDestruction(MakeWinHttpFetcher, PumpMessagesBriefly);
}

} // namespace
} // namespace tabbern::win32
