// The platform for Linux desktops, on Qt 6: program facts, message boxes, the status icon, the
// shell, the clipboard, file dialogs, XDG autostart entries and web fetches. As the renderer
// of the core's view host it makes the forms' windows and runs the nested loop of a modal one.
#pragma once

#include "platform/Platform.h"
#include "ui/ViewHost.h"

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

class QtPlatform : public Platform, public Renderer {
public:
    // The arguments after the program's name come from the application.
    QtPlatform();
    // The arguments after the program's name as given (tests pass their own switches).
    explicit QtPlatform(QStringList arguments);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // The host of the program's windows; the platform makes them for it (Renderer).
    void setHost(ViewHost& host) { host_ = &host; }

    // The status icon's mouse actions, numbered as the program's tray handling expects them.
    static constexpr int kTrayLeftButtonUp = 514;
    static constexpr int kTrayLeftDoubleClick = 515;
    static constexpr int kTrayRightButtonUp = 517;
    QSystemTrayIcon* trayIcon() const { return tray_.get(); }

    // ---- Renderer -----------------------------------------------------------------------
    std::unique_ptr<FormWindow> createWindow(Form& form, const FormLayout& layout) override;
    void runNestedLoop(Form& form) override;
    void endNestedLoop(Form& form) override;
    void popupMenu(MenuItem& menu) override;

    // ---- test hooks ---------------------------------------------------------------------
    // Replaces the end of the process; ProcessEnded is thrown after the hook has run, so that
    // the event unwinds to runEvent instead of ending the test runner. The real program never
    // sets it.
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
    std::string shortDateOf(std::int64_t secondsSince1970) override;
    std::optional<std::int64_t> secondsOfShortDate(const std::string& text) override;
    bool isHiddenOrSystemFile(const std::string& path) override;

    MsgResult messageBox(const std::string& text, const std::string& title,
                         MsgButtons buttons) override;
    [[noreturn]] void endProcess() override;

    double screenWidthTwips() override;
    double screenHeightTwips() override;
    double twipsPerPixelX() override;
    std::vector<ScreenArea> screenWorkAreas() override;

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
    LinkFetcher& linkFetcher() override;

private:
    QWidget* dialogParent() const;
    void renderAll();
    std::string runFileDialog(const FileDialogRequest& request, bool save);

    ViewHost* host_ = nullptr;
    QStringList arguments_;
    QString executableFolder_;
    QString programFolder_; // decided on first use, then fixed for the run
    std::map<const Form*, QEventLoop*> loops_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::optional<bool> trayAvailable_;
    std::function<void()> endProcessHook_;
    std::function<std::string(const std::string&)> folderBrowserHook_;
    FileDialogHook openFileDialogHook_;
    FileDialogHook saveFileDialogHook_;
    int fetchTimeoutMs_ = 5000;
    std::unique_ptr<LinkFetcher> linkFetcher_;
};

// The filters of an open or save dialog in Qt's "description (pattern pattern)" form.
QStringList QtNameFilters(const std::vector<FileFilter>& filters);

// A path as one argument of a desktop command line: quoted, with the characters that quotes
// do not protect escaped, when it holds anything but plain path characters.
QString QuoteCommandArgument(const QString& path);

} // namespace tabbern
