// The form windows against their models, driven the way the system drives them: keys and
// notifications sent to the real controls. What counts is what the core sees: which handlers
// run, how often, and what the models hold afterwards. Then message boxes and modal dialogs
// over such a window, the menus, and the program's windows as a screen reader reads them.
#include "app/App.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "ui/InterfaceTexts.h"
#include "ui/Layout.h"
#include "ui/Looks.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace tabbern::win32 {
namespace {

using Events = std::vector<std::string>;

std::wstring ClassOf(HWND w) {
    wchar_t buffer[64] = {};
    GetClassNameW(w, buffer, 64);
    return buffer;
}
std::wstring TextOf(HWND w) {
    wchar_t buffer[512] = {};
    GetWindowTextW(w, buffer, 512);
    return buffer;
}
// A key as the message loop hands it over: through the dialog navigation first.
void Key(Win32Platform& platform, HWND to, WPARAM vk) {
    MSG msg{to, WM_KEYDOWN, vk, 0, 0, {0, 0}};
    if (!platform.preTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

class TestForm : public Form {
public:
    explicit TestForm(std::string name = "frmTest") : Form(std::move(name)) { setVisible(false); }
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

// clang-format off
const FormLayout kLayout{.clientWidth = 6000, .clientHeight = 4500, .cancel = "Command2",
    .controls = {{"List1", {150, 150, 3000, 1500}}, {"Text1", {150, 1800, 3000, 390}},
                 {"Combo1", {150, 2400, 3000, 390}}, {"Label1", {1500, 750, 2250, 270}},
                 {"Command1", {150, 3300, 1500, 390}}, {"Command2", {1800, 3300, 1500, 390}}}};
// clang-format on

class FormWindowTest : public ::testing::Test {
protected:
    FormWindowTest() {
        form.List1.onClick = [this] { events.push_back("click " + form.List1.selectedText()); };
        form.List1.onDblClick = [this] { events.push_back("dblclick"); };
        form.Combo1.onClick = [this] { events.push_back("combo " + form.Combo1.text()); };
        form.Text1.onKeyPress = [this](int key) { events.push_back("key " + std::to_string(key)); };
        form.Command2.onClick = [this] { events.push_back("cancel"); };
        dialog.Command2.onClick = [this] { host.hideForm(dialog); };
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
    HWND hwnd(Form& f) { return static_cast<FormWindow&>(host.windowOf(f)).hwnd(); }
    FormWindow& makeWindow() {
        platform.setHost(host);
        host.setLayouts([](const Form&) { return kLayout; });
        return static_cast<FormWindow&>(host.windowOf(form));
    }

    Win32Platform platform;
    ViewHost host{platform};
    TestForm form;
    TestForm dialog{"frmDialog"}; // a dialog over the form; its close box hides it
    Events events;
    FormWindow& window = makeWindow();
};

TEST_F(FormWindowTest, RendersTheModelsWhereTheTwipsSayWithoutRunningHandlers) {
    for (const char* s : {"Alpha", "Beta"}) {
        form.List1.addItem(s);
        form.Combo1.addItem(s);
    }
    form.Text1.setText("typed");
    form.Label1.setCaption("Caption");
    form.Command1.setEnabled(false);
    // Selecting from code runs the click once, in the core; drawing it runs nothing more.
    form.List1.setListIndex(1);
    form.Combo1.setListIndex(0);
    window.render();
    EXPECT_EQ(events, (Events{"click Beta", "combo Alpha"}));
    EXPECT_EQ(SendMessageW(control("List1"), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(control("Combo1"), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(TextOf(control("Text1")), L"typed");
    EXPECT_EQ(TextOf(control("Label1")), L"Caption");
    EXPECT_FALSE(IsWindowEnabled(control("Command1")));

    const auto px = [&](double twips) { return TwipsToPixels(twips, platform.twipsPerPixelX()); };
    RECT r, client; // the label's place, the window's inside
    GetWindowRect(control("Label1"), &r);
    MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, client.right}),
              (std::vector<LONG>{px(1500), px(750), px(2250), px(6000)}));
}

TEST_F(FormWindowTest, ArrowKeysAndPressesClickTheListOnceAndBeforeTheDoubleClick) {
    for (const char* s : {"Alpha", "Beta", "Gamma"})
        form.List1.addItem(s);
    window.render();
    HWND list = control("List1");
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(form.List1.listIndex(), 1);
    const int row = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM third = MAKELPARAM(10, 2 * row + row / 2);
    // A press that moves the selection clicks once; its release adds nothing. A press on the
    // entry already selected clicks too; the double-click follows the click.
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                     WM_LBUTTONUP})
        SendMessageW(list, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, third);
    EXPECT_EQ(events,
              (Events{"click Alpha", "click Beta", "click Gamma", "click Gamma", "dblclick"}));
}

TEST_F(FormWindowTest, TypingAndArrowKeysInTheClosedComboReachTheModelsOnce) {
    form.Combo1.addItem("All Groups");
    window.render();
    SendMessageW(control("Combo1"), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(form.Combo1.text(), "All Groups");
    // Enter moves the focus by a request of the core's; the group box it reaches has its text
    // selected, so that typing replaces the group it offered.
    form.setFocusedControl("Combo1");
    window.render();
    SendMessageW(GetFocus(), WM_CHAR, L'W', 0);
    EXPECT_EQ(form.Combo1.text(), "W");
    // So does a text box holding text, such as an address offered from the clipboard.
    form.Text1.setText("https://clip.example/");
    form.setFocusedControl("Text1");
    window.render();
    SendMessageW(GetFocus(), WM_CHAR, L'h', 0);
    SendMessageW(control("Text1"), WM_CHAR, L'\u00E9', 0);
    EXPECT_EQ(form.Text1.text(), "h\xC3\xA9");
    // Rendering what was typed does not echo back into the model.
    const std::uint64_t revision = form.Text1.revision();
    window.render();
    EXPECT_EQ(form.Text1.revision(), revision);
    EXPECT_EQ(events, Events{"combo All Groups"});
}

// Enter in a box goes to its key handler and presses no button; on a focused button it presses
// that button. Escape and the frame's close button press the cancel button, and the window
// stays for the core to hide.
TEST_F(FormWindowTest, EnterEscapeAndTheCloseBox) {
    SetFocus(control("Text1"));
    Key(platform, control("Text1"), VK_RETURN);
    form.setFocusedControl("Command2");
    window.render();
    ASSERT_EQ(GetFocus(), control("Command2"));
    Key(platform, control("Command2"), VK_RETURN);
    Key(platform, control("Text1"), VK_ESCAPE);
    SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window.hwnd()));
    EXPECT_EQ(events, (Events{"key 13", "cancel", "cancel", "cancel"}));
}

// ---- message boxes and modal dialogs ------------------------------------------------------------

// The button the next message box is answered with, and the buttons it showed.
int pressed = IDOK;
std::vector<int> buttonsShown;

BOOL CALLBACK AnswerIfMessageBox(HWND w, LPARAM) {
    if (ClassOf(w) == L"#32770" && IsWindowVisible(w)) {
        for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
            if (GetDlgItem(w, id))
                buttonsShown.push_back(id);
        PostMessageW(w, WM_COMMAND, static_cast<WPARAM>(pressed), 0);
    }
    return TRUE;
}

// Answers the message box that is up, as a user pressing a button.
void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &AnswerIfMessageBox, 0);
    KillTimer(nullptr, timer);
}

