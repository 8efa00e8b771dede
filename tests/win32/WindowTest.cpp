// The form windows against their models, driven the way the system drives them: keys and
// notifications sent to the real controls. What counts is what the core sees: which handlers
// run, how often, and what the models hold afterwards.
#include "platform/win32/FormWindow.h"
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace tabbern::win32 {
namespace {

class TestForm : public Form {
public:
    TestForm() : Form("frmTest") {
        setCaption("Test Form");
        Command1.setCaption("Save");
        Command2.setCaption("Cancel");
        setVisible(false);
    }
    ListBox List1{"List1"};
    TextBox Text1{"Text1"};
    ComboBox Combo1{"Combo1"};
    Label Label1{"Label1"};
    Button Command1{"Command1"};
    Button Command2{"Command2"};
    std::vector<Control*> allControls() override {
        return {&List1, &Text1, &Combo1, &Label1, &Command1, &Command2};
    }
};

FormLayout TestLayout() {
    FormLayout l;
    l.clientWidth = 6000;
    l.clientHeight = 4500;
    l.controls = {
        {"List1", {150, 150, 3000, 1500}},    {"Text1", {150, 1800, 3000, 390}},
        {"Combo1", {150, 2400, 3000, 390}},   {"Label1", {1500, 750, 2250, 270}},
        {"Command1", {150, 3300, 1500, 390}}, {"Command2", {1800, 3300, 1500, 390}},
    };
    l.cancel = "Command2";
    return l;
}

std::wstring TextOf(HWND w) {
    wchar_t buffer[256] = {};
    GetWindowTextW(w, buffer, 256);
    return buffer;
}

class FormWindowTest : public ::testing::Test {
protected:
    FormWindowTest() {
        form.List1.onClick = [this] { events.push_back("click " + form.List1.selectedText()); };
        form.List1.onDblClick = [this] { events.push_back("dblclick"); };
        form.Combo1.onClick = [this] { events.push_back("combo " + form.Combo1.text()); };
        form.Text1.onKeyPress = [this](int key) { events.push_back("key " + std::to_string(key)); };
        form.Command1.onClick = [this] { events.push_back("save"); };
        form.Command2.onClick = [this] { events.push_back("cancel"); };
        form.onActivate = [this] { events.push_back("activate"); };
    }

    // The controls work on a shown window, as the user meets them.
    void SetUp() override {
        if (!IsWindow(window.hwnd()))
            GTEST_SKIP() << "no window could be created: these tests need a display";
        host.showModeless(form);
        events.clear();
    }
    void TearDown() override { form.setVisible(false); }

    HWND control(const char* name) { return window.controlWindow(name); }

    FormWindow& makeWindow() {
        platform.setHost(host);
        host.setLayouts([](const Form&) { return TestLayout(); });
        return static_cast<FormWindow&>(host.windowOf(form));
    }

    Win32Platform platform;
    ViewHost host{platform};
    TestForm form;
    std::vector<std::string> events;
    FormWindow& window = makeWindow();
};

TEST_F(FormWindowTest, RendersTheModelsWithoutRunningHandlers) {
    form.List1.addItem("Alpha");
    form.List1.addItem("Beta");
    form.Combo1.addItem("All Groups");
    form.Combo1.addItem("Work");
    form.Text1.setText("typed");
    form.Label1.setCaption("Caption");
    events.clear();
    window.render();

    EXPECT_EQ(SendMessageW(control("List1"), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(control("Combo1"), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(TextOf(control("Text1")), L"typed");
    EXPECT_EQ(TextOf(control("Label1")), L"Caption");
    // Selecting from code runs the click once, in the core; drawing it runs nothing more.
    form.List1.setListIndex(1);
    window.render();
    EXPECT_EQ(SendMessageW(control("List1"), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"click Beta"}));
    EXPECT_EQ(form.Text1.text(), "typed");
}

TEST_F(FormWindowTest, ControlsLieWhereTheTwipsSay) {
    const double tpp = platform.twipsPerPixelX();
    RECT r;
    GetWindowRect(control("Label1"), &r);
    MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, static_cast<LONG>(1500 / tpp + 0.5));
    EXPECT_EQ(r.top, static_cast<LONG>(750 / tpp + 0.5));
    EXPECT_EQ(r.right - r.left, static_cast<LONG>(2250 / tpp + 0.5));
    RECT client;
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, static_cast<LONG>(6000 / tpp + 0.5));
}

TEST_F(FormWindowTest, ArrowKeysInTheListAreClicks) {
    for (const char* s : {"Alpha", "Beta", "Gamma"})
        form.List1.addItem(s);
    window.render();
    HWND list = control("List1");
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(form.List1.listIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"click Alpha", "click Beta"}));
}

