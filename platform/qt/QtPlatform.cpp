#include "platform/qt/QtPlatform.h"

#include "app/App.h"
#include "app/Dispatch.h"
#include "editing/WebAddress.h"
#include "platform/qt/FormView.h"
#include "platform/qt/MenuBinder.h"
#include "platform/qt/Resources.h"
#include "platform/qt/ViewSupport.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTextStream>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace tabbern {

namespace {

constexpr double kTwipsPerPixel = 15;

std::string S(const QString& s) {
    return s.toStdString();
}

// An XDG base folder: the variable when it holds an absolute path (relative ones are to be
// ignored), otherwise the default under the home folder.
QString XdgFolder(const char* variable, const QString& fallbackUnderHome) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + QLatin1Char('/') + fallbackUnderHome;
}

QString AutostartFile(const std::string& name) {
    return AutostartFolder() + QLatin1Char('/') + Q(name) + QStringLiteral(".desktop");
}

// Desktop entry values escape backslashes and control characters; Exec values also double
// the percent sign, which would otherwise start a field code.
QString EscapeExecValue(const QString& command) {
    QString out;
    for (QChar c : command) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '%':
            out += QStringLiteral("%%");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString UnescapeExecValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar n = value[++i];
            switch (n.unicode()) {
            case 's':
                out += QLatin1Char(' ');
                break;
            case 'n':
                out += QLatin1Char('\n');
                break;
            case 't':
                out += QLatin1Char('\t');
                break;
            case 'r':
                out += QLatin1Char('\r');
                break;
            default:
                out += n;
            }
        } else if (c == QLatin1Char('%') && i + 1 < value.size() &&
                   value[i + 1] == QLatin1Char('%')) {
            out += c;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

Qt::WindowStates ToQt(WindowState s) {
    switch (s) {
    case WindowState::Minimized:
        return Qt::WindowMinimized;
    case WindowState::Maximized:
        return Qt::WindowMaximized;
    case WindowState::Normal:
        break;
    }
    return Qt::WindowNoState;
}

} // namespace

// Watches the registered views' windows for activation and hiding, so that the views need not.
class QtPlatform::WindowWatcher : public QObject {
public:
    explicit WindowWatcher(QtPlatform& platform) : platform_(platform) {}

    bool eventFilter(QObject* watched, QEvent* e) override {
        FormView* view = platform_.viewOfWidget(watched);
        if (!view)
            return false;
        switch (e->type()) {
        case QEvent::WindowActivate:
            platform_.windowActivated(view->form());
            break;
        case QEvent::Show: {
            // A window shown again while the window system still gives it the focus gets no
            // new activation event, yet showing it is an activation.
            const QWindow* window = view->widget()->windowHandle();
            if (window && QGuiApplication::focusWindow() == window)
                platform_.windowActivated(view->form());
            break;
        }
        case QEvent::Hide:
            platform_.windowHidden(view->form());
            break;
        default:
            break;
        }
        return false;
    }

private:
    QtPlatform& platform_;
};

// ---- construction and the event cycle -------------------------------------------------------

QtPlatform::QtPlatform() : QtPlatform(QCoreApplication::arguments().mid(1)) {}

QtPlatform::QtPlatform(QStringList arguments)
    : arguments_(std::move(arguments)), executableFolder_(QCoreApplication::applicationDirPath()),
      watcher_(std::make_unique<WindowWatcher>(*this)) {}

QtPlatform::~QtPlatform() = default;

void QtPlatform::setApp(App& app) {
    app_ = &app;
}

void QtPlatform::runEvent(const std::function<void()>& handler) {
    try {
        if (app_)
            Dispatch(*app_, handler);
        else
            handler();
    } catch (const ProcessEnded&) {
        // Only with the test hook: the process "ended" inside this event.
    }
    syncViews();
}

void QtPlatform::syncViews() {
    const std::vector<FormView*> views = views_;
    for (FormView* view : views)
        view->sync();
}

void QtPlatform::registerView(FormView& view) {
    if (std::find(views_.begin(), views_.end(), &view) != views_.end())
        return;
    views_.push_back(&view);
    view.widget()->installEventFilter(watcher_.get());
}

void QtPlatform::unregisterView(FormView& view) {
    activation_.gone(view.form());
    view.widget()->removeEventFilter(watcher_.get());
    views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
}

