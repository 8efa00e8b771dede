// The view host that both window systems render for, on a renderer that only records.
#include "ui/ViewHost.h"

#include "support/AppFixture.h"

#include <memory>

namespace tabbern::test {
namespace {

struct RecordingRenderer : Renderer {
    struct Window : FormWindow {
        Window(RecordingRenderer& r, Form& f) : renderer(r), form(f) {}
        void render() override {}
        void show(bool modal) override {
            renderer.calls.push_back((modal ? "modal " : "show ") + form.name());
            renderer.host->activated(form); // the window system activates a window it shows
        }
        void hide() override { renderer.calls.push_back("hide " + form.name()); }
        void applyWindowState() override {}
        void setForeground() override {}
        void place(const std::string&, const TwipRect&) override {}
        RecordingRenderer& renderer;
        Form& form;
    };
    std::unique_ptr<FormWindow> createWindow(Form& form, const FormLayout&) override {
        calls.push_back("create " + form.name());
        return std::make_unique<Window>(*this, form);
    }
    void runNestedLoop(Form& form) override {
        calls.push_back("loop " + form.name());
        host->hideForm(form); // the user closes it
    }
    void endNestedLoop(Form& form) override { calls.push_back("end " + form.name()); }
    void popupMenu(MenuItem&) override {}

    ViewHost* host = nullptr;
    Names calls;
};

class ViewHostTest : public ::testing::Test {
protected:
    ViewHostTest() {
        renderer.host = &host;
        host.setApp(app);
    }
    TempDir dir;
    FakePlatform fake{dir.path()};
    RecordingRenderer renderer;
    ViewHost host{renderer};
    App app{fake, host};
};

TEST_F(ViewHostTest, AWindowIsMadeOnceWhenFirstShownAndAModalOneRunsItsLoopUntilHidden) {
    host.hideForm(app.frmAbout);
    EXPECT_EQ(host.existingWindowOf(app.frmAbout), nullptr);
    for (int i = 0; i < 2; ++i) {
        host.showModeless(app.frmAbout);
        host.hideForm(app.frmAbout);
    }
    host.showModal(app.frmHelp);
    // An activation that hides the form already needs no loop.
    app.frmAbout.onActivate = [this] { host.hideForm(app.frmAbout); };
    host.showModal(app.frmAbout);
    EXPECT_EQ(renderer.calls,
              (Names{"create frmAbout", "show frmAbout", "hide frmAbout", "show frmAbout",
                     "hide frmAbout", "create frmHelp", "modal frmHelp", "loop frmHelp",
                     "hide frmHelp", "end frmHelp", "modal frmAbout", "hide frmAbout"}));
}

TEST_F(ViewHostTest, TheCloseBoxOfEveryDialogPressesItsCancelButton) {
    for (Form* form :
         std::vector<Form*>{&app.frmAddName, &app.frmEditName, &app.frmEditGroupName,
                            &app.frmAddConfirm, &app.frmAssignName, &app.frmAbout, &app.frmHelp}) {
        app.continueImporting = true;
        host.showModeless(*form);
        host.frameClosed(*form);
        EXPECT_FALSE(form->visible()) << form->name();
        // The naming dialog's stops the whole import.
        EXPECT_EQ(app.continueImporting, form != &app.frmAssignName) << form->name();
    }
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
