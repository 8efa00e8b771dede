// The view host that both window systems render for, on a renderer that only records: which
// windows exist, what a frame's close box does, the modal loop, and what the user's window
// moves and state changes reach.
#include "ui/ViewHost.h"

#include "support/AppFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tabbern::test {
namespace {

class RecordingRenderer : public Renderer {
public:
    struct Window : FormWindow {
        explicit Window(RecordingRenderer& r, Form& f) : renderer(r), form(f) {}
        void render() override { ++renders; }
        void show(bool modal) override {
            renderer.calls.push_back((modal ? "modal " : "show ") + form.name());
            // The window system activates a window it shows.
            renderer.host->activated(form);
        }
        void hide() override { renderer.calls.push_back("hide " + form.name()); }
        void applyWindowState() override {}
        void setForeground() override {}
        void place(const std::string& control, const TwipRect& rect) override {
            places[control] = rect.height;
        }
        RecordingRenderer& renderer;
        Form& form;
        int renders = 0;
        std::map<std::string, int> places;
    };

    std::unique_ptr<FormWindow> createWindow(Form& form, const FormLayout& layout) override {
        calls.push_back("create " + form.name() + (layout.cancel ? " " : "") +
                        (layout.cancel ? layout.cancel : ""));
        return std::make_unique<Window>(*this, form);
    }
    void runNestedLoop(Form& form) override {
        calls.push_back("loop " + form.name());
        if (duringLoop)
            duringLoop(form);
    }
    void endNestedLoop(Form& form) override { calls.push_back("end " + form.name()); }
    void popupMenu(MenuItem&) override {}

    ViewHost* host = nullptr;
    std::vector<std::string> calls;
    std::function<void(Form&)> duringLoop;
};

class ViewHostTest : public ::testing::Test {
protected:
    ViewHostTest() {
        renderer.host = &host;
        host.setApp(app);
    }
    using Window = RecordingRenderer::Window;
    Window& windowOf(Form& form) { return static_cast<Window&>(host.windowOf(form)); }

    TempDir dir;
    FakePlatform fake{dir.path()};
    RecordingRenderer renderer;
    ViewHost host{renderer};
    App app{fake, host};
};

TEST_F(ViewHostTest, AWindowIsMadeOnceWhenFirstShownAndActivatedOncePerShowing) {
    int activations = 0;
    app.frmAbout.onActivate = [&] { ++activations; };
    host.hideForm(app.frmAbout);
    EXPECT_EQ(host.existingWindowOf(app.frmAbout), nullptr);
    for (int i = 0; i < 2; ++i) {
        host.showModeless(app.frmAbout);
        // A message box over it closes and hands the focus back: no activation.
        host.activated(app.frmAbout);
        host.hideForm(app.frmAbout);
    }
    EXPECT_EQ(renderer.calls,
              (std::vector<std::string>{"create frmAbout cmdOK", "show frmAbout", "hide frmAbout",
                                        "show frmAbout", "hide frmAbout"}));
    EXPECT_EQ(activations, 2);
}

// The close box of each dialog presses its cancel button, which hides it; the assign dialog's
// stops the whole import.
TEST_F(ViewHostTest, TheCloseBoxOfEveryDialogPressesItsCancelButton) {
    for (Form* form :
         std::vector<Form*>{&app.frmAddName, &app.frmEditName, &app.frmEditGroupName,
                            &app.frmAddConfirm, &app.frmAssignName, &app.frmAbout, &app.frmHelp}) {
        app.continueImporting = true;
        host.showModeless(*form);
        host.frameClosed(*form);
        EXPECT_FALSE(form->visible()) << form->name();
        EXPECT_EQ(app.continueImporting, form != &app.frmAssignName) << form->name();
    }
}

TEST_F(ViewHostTest, AModalFormRunsItsLoopUntilHiddenUnlessItsActivationHidItAlready) {
    renderer.duringLoop = [this](Form& form) { host.hideForm(form); };
    host.showModal(app.frmHelp);
    app.frmAbout.onActivate = [this] { host.hideForm(app.frmAbout); };
    host.showModal(app.frmAbout);
    EXPECT_EQ(renderer.calls,
              (std::vector<std::string>{"create frmHelp Command1", "modal frmHelp", "loop frmHelp",
                                        "hide frmHelp", "end frmHelp", "create frmAbout cmdOK",
                                        "modal frmAbout", "hide frmAbout"}));
}

TEST_F(ViewHostTest, EveryEventRendersEveryWindowOnceAndArrangesTheConfirmationsList) {
    Window& main = windowOf(app.main);
    Window& confirm = windowOf(app.frmAddConfirm);
    const int before = main.renders;
    app.frmAddConfirm.Text2.setVisible(false);
    app.frmAddConfirm.Label1.setVisible(false);
    app.frmAddConfirm.Label2.setVisible(false);
    app.frmAddConfirm.GroupList.setVisible(false);
    host.runEvent([] {});
    EXPECT_EQ(main.renders, before + 1);
    const int full = confirm.places.at("Text1");
    host.runEvent([this] { app.frmAddConfirm.Text2.setVisible(true); });
    EXPECT_LT(confirm.places.at("Text1"), full);
}

TEST_F(ViewHostTest, OnlyANewWindowStateRunsTheResizeHandlingAndAMinimisedWindowKeepsItsPlace) {
    std::vector<WindowState> resized;
    app.main.onResize = [&] { resized.push_back(app.main.windowState()); };
    host.userMoved(app.main, 150, 300, 4000, 8000);
    host.userChangedState(app.main, WindowState::Minimized);
    host.userChangedState(app.main, WindowState::Minimized);
    host.userMoved(app.main, -32000, -32000, 160, 30);
    EXPECT_EQ(resized, std::vector<WindowState>{WindowState::Minimized});
    EXPECT_EQ(app.main.left(), 150);
    EXPECT_EQ(app.main.height(), 8000);
}

} // namespace
} // namespace tabbern::test