FormView* QtPlatform::viewOfWidget(const QObject* widget) const {
    for (FormView* view : views_)
        if (view->widget() == widget)
            return view;
    return nullptr;
}

FormView* QtPlatform::viewOf(const Form& form) const {
    for (FormView* view : views_)
        if (&view->form() == &form)
            return view;
    return nullptr;
}

FormView& QtPlatform::requireView(Form& form) {
    FormView* view = viewOf(form);
    if (!view && viewMaker_) {
        viewMaker_(form);
        view = viewOf(form);
    }
    if (!view)
        throw std::logic_error("no window is registered for the form " + form.name());
    return *view;
}

void QtPlatform::windowActivated(Form& form) {
    if (activation_.becameActive(form) && form.onActivate)
        runEvent(form.onActivate);
}

void QtPlatform::windowHidden(Form& form) {
    activation_.gone(form);
}

void QtPlatform::setTrayHandler(std::function<void(int)> handler) {
    trayHandler_ = std::move(handler);
}

void QtPlatform::trayActivated(int action) {
    if (trayHandler_)
        runEvent([this, action] { trayHandler_(action); });
}

void QtPlatform::setEndProcessHook(std::function<void()> hook) {
    endProcessHook_ = std::move(hook);
}

void QtPlatform::setFolderBrowserHook(std::function<std::string(const std::string&)> hook) {
    folderBrowserHook_ = std::move(hook);
}

void QtPlatform::setOpenFileDialogHook(FileDialogHook hook) {
    openFileDialogHook_ = std::move(hook);
}

void QtPlatform::setSaveFileDialogHook(FileDialogHook hook) {
    saveFileDialogHook_ = std::move(hook);
}

void QtPlatform::setExecutableFolder(QString folder) {
    executableFolder_ = std::move(folder);
    programFolder_.clear();
}

// ---- program facts --------------------------------------------------------------------------

std::string QtPlatform::programFolder() {
    if (programFolder_.isEmpty()) {
        // A copy with its settings file beside the executable is portable and keeps
        // everything there; an installed copy keeps its files in the user's data folder.
        if (QFileInfo::exists(executableFolder_ + QStringLiteral("/tabbern.cfg"))) {
            programFolder_ = executableFolder_;
        } else {
            programFolder_ = XdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) +
                             QStringLiteral("/tabbern");
            QDir().mkpath(programFolder_);
        }
    }
    return S(QDir::toNativeSeparators(programFolder_));
}

std::string QtPlatform::programFileBaseName() {
    return "tabbern";
}

std::string QtPlatform::programName() {
    return "Tabbern";
}

std::string QtPlatform::commandLine() {
    return S(arguments_.join(QLatin1Char(' ')));
}

std::string QtPlatform::programCommand() {
    return S(QuoteCommandArgument(QCoreApplication::applicationFilePath()));
}

std::string QtPlatform::todayShortDate() {
    return S(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

// Linux has no hidden attribute; the names the program tests never start with a dot.
bool QtPlatform::isHiddenOrSystemFile(const std::string&) {
    return false;
}

// ---- message boxes and forms ----------------------------------------------------------------

QWidget* QtPlatform::dialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (FormView* view : views_)
        if (view->widget()->isVisible())
            return view->widget();
    return nullptr;
}

MsgResult QtPlatform::messageBox(const std::string& text, const std::string& title,
                                 MsgButtons buttons) {
    syncViews();
    QMessageBox box(QMessageBox::NoIcon, Q(title), Q(text), QMessageBox::NoButton, dialogParent());
    box.setTextFormat(Qt::PlainText);
    QPushButton* escape = nullptr;
    switch (buttons) {
    case MsgButtons::OK:
        escape = box.addButton(QMessageBox::Ok);
        box.setDefaultButton(escape);
        break;
    case MsgButtons::OKCancel:
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
        escape = box.addButton(QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setDefaultButton(box.addButton(QMessageBox::Yes));
        escape = box.addButton(QMessageBox::No);
        break;
    }
    // Plain buttons: some styles put a coloured glyph on Yes and No.
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    // Escape and the frame's close button both press the refusing button.
    box.setEscapeButton(escape);
    box.exec();

    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return MsgResult::OK;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        break;
    }
    return buttons == MsgButtons::OK         ? MsgResult::OK
           : buttons == MsgButtons::OKCancel ? MsgResult::Cancel
                                             : MsgResult::No;
}

void QtPlatform::showModal(Form& form) {
    FormView& view = requireView(form);
    form.setVisible(true);
    syncViews();
    QWidget* w = view.widget();
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    w->raise();
    w->activateWindow();

    QEventLoop loop;
    modalLoops_[&form] = &loop;
    if (form.visible())
        loop.exec(QEventLoop::DialogExec);
    modalLoops_.erase(&form);
}

void QtPlatform::showModeless(Form& form) {
    FormView& view = requireView(form);
    form.setVisible(true);
    syncViews();
    QWidget* w = view.widget();
    w->show();
    w->raise();
    w->activateWindow();
}

void QtPlatform::hideForm(Form& form) {
    form.setVisible(false);
    if (FormView* view = viewOf(form))
        view->widget()->hide();
    windowHidden(form);
    auto loop = modalLoops_.find(&form);
    if (loop != modalLoops_.end())
        loop->second->quit();
}

void QtPlatform::endProcess() {
    if (endProcessHook_) {
        endProcessHook_();
        throw ProcessEnded{};
    }
    // No file is held open between operations, so there is nothing to flush or close.
    std::_Exit(0);
}

// ---- screen, window and desktop -------------------------------------------------------------

double QtPlatform::screenWidthTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return (screen ? screen->availableGeometry().width() : 1024) * kTwipsPerPixel;
}