TEST_F(FormWindowTest, MessageBoxesShowTheButtonsAskedForAndAnswerWithThePressedOne) {
    const std::tuple<MsgButtons, std::vector<int>, int, MsgResult> cases[] = {
        {MsgButtons::OK, {IDOK}, IDOK, MsgResult::OK},
        {MsgButtons::OKCancel, {IDOK, IDCANCEL}, IDCANCEL, MsgResult::Cancel},
        {MsgButtons::YesNo, {IDYES, IDNO}, IDYES, MsgResult::Yes},
        {MsgButtons::YesNo, {IDYES, IDNO}, IDNO, MsgResult::No},
    };
    for (const auto& [buttons, shown, press, answer] : cases) {
        pressed = press;
        buttonsShown.clear();
        SetTimer(nullptr, 0, 200, &AnswerMessageBox);
        EXPECT_EQ(platform.messageBox("Delete?", "Tabbern 5.2", buttons), answer) << press;
        EXPECT_EQ(buttonsShown, shown) << press;
    }
}

// The owner waits disabled while the dialog's loop runs, and is enabled again before the dialog
// hides, so that it gets the activation back; a message box closing over the dialog is no
// activation of the dialog.
TEST_F(FormWindowTest, TheOwnerWaitsDisabledAndAMessageBoxOverTheDialogIsNoActivation) {
    Events seen;
    dialog.onActivate = [&] {
        seen.push_back(IsWindowEnabled(hwnd(form)) ? "dialog, owner enabled"
                                                   : "dialog, owner disabled");
        if (seen.size() > 1)
            return;
        pressed = IDOK;
        SetTimer(nullptr, 0, 300, &AnswerMessageBox);
        platform.messageBox("Please Enter A URL", "Tabbern 5.2", MsgButtons::OK);
        // The frame's close button, as the user presses it then.
        PostMessageW(hwnd(dialog), WM_CLOSE, 0, 0);
    };
    form.onActivate = [&] { seen.push_back("owner"); };
    host.showModal(dialog);
    EXPECT_EQ(seen, (Events{"dialog, owner disabled", "owner"}));
    EXPECT_FALSE(IsWindowVisible(hwnd(dialog)));
    EXPECT_TRUE(IsWindowEnabled(hwnd(form)));
}

