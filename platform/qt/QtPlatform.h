// The platform for Linux desktops, on Qt 6: program facts, message boxes, the forms' windows,
// the status icon, the shell, the clipboard, file dialogs, XDG autostart entries and web
// fetches. It also owns the event cycle of the views: every user event runs through runEvent,
// which hands it to the core and then renders every view once.
#pragma once

#include "platform/Platform.h"
#include "ui/FormActivation.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QEventLoop;
class QObject;
class QSystemTrayIcon;
class QWidget;

namespace tabbern {

struct App;
class Form;
class FormView;

class QtPlatform : public Platform {
public:
    // The arguments after the program's name come from the application.
    QtPlatform();
    // The arguments after the program's name as given (tests pass their own switches).
    explicit QtPlatform(QStringList arguments);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // The App is built on this platform, so it is handed over after construction.
    void setApp(App& app);

    // One user event: the handler runs through the core's dispatcher, then every view renders
    // the models once. Views call this for every input they forward.
    void runEvent(const std::function<void()>& handler);
    // Renders every view from its models now (before a message box or dialog appears).
    void syncViews();

    // The views of the forms. A form can only be shown once its view is registered.
    void registerView(FormView& view);
    void unregisterView(FormView& view);
    FormView* viewOf(const Form& form) const;
    // Makes and registers the view of a form that has none yet, the first time the core shows
    // it or asks for its window: a start then builds only the main window.
    using ViewMaker = std::function<void(Form&)>;
    void setViewMaker(ViewMaker maker) { viewMaker_ = std::move(maker); }

    // The registered views' windows report their activation and hiding here. A form's
    // activation handler runs when it becomes the program's active form: when shown, or when
    // the user switches to it from another form. A message box or file dialog closing over it
    // is not an activation, nor is coming back from another program.
    void windowActivated(Form& form);
    void windowHidden(Form& form);

    // The status icon's mouse actions, numbered as the program's tray handling expects them.
    static constexpr int kTrayLeftButtonUp = 514;
    static constexpr int kTrayLeftDoubleClick = 515;
    static constexpr int kTrayRightButtonUp = 517;
    void setTrayHandler(std::function<void(int)> handler);
    // A mouse action on the status icon, as the icon reports it: one event for the handler.
    void trayActivated(int action);
    QSystemTrayIcon* trayIcon() const { return tray_.get(); }

    // ---- test hooks ---------------------------------------------------------------------
    // Thrown after the end-process hook has run, so that the event unwinds to runEvent instead
    // of ending the test runner. Not a std::exception: the core's dispatcher lets it pass.
    struct ProcessEnded {};
    // Replaces the end of the process. The real program never sets it.
    void setEndProcessHook(std::function<void()> hook);
    // The folder that counts as the executable's (for the portable-copy test).
    void setExecutableFolder(QString folder);
    void setFetchTimeoutMs(int ms) { fetchTimeoutMs_ = ms; }
    // Makes the desktop count as one with (true) or without (false) a notification area;
    // nullopt asks the desktop again. Only what the core is told changes: no icon is added where
    // the desktop has none, yet adding one answers as the hook says. The real program never
    // sets it.
    void setTrayAvailable(std::optional<bool> available) { trayAvailable_ = available; }
    // Answers the folder browser instead of a real dialog: given the prompt, returns the chosen
    // folder or empty text for a cancel. The real program never sets it.
    void setFolderBrowserHook(std::function<std::string(const std::string&)> hook);
    // Answer the open and the save dialog instead of real ones: given what the core asked for,
    // return the chosen path or empty text for a cancel. The views are synced first, as for a
    // real dialog. The real program never sets them.
    using FileDialogHook = std::function<std::string(const FileDialogRequest&)>;
    void setOpenFileDialogHook(FileDialogHook hook);
    void setSaveFileDialogHook(FileDialogHook hook);

    // ---- Platform -----------------------------------------------------------------------
    std::string programFolder() override;
    std::string programFileBaseName() override;
    std::string programName() override;
    std::string commandLine() override;
    std::string programCommand() override;
    std::string todayShortDate() override;
    bool isHiddenOrSystemFile(const std::string& path) override;

    MsgResult messageBox(const std::string& text, const std::string& title,
                         MsgButtons buttons) override;
    void showModal(Form& form) override;
    void showModeless(Form& form) override;
    void hideForm(Form& form) override;
    [[noreturn]] void endProcess() override;

    double screenWidthTwips() override;
    double screenHeightTwips() override;
    double twipsPerPixelX() override;
    std::vector<ScreenArea> screenWorkAreas() override;
    void applyWindowState(Form& form) override;
    void setForeground(Form& form) override;
    void popupMenu(MenuItem& menu) override;

    bool trayAdd(const std::string& tip, int iconResource) override;
    void trayRemove() override;
    bool trayAvailable() override;

    bool shellOpen(const std::string& url) override;
    std::string clipboardText() override;
    std::string openFileDialog(const FileDialogRequest& request) override;
    std::string saveFileDialog(const FileDialogRequest& request) override;
    std::string browseForFolder(const std::string& prompt) override;

    std::optional<std::string> autostartEntry(const std::string& name) override;
    void writeAutostartEntry(const std::string& name, const std::string& command) override;
    void removeAutostartEntry(const std::string& name) override;

    std::string fetchUrl(const std::string& url) override;

private:
    class WindowWatcher;

    FormView& requireView(Form& form);
    FormView* viewOfWidget(const QObject* widget) const;
    QWidget* dialogParent() const;
    std::string runFileDialog(const FileDialogRequest& request, bool save);

    App* app_ = nullptr;
    QStringList arguments_;
    QString executableFolder_;
    QString programFolder_; // decided on first use, then fixed for the run
    std::vector<FormView*> views_;
    ViewMaker viewMaker_;
    std::map<const Form*, QEventLoop*> modalLoops_;
    FormActivation activation_;
    std::unique_ptr<WindowWatcher> watcher_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::function<void(int)> trayHandler_;
    std::optional<bool> trayAvailable_;
    std::function<void()> endProcessHook_;
    std::function<std::string(const std::string&)> folderBrowserHook_;
    FileDialogHook openFileDialogHook_;
    FileDialogHook saveFileDialogHook_;
    int fetchTimeoutMs_ = 5000;
};

// The filters of an open or save dialog in Qt's "description (pattern pattern)" form.
QStringList QtNameFilters(const std::vector<FileFilter>& filters);

// A path as one argument of a desktop command line: quoted, with the characters that quotes
// do not protect escaped, when it holds anything but plain path characters.
QString QuoteCommandArgument(const QString& path);

// The folder of XDG autostart entries ($XDG_CONFIG_HOME/autostart).
QString AutostartFolder();

} // namespace tabbern