TEST_F(FormWindowTest, MouseClicksEveryPressOnceAndBeforeTheDoubleClick) {
    for (const char* s : {"Alpha", "Beta"})
        form.List1.addItem(s);
    window.render();
    HWND list = control("List1");
    const int row = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM second = MAKELPARAM(10, row + row / 2);
    // A press that moves the selection clicks once; its release adds nothing.
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, second);
    SendMessageW(list, WM_LBUTTONUP, 0, second);
    EXPECT_EQ(events, (std::vector<std::string>{"click Beta"}));
    // A press on the entry already selected clicks too; the double-click follows the click.
    events.clear();
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, second);
    SendMessageW(list, WM_LBUTTONUP, 0, second);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, second);
    SendMessageW(list, WM_LBUTTONUP, 0, second);
    EXPECT_EQ(events, (std::vector<std::string>{"click Beta", "dblclick"}));
}

TEST_F(FormWindowTest, TypingReachesTheModelButSyncDoesNotEchoBack) {
    HWND edit = control("Text1");
    SendMessageW(edit, WM_CHAR, L'h', 0);
    SendMessageW(edit, WM_CHAR, L'\u00E9', 0);
    EXPECT_EQ(form.Text1.text(), "h\xC3\xA9");
    const std::uint64_t revision = form.Text1.revision();
    window.render();
    EXPECT_EQ(form.Text1.revision(), revision);
    EXPECT_TRUE(events.empty());
}

TEST_F(FormWindowTest, EnterInABoxGoesToItsKeyHandlerNotToAButton) {
    HWND edit = control("Text1");
    SetFocus(edit);
    // Through the dialog navigation, as the message loop hands it over.
    MSG msg{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    if (!platform.preTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"key 13"}));
}

TEST_F(FormWindowTest, EnterOnAFocusedButtonPressesIt) {
    form.setFocusedControl("Command1");
    window.render();
    MSG msg{GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    ASSERT_EQ(msg.hwnd, control("Command1"));
    platform.preTranslate(msg);
    EXPECT_EQ(events, (std::vector<std::string>{"save"}));
}

TEST_F(FormWindowTest, TheFrameCloseButtonAndEscapePressCancelAndTheWindowStays) {
    SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window.hwnd()));
    MSG msg{control("Text1"), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    platform.preTranslate(msg);
    EXPECT_EQ(events, (std::vector<std::string>{"cancel", "cancel"}));
}

TEST_F(FormWindowTest, DisabledButtonTakesNoClick) {
    form.Command1.setEnabled(false);
    window.render();
    EXPECT_FALSE(IsWindowEnabled(control("Command1")));
    SendMessageW(window.hwnd(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(control("Command1")), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control("Command1")));
    EXPECT_TRUE(events.empty());
}

TEST_F(FormWindowTest, ArrowKeyInTheClosedComboChoosesAnEntry) {
    form.Combo1.addItem("All Groups");
    form.Combo1.addItem("Work");
    window.render();
    SendMessageW(control("Combo1"), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(form.Combo1.listIndex(), 0);
    EXPECT_EQ(form.Combo1.text(), "All Groups");
    EXPECT_EQ(events, (std::vector<std::string>{"combo All Groups"}));
}

TEST_F(FormWindowTest, ShowingActivatesOnceAndReturningFromElsewhereDoesNot) {
    host.hideForm(form);
    events.clear();
    host.showModeless(form);
    EXPECT_EQ(events, (std::vector<std::string>{"activate"}));
    // The form is active already: coming back to it (as after a message box) is no activation.
    host.activated(form);
    EXPECT_EQ(events.size(), 1u);
    host.hideForm(form);
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    host.showModeless(form);
    EXPECT_EQ(events, (std::vector<std::string>{"activate", "activate"}));
    host.hideForm(form);
}

// ---- menus --------------------------------------------------------------------------------------

TEST(MenuBinder, TicksAndEnablingFollowTheModels) {
    MenuItem top{"menuoptions"};
    MenuItem sort{"menuremembersortchoices"};
    MenuItem path{"menusetdata"};
    top.setCaption("&Options");
    sort.setCaption("Remember Sort &Choices");
    path.setCaption("Change &Path For Data Files");
    top.children = {&sort, nullptr, &path};

    MenuBinder binder(500);
    HMENU bar = binder.buildBar({&top});
    HMENU popup = GetSubMenu(bar, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 3);
    const UINT sortId = GetMenuItemID(popup, 0);
    EXPECT_EQ(binder.itemOf(sortId), &sort);
    EXPECT_EQ(binder.itemOf(0), nullptr);

    binder.sync();
    EXPECT_FALSE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_CHECKED);
    sort.setChecked(true);
    path.setEnabled(false);
    EXPECT_TRUE(binder.sync());
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(popup, 2, MF_BYPOSITION) & MF_GRAYED);
    // Nothing changed: nothing to redraw.
    EXPECT_FALSE(binder.sync());

    wchar_t caption[64] = {};
    GetMenuStringW(popup, 2, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"Change &Path For Data Files");
}

} // namespace
} // namespace tabbern::win32