// ---- menus -------------------------------------------------------------------------------------

TEST(MenuBinder, TicksEnablingAndCaptionsFollowTheModels) {
    MenuItem top{"menuoptions"}, sort{"menuremembersortchoices"}, path{"menusetdata"};
    top.children = {&sort, nullptr, &path};
    MenuBinder binder(500);
    HMENU popup = GetSubMenu(binder.buildBar({&top}), 0);
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    EXPECT_EQ(binder.itemOf(GetMenuItemID(popup, 0)), &sort);
    sort.setChecked(true);
    path.setEnabled(false);
    path.setCaption("Change &Path");
    EXPECT_TRUE(binder.sync());
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(popup, 2, MF_BYPOSITION) & MF_GRAYED);
    wchar_t caption[64] = {};
    GetMenuStringW(popup, 2, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"Change &Path");
    // Nothing changed: nothing to redraw.
    EXPECT_FALSE(binder.sync());
}

// ---- accessibility ----------------------------------------------------------------------------

// The program's windows as a screen reader on Windows reads them: a box or list is named by the
// static text just before it in the Z order (its label, or an invisible one where the window
// shows none), a button by its window text, which the owner draw never shows; and Tab reaches
// every control that takes the keyboard in the table's order, out of a multi-line box too.
TEST(WindowsAccessibility, EveryInputIsNamedAsTheCoreNamesItAndTabReachesEachInTurn) {
    Win32Platform platform;
    ViewHost host{platform};
    App app{platform, host};
    host.setApp(app);
    platform.setHost(host);
    SetInterfaceTexts(app);
    SetLooks(app);
    for (Form* form :
         std::vector<Form*>{&app.main, &app.frmAddName, &app.frmEditName, &app.frmEditGroupName,
                            &app.frmAddConfirm, &app.frmAssignName, &app.frmAbout, &app.frmHelp,
                            &app.frmCheckLinks}) {
        SCOPED_TRACE(form->name());
        FormWindow& shown = static_cast<FormWindow&>(host.windowOf(*form));
        if (!IsWindow(shown.hwnd()))
            GTEST_SKIP() << "no window could be created: these tests need a display";
        form->onActivate = nullptr;
        host.showModeless(*form);
        std::vector<std::string> stops;
        for (const Placement& p : LayoutOf(app, *form).controls) {
            const Control* model = form->findControl(p.name);
            HWND w = shown.controlWindow(p.name);
            if (!model || !model->visible() || !w || ClassOf(w) == L"Static" ||
                ClassOf(w) == PROGRESS_CLASSW || (p.flags & kHidden))
                continue;
            stops.push_back(p.name);
            const std::wstring spoken = Widen(AccessibleName(*model));
            const bool button = ClassOf(w) == L"Button";
            HWND named = button ? w : GetWindow(w, GW_HWNDPREV);
            EXPECT_FALSE(spoken.empty()) << p.name;
            EXPECT_TRUE(button || ClassOf(named) == L"Static") << p.name;
            EXPECT_EQ(TextOf(named), spoken) << p.name;
            const Label* label = button ? nullptr : model->label();
            EXPECT_TRUE(!label || named == shown.controlWindow(label->name())) << p.name;
        }
        ASSERT_FALSE(stops.empty());
        SetFocus(shown.controlWindow(stops.front()));
        std::vector<std::string> reached;
        for (std::size_t i = 0; i < stops.size(); ++i) {
            Key(platform, GetFocus(), VK_TAB);
            // A combo box's edit box takes the focus for it.
            std::string at = "?";
            for (const std::string& name : stops)
                if (HWND w = shown.controlWindow(name);
                    w == GetFocus() || w == GetParent(GetFocus()))
                    at = name;
            reached.push_back(at);
        }
        std::rotate(stops.begin(), stops.begin() + 1, stops.end());
        EXPECT_EQ(reached, stops);
        host.hideForm(*form);
    }
}

} // namespace
} // namespace tabbern::win32