double QtPlatform::screenHeightTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return (screen ? screen->availableGeometry().height() : 768) * kTwipsPerPixel;
}

double QtPlatform::twipsPerPixelX() {
    return kTwipsPerPixel;
}

std::vector<ScreenArea> QtPlatform::screenWorkAreas() {
    std::vector<ScreenArea> areas;
    QList<QScreen*> screens = QGuiApplication::screens();
    // The primary screen first, as the core expects.
    std::stable_partition(screens.begin(), screens.end(),
                          [](const QScreen* s) { return s == QGuiApplication::primaryScreen(); });
    for (const QScreen* screen : screens) {
        const QRect r = screen->availableGeometry();
        areas.push_back({r.x() * kTwipsPerPixel, r.y() * kTwipsPerPixel, r.width() * kTwipsPerPixel,
                         r.height() * kTwipsPerPixel});
    }
    return areas;
}

void QtPlatform::applyWindowState(Form& form) {
    QWidget* w = requireView(form).widget();
    const Qt::WindowStates wanted = ToQt(form.windowState());
    const Qt::WindowStates current =
        w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (current != wanted)
        w->setWindowState((w->windowState() & ~current) | wanted);
}

void QtPlatform::setForeground(Form& form) {
    QWidget* w = requireView(form).widget();
    w->raise();
    w->activateWindow();
}

void QtPlatform::popupMenu(MenuItem& menu) {
    syncViews();
    QMenu popup;
    popup.setObjectName(Q(menu.name()));
    MenuBinder binder;
    binder.fill(popup, menu);
    binder.sync();
    // The command runs inside the event that opened the menu, before this returns.
    if (MenuItem* chosen = binder.itemOf(popup.exec(QCursor::pos())))
        chosen->click();
}

bool QtPlatform::trayAdd(const std::string& tip, int iconResource) {
    // Where the test hook makes the desktop count as one with a notification area but it has
    // none, the core is told of an icon that nobody sees.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return trayAvailable_.value_or(false);
    if (!tray_) {
        tray_ = std::make_unique<QSystemTrayIcon>();
        QObject::connect(tray_.get(), &QSystemTrayIcon::activated, tray_.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             int action = 0;
                             if (reason == QSystemTrayIcon::Trigger)
                                 action = kTrayLeftButtonUp;
                             else if (reason == QSystemTrayIcon::DoubleClick)
                                 action = kTrayLeftDoubleClick;
                             else if (reason == QSystemTrayIcon::Context)
                                 action = kTrayRightButtonUp;
                             if (action != 0)
                                 trayActivated(action);
                         });
    }
    // The tip may come padded as a fixed-size record: it ends at the first NUL.
    tray_->setToolTip(Q(tip.substr(0, tip.find('\0'))));
    QIcon icon = tabbernIcon(iconResource);
    tray_->setIcon(icon.isNull() ? tabbernIcon() : icon);
    tray_->show();
    return true;
}

void QtPlatform::trayRemove() {
    if (tray_)
        tray_->hide();
    tray_.reset();
}

