// The platform services against the real system (under wine in the x86_64 build): program facts,
// the hidden-file test, the Run value, the clipboard, the screens, the shell's opener and icon,
// and modal forms with their owners.
#include "app/App.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "store/Store.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
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

// A data file marked hidden or system is still the user's data: the start-up check must not
// take it for missing and write an empty one over it.
TEST(HiddenFiles, HiddenOrSystemStoreFileIsKeptAndLoaded) {
    const std::string bytes =
        HeaderLine() + "\r\n[r]0[n]Example[g]Web[d]01/02/2024[l][u]http://www.example.com\r\n";
    for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        SCOPED_TRACE(attribute);
        const test::TempDir dir;
        Win32Platform platform;
        ViewHost host(platform);
        App app(platform, host);
        app.programFolder = app.dataFolder = dir.path();
        app.storeHeaderLine = HeaderLine();
        const std::string path = app.dataFile(app.storeFileName);
        test::WriteBytes(path, bytes);
        ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), attribute));

        CheckStoreFile(app);
        LoadStore(app);

        EXPECT_EQ(test::ReadBytes(path), bytes);
        EXPECT_EQ(app.recordCount, 1);
    }
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

TEST(Screens, OneWorkAreaPerScreenThePrimaryFirst) {
    Win32Platform platform;
    const std::vector<ScreenArea> areas = platform.screenWorkAreas();
    ASSERT_EQ(areas.size(), static_cast<std::size_t>(GetSystemMetrics(SM_CMONITORS)));
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    // The system's work area is the primary screen's.
    const double tpp = platform.twipsPerPixelX();
    EXPECT_EQ(areas[0].left, work.left * tpp);
    EXPECT_EQ(areas[0].top, work.top * tpp);
    EXPECT_EQ(areas[0].width, (work.right - work.left) * tpp);
    EXPECT_EQ(areas[0].height, (work.bottom - work.top) * tpp);
}

// The shell as the platform meets it: it takes the icon once it is `ready`, one icon per window
// as the real shell does, and opens whatever it is given.
class StandInShell : public Win32Platform {
public:
    StandInShell() {
        trayPauseMs_ = 0;
        trayRetryMs_ = 1;
    }
    bool ready = true;
    // A busy shell that takes the icon yet reports the NIM_ADD as failed.
    bool reportsAddAsFailed = false;
    bool iconShown = false;
    int addCalls = 0;
    // The tips of the icons the shell took.
    std::vector<std::wstring> added;
    std::vector<std::wstring> opened;

protected:
    bool notifyIcon(DWORD message, NOTIFYICONDATAW& data) override {
        if (message == NIM_ADD)
            ++addCalls;
        if (!ready)
            return false;
        switch (message) {
        case NIM_ADD:
            if (iconShown)
                return false;
            iconShown = true;
            added.emplace_back(data.szTip);
            return !reportsAddAsFailed;
        case NIM_MODIFY:
            return iconShown;
        case NIM_DELETE:
            return std::exchange(iconShown, false);
        default:
            return false;
        }
    }
    bool openInBrowser(const std::wstring& address) override {
        opened.push_back(address);
        return true;
    }
};

