// The program's windows as a screen reader on Windows reads them: a box or list is named by the
// static text just before it in the Z order (its label, or an invisible one where the window
// shows none), a button by its window text, which the owner draw never shows; and Tab reaches
// every control in turn, out of a multi-line box too.
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

#include <string>
#include <vector>

namespace tabbern::win32 {

// Shared with the form window tests.
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

namespace {

class WindowsAccessibility : public ::testing::Test {
protected:
    WindowsAccessibility() {
        host.setApp(app);
        platform.setHost(host);
        SetInterfaceTexts(app);
        SetLooks(app);
    }
    void SetUp() override {
        if (!IsWindow(window(app.main).hwnd()))
            GTEST_SKIP() << "no window could be created: these tests need a display";
    }

    FormWindow& window(Form& form) { return static_cast<FormWindow&>(host.windowOf(form)); }
    std::vector<Form*> forms() {
        return {&app.main,          &app.frmAddName,    &app.frmEditName, &app.frmEditGroupName,
                &app.frmAddConfirm, &app.frmAssignName, &app.frmAbout,    &app.frmHelp,
                &app.frmCheckLinks};
    }
    // The controls that take the keyboard, in the window's table order.
    std::vector<std::string> inputs(Form& form) {
        std::vector<std::string> out;
        for (const Placement& p : LayoutOf(app, form).controls) {
            const Control* model = form.findControl(p.name);
            HWND w = window(form).controlWindow(p.name);
            if (model && model->visible() && w && ClassOf(w) != L"Static" &&
                ClassOf(w) != PROGRESS_CLASSW && !(p.flags & kHidden))
                out.push_back(p.name);
        }
        return out;
    }

    Win32Platform platform;
    ViewHost host{platform};
    App app{platform, host};
};

TEST_F(WindowsAccessibility, EveryBoxListAndButtonIsNamedAsTheCoreNamesIt) {
    for (Form* form : forms()) {
        SCOPED_TRACE(form->name());
        FormWindow& shown = window(*form);
        shown.render();
        const std::vector<std::string> names = inputs(*form);
        EXPECT_FALSE(names.empty());
        for (const std::string& name : names) {
            const Control& model = *form->findControl(name);
            const std::wstring spoken = Widen(AccessibleName(model));
            EXPECT_FALSE(spoken.empty()) << name;
            HWND w = shown.controlWindow(name);
            if (ClassOf(w) == L"Button") {
                EXPECT_EQ(TextOf(w), spoken) << name;
                continue;
            }
            HWND before = GetWindow(w, GW_HWNDPREV);
            ASSERT_NE(before, nullptr) << name;
            EXPECT_EQ(ClassOf(before), L"Static") << name;
            EXPECT_EQ(TextOf(before), spoken) << name;
            if (const Label* label = model.label()) {
                EXPECT_EQ(before, shown.controlWindow(label->name())) << name;
            }
        }
    }
}

TEST_F(WindowsAccessibility, TabReachesEveryControlInTurn) {
    for (Form* form : forms()) {
        SCOPED_TRACE(form->name());
        form->onActivate = nullptr;
        host.showModeless(*form);
        FormWindow& shown = window(*form);
        std::vector<std::string> stops = inputs(*form);
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
        stops.push_back(stops.front());
        stops.erase(stops.begin());
        EXPECT_EQ(reached, stops);
        host.hideForm(*form);
    }
}

} // namespace
} // namespace tabbern::win32