bool QtPlatform::trayAvailable() {
    return trayAvailable_.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

// ---- shell and data exchange ----------------------------------------------------------------

bool QtPlatform::shellOpen(const std::string& url) {
    // The core's rule alone decides what reaches the browser: what it refuses has no browser
    // form.
    const std::string address = BrowserAddress(url);
    if (address.empty())
        return false;
    const QUrl web(Q(address), QUrl::TolerantMode);
    return web.isValid() && QDesktopServices::openUrl(web);
}

std::string QtPlatform::clipboardText() {
    return S(QGuiApplication::clipboard()->text());
}

std::string QtPlatform::runFileDialog(const FileDialogRequest& request, bool save) {
    syncViews();
    if (const FileDialogHook& hook = save ? saveFileDialogHook_ : openFileDialogHook_)
        return hook(request);
    QFileDialog dialog(dialogParent(), Q(request.title), Q(request.initialDir));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtNameFilters(request.filters);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(request.filterIndex, 1, static_cast<int>(filters.size()));
        dialog.selectNameFilter(filters.at(index - 1));
    }
    if (!request.defaultExt.empty())
        dialog.setDefaultSuffix(Q(request.defaultExt));
    if (!request.fileName.empty())
        dialog.selectFile(Q(request.fileName));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::string() : S(QDir::toNativeSeparators(chosen.first()));
}

std::string QtPlatform::openFileDialog(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::string QtPlatform::saveFileDialog(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::string QtPlatform::browseForFolder(const std::string& prompt) {
    syncViews();
    if (folderBrowserHook_)
        return folderBrowserHook_(prompt);
    const QString folder =
        QFileDialog::getExistingDirectory(dialogParent(), Q(prompt), QDir::homePath());
    return S(QDir::toNativeSeparators(folder));
}

std::optional<std::string> QtPlatform::autostartEntry(const std::string& name) {
    QFile file(AutostartFile(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    bool inMainGroup = false;
    QString exec;
    bool disabled = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == u"[Desktop Entry]";
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == u"Exec")
            exec = UnescapeExecValue(value);
        // Both ways a desktop switches an entry off mean that nothing starts.
        else if (key == u"Hidden" && value == u"true")
            disabled = true;
        else if (key == u"X-GNOME-Autostart-enabled" && value == u"false")
            disabled = true;
    }
    if (disabled || exec.trimmed().isEmpty())
        return std::nullopt;
    return S(exec);
}

void QtPlatform::writeAutostartEntry(const std::string& name, const std::string& command) {
    // Like the other desktops' start-up lists, a failure here is not reported: the entry is
    // simply absent at the next start.
    if (!QDir().mkpath(AutostartFolder()))
        return;
    QSaveFile file(AutostartFile(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Name=" << Q(name) << '\n'
        << "Comment=Starts " << Q(name) << " with the desktop session\n"
        << "Exec=" << EscapeExecValue(Q(command)) << '\n'
        << "Terminal=false\n"
        << "X-GNOME-Autostart-enabled=true\n";
    out.flush();
    file.commit();
}

void QtPlatform::removeAutostartEntry(const std::string& name) {
    QFile::remove(AutostartFile(name));
}

std::string QtPlatform::fetchUrl(const std::string& url) {
    const QUrl target(Q(url));
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() || (scheme != u"http" && scheme != u"https"))
        return {};

    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(target));
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(fetchTimeoutMs_);
    // The program waits for the answer; the user's input waits with it.
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    std::string body;
    if (!reply->isFinished()) {
        reply->abort();
    } else if (reply->error() == QNetworkReply::NoError) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 200 && status < 300)
            body = reply->readAll().toStdString();
    }
    reply->deleteLater();
    return body;
}

// ---- helpers --------------------------------------------------------------------------------

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList out;
    for (const FileFilter& f : filters) {
        QStringList patterns;
        for (const QString& p : Q(f.pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        // A description that already shows its patterns in parentheses would show them twice.
        QString description = Q(f.description).remove(trailingPatterns).trimmed();
        if (description.isEmpty())
            description = patterns.join(QLatin1Char(' '));
        out << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
    }
    return out;
}

QString QuoteCommandArgument(const QString& path) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(path).hasMatch())
        return path;
    QString quoted = QStringLiteral("\"");
    for (QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString AutostartFolder() {
    return XdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/autostart");
}

} // namespace tabbern
