#include "platform/qt/QtPlatform.h"

#include "app/App.h"
#include "editing/WebAddress.h"
#include "platform/os/Autostart.h"
#include "platform/qt/MenuBinder.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtLinkFetcher.h"
#include "platform/qt/Resources.h"
#include "platform/qt/ViewSupport.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDate>
#include <QDateTime>
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
#include <QScreen>
#include <QSystemTrayIcon>
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

} // namespace

// ---- construction and the windows ------------------------------------------------------------

QtPlatform::QtPlatform() : QtPlatform(QCoreApplication::arguments().mid(1)) {}

QtPlatform::QtPlatform(QStringList arguments)
    : arguments_(std::move(arguments)), executableFolder_(QCoreApplication::applicationDirPath()) {}

QtPlatform::~QtPlatform() = default;

std::unique_ptr<FormWindow> QtPlatform::createWindow(Form& form, const FormLayout& layout) {
    return std::make_unique<QtFormWindow>(*host_, form, layout);
}

void QtPlatform::runNestedLoop(Form& form) {
    QEventLoop loop;
    loops_[&form] = &loop;
    loop.exec(QEventLoop::DialogExec);
    loops_.erase(&form);
}

void QtPlatform::endNestedLoop(Form& form) {
    if (const auto loop = loops_.find(&form); loop != loops_.end())
        loop->second->quit();
}

void QtPlatform::popupMenu(MenuItem& menu) {
    QMenu popup;
    popup.setObjectName(Q(menu.name()));
    MenuBinder binder;
    binder.fill(popup, menu);
    binder.sync();
    // The command runs inside the event that opened the menu, before this returns.
    if (MenuItem* chosen = binder.itemOf(popup.exec(QCursor::pos())))
        chosen->click();
}

void QtPlatform::renderAll() {
    if (host_)
        host_->renderAll();
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
            programFolder_ = Q(os::XdgFolder("XDG_DATA_HOME", ".local/share") + "/tabbern");
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

std::string QtPlatform::shortDateOf(std::int64_t secondsSince1970) {
    const QDate date = QDateTime::fromSecsSinceEpoch(secondsSince1970).date();
    return date.isValid() ? S(QLocale::system().toString(date, QLocale::ShortFormat)) : "";
}

std::optional<std::int64_t> QtPlatform::secondsOfShortDate(const std::string& text) {
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    QDate date = QLocale::system().toDate(Q(text).trimmed(), format);
    if (!date.isValid())
        return std::nullopt;
    // A two-digit year reads as 19xx: take the century that puts it at most 20 years ahead.
    if (!format.contains(QLatin1String("yyyy")))
        while (date.year() < QDate::currentDate().year() - 80)
            date = date.addYears(100);
    return QDateTime(date, QTime(12, 0)).toSecsSinceEpoch();
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
    if (host_)
        for (Form* form : host_->forms())
            if (auto* w = dynamic_cast<QtFormWindow*>(host_->existingWindowOf(*form));
                w && w->isVisible())
                return w;
    return nullptr;
}

MsgResult QtPlatform::messageBox(const std::string& text, const std::string& title,
                                 MsgButtons buttons) {
    renderAll();
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
    return RefusingAnswer(buttons);
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
                             if (action != 0 && host_)
                                 host_->trayAction(action);
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
    renderAll();
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
    renderAll();
    if (folderBrowserHook_)
        return folderBrowserHook_(prompt);
    const QString folder =
        QFileDialog::getExistingDirectory(dialogParent(), Q(prompt), QDir::homePath());
    return S(QDir::toNativeSeparators(folder));
}

std::optional<std::string> QtPlatform::autostartEntry(const std::string& name) {
    return os::AutostartEntry(name);
}

void QtPlatform::writeAutostartEntry(const std::string& name, const std::string& command) {
    os::WriteAutostartEntry(name, command);
}

void QtPlatform::removeAutostartEntry(const std::string& name) {
    os::RemoveAutostartEntry(name);
}

LinkFetcher& QtPlatform::linkFetcher() {
    // Made on first use: a run that checks no link opens no network session.
    if (!linkFetcher_)
        linkFetcher_ = std::make_unique<QtLinkFetcher>();
    return *linkFetcher_;
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
    // An answer longer than any address is no redirect: it is dropped unread.
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received) {
        if (received > static_cast<qint64>(kFetchLimit))
            reply->abort();
    });
    timeout.start(fetchTimeoutMs_);
    // The program waits for the answer; the user's input waits with it.
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    std::string body;
    if (!reply->isFinished()) {
        reply->abort();
    } else if (reply->error() == QNetworkReply::NoError) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray data = reply->read(static_cast<qint64>(kFetchLimit) + 1);
        if (status >= 200 && status < 300 && data.size() <= static_cast<qint64>(kFetchLimit))
            body = data.toStdString();
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

} // namespace tabbern