TEST(Shell, OpensWebAddressesInTheBrowsersFormAndNothingElse) {
    const struct {
        const char* given;
        const wchar_t* opened; // nullptr: refused
    } cases[] = {
        {"www.example.com", L"http://www.example.com"},
        {"HTTPS://example.com/a?b", L"HTTPS://example.com/a?b"},
        {"C:\\Windows\\notepad.exe", nullptr},
        {"file:///C:/Windows/notepad.exe", nullptr},
    };
    for (const auto& c : cases) {
        StandInShell shell;
        EXPECT_EQ(shell.shellOpen(c.given), c.opened != nullptr) << c.given;
        EXPECT_EQ(shell.opened,
                  c.opened ? std::vector<std::wstring>{c.opened} : std::vector<std::wstring>{})
            << c.given;
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
        if (window)
            DestroyWindow(window);
    }

    // Runs the thread's messages (the icon's timer among them) until `done` holds, or gives up
    // after a few seconds.
    static bool RunMessagesUntil(const std::function<bool()>& done) {
        const ULONGLONG end = GetTickCount64() + 5000;
        while (!done() && GetTickCount64() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
        }
        return done();
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
    EXPECT_TRUE(RunMessagesUntil([this] { return shell.iconShown; }));
    EXPECT_EQ(shell.added, std::vector<std::wstring>{tip});
    // The core asks again at the next minimise: the icon is there already.
    EXPECT_TRUE(shell.trayAdd(Narrow(tip), 101));
    EXPECT_EQ(shell.added.size(), 1u);
}

TEST_F(TrayIcon, AnIconTheBusyShellTookDespiteItsAnswerCounts) {
    shell.reportsAddAsFailed = true;
    EXPECT_TRUE(shell.trayAdd(Narrow(tip), 101));
    EXPECT_EQ(shell.added.size(), 1u);
}

TEST_F(TrayIcon, ANewTaskBarGetsTheIconAgainUntilItIsRemoved) {
    ASSERT_TRUE(shell.trayAdd(Narrow(tip), 101));
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

    // Explorer started again: its task bar holds no icons.
    shell.iconShown = false;
    SendMessageW(window, taskbarCreated, 0, 0);
    EXPECT_EQ(shell.added, (std::vector<std::wstring>{tip, tip}));

    shell.trayRemove();
    SendMessageW(window, taskbarCreated, 0, 0);
    EXPECT_FALSE(shell.iconShown);
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
    l.cancel = "Command1";
    l.controls = {{"Command1", {150, 150, 1500, 390}}};
    return l;
}

// A main window and a dialog on the view host; the dialog's close box hides it.
struct TwoWindows {
    TwoWindows() {
        platform.setHost(host);
        host.setLayouts([](const Form&) { return SimpleLayout(); });
        dialog.Command1.onClick = [this] { host.hideForm(dialog); };
    }
    FormWindow& windowOf(Form& form) { return static_cast<FormWindow&>(host.windowOf(form)); }

    Win32Platform platform;
    ViewHost host{platform};
    SimpleForm mainForm{"frmMain"};
    SimpleForm dialog{"frmDialog"};
};

TEST(ModalForms, OwnerWaitsDisabledAndIsBackBeforeTheDialogHides) {
    TwoWindows t;
    auto& [platform, host, mainForm, dialog] = t;
    FormWindow& mainWindow = t.windowOf(mainForm);
    FormWindow& dialogWindow = t.windowOf(dialog);
    if (!IsWindow(mainWindow.hwnd()))
        GTEST_SKIP() << "no window could be created: this test needs a display";
    host.showModeless(mainForm);

    std::vector<std::string> seen;
    dialog.onActivate = [&] {
        seen.push_back(IsWindowEnabled(mainWindow.hwnd()) ? "owner enabled" : "owner disabled");
        // The frame's close button, as the user presses it once the dialog is up.
        PostMessageW(dialogWindow.hwnd(), WM_CLOSE, 0, 0);
    };
    // The owner gets the activation back only if it was enabled again before the dialog hid.
    mainForm.onActivate = [&] { seen.push_back("owner activated"); };
    host.showModal(dialog);

    EXPECT_EQ(seen, (std::vector<std::string>{"owner disabled", "owner activated"}));
    EXPECT_FALSE(dialog.visible());
    EXPECT_FALSE(IsWindowVisible(dialogWindow.hwnd()));
    EXPECT_TRUE(IsWindowEnabled(mainWindow.hwnd()));
    host.hideForm(mainForm);
}

BOOL CALLBACK PressOkIfMessageBox(HWND w, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(w))
        PostMessageW(w, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Answers the message box that is up, as a user pressing OK.
void CALLBACK PressOkOnMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &PressOkIfMessageBox, 0);
    KillTimer(nullptr, timer);
}

TEST(ModalForms, AMessageBoxClosingOverADialogIsNoActivation) {
    TwoWindows t;
    auto& [platform, host, mainForm, dialog] = t;
    FormWindow& mainWindow = t.windowOf(mainForm);
    FormWindow& dialogWindow = t.windowOf(dialog);
    if (!IsWindow(mainWindow.hwnd()))
        GTEST_SKIP() << "no window could be created: this test needs a display";
    host.showModeless(mainForm);

    int activations = 0;
    MsgResult answer = MsgResult::Cancel;
    dialog.onActivate = [&] {
        if (++activations > 1)
            return;
        SetTimer(nullptr, 0, 300, &PressOkOnMessageBox);
        answer = platform.messageBox("Please Enter A URL", "Tabbern 5.2", MsgButtons::OK);
        PostMessageW(dialogWindow.hwnd(), WM_CLOSE, 0, 0);
    };
    host.showModal(dialog);

    EXPECT_EQ(answer, MsgResult::OK);
    EXPECT_EQ(activations, 1);
    host.hideForm(mainForm);
}

} // namespace
} // namespace tabbern::win32
