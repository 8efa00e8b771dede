// The real main window on a full store (1000 bookmarks in 200 groups), on Qt's offscreen
// platform: adding a group the way a user does it, by typing a new name into the group
// selector and pressing Enter, until the list and the selector show the result. The command
// selects every group in turn; the view must still render only once for the event.
#include "FullStoreData.h"

#include "app/App.h"
#include "app/Startup.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtPlatform.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace tabbern {
namespace {

using bench::kFullGroups;
using bench::kFullRecords;

// Answers every message box with its default button as soon as its event loop runs, as a
// user reading a limit message presses OK.
class MessageBoxAnswerer : public QObject {
public:
    int answered = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                QTimer::singleShot(0, box, [this, box] {
                    ++answered;
                    if (QPushButton* b = box->defaultButton())
                        b->click();
                    else
                        box->reject();
                });
            }
        }
        return QObject::eventFilter(watched, e);
    }
};

MessageBoxAnswerer* Answerer() {
    static MessageBoxAnswerer* answerer = [] {
        auto* a = new MessageBoxAnswerer;
        qApp->installEventFilter(a);
        return a;
    }();
    return answerer;
}

// Counts how often a widget's item model was rebuilt or added to.
struct ModelChanges {
    int resets = 0;
    int insertions = 0;
    int removals = 0;

    void watch(QAbstractItemModel* model, QObject* context) {
        QObject::connect(model, &QAbstractItemModel::modelReset, context, [this] { ++resets; });
        QObject::connect(model, &QAbstractItemModel::rowsInserted, context,
                         [this] { ++insertions; });
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, context, [this] { ++removals; });
    }
    int total() const { return resets + insertions + removals; }
};

// The program as main() builds it, on a data folder of its own, started again and again on the
// same files. Ending the process is counted instead of done.
class QtProgram {
public:
    QtProgram(int records, int groups, std::string storeBytes = {})
        : records_(records), storeBytes_(storeBytes.empty() ? bench::StoreFileBytes(records, groups)
                                                            : std::move(storeBytes)),
          groupBytes_(bench::GroupFileBytes(groups)) {
        dataHome_ = home_.makeDir("data");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome_));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home_.makeDir("config")));
        folder_ = dataHome_ + "/tabbern";
        std::filesystem::create_directories(folder_);
        restart();
    }
    ~QtProgram() { stop(); }
    QtProgram(const QtProgram&) = delete;
    QtProgram& operator=(const QtProgram&) = delete;

    void restart() {
        stop();
        test::WriteBytes(folder_ + "/tabbern.dat", storeBytes_);
        test::WriteBytes(folder_ + "/tabbern.grp", groupBytes_);
        // Repeated start-ups must not stop at the already-running question.
        test::WriteBytes(folder_ + "/tabbern.ign", "");
        std::filesystem::remove(folder_ + "/tabbern.cfg");

        // No switches: the benchmark's own arguments must not reach the program.
        platform = std::make_unique<QtPlatform>(QStringList{});
        platform->setEndProcessHook([this] { ++processEnds; });
        host = std::make_unique<ViewHost>(*platform);
        app = std::make_unique<App>(*platform, *host);
        host->setApp(*app);
        platform->setHost(*host);
        view = static_cast<QtFormWindow*>(&host->windowOf(app->main));
        host->runEvent([this] { MainForm_Load(*app); });
        QApplication::processEvents();

        list = view->findChild<QListWidget*>(QStringLiteral("List1"));
        selector = view->findChild<QComboBox*>(QStringLiteral("Combo1"));
        listChanges = {};
        groupChanges = {};
        if (list && selector) {
            listChanges.watch(list->model(), list);
            groupChanges.watch(selector->model(), selector);
        }
    }

    bool started() const {
        return processEnds == 0 && app && app->recordCount == records_ && list && selector &&
               list->count() == records_;
    }

    // The widgets show exactly what the models hold.
    bool widgetsMatchModels() const {
        const ListBox& names = app->main.List1;
        const ComboBox& combo = app->main.Combo1;
        if (list->count() != names.listCount() || list->currentRow() != names.listIndex())
            return false;
        for (int i = 0; i < names.listCount(); ++i)
            if (list->item(i)->text() != QString::fromStdString(names.item(i)))
                return false;
        if (selector->count() != combo.listCount())
            return false;
        for (int i = 0; i < combo.listCount(); ++i)
            if (selector->itemText(i) != QString::fromStdString(combo.item(i)))
                return false;
        return selector->currentText() == QString::fromStdString(combo.text());
    }

    std::string groupFile() const { return test::ReadBytes(folder_ + "/tabbern.grp"); }

    int processEnds = 0;
    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<ViewHost> host;
    std::unique_ptr<App> app;
    QtFormWindow* view = nullptr;
    QListWidget* list = nullptr;
    QComboBox* selector = nullptr;
    ModelChanges listChanges, groupChanges;

private:
    void stop() {
        list = nullptr;
        selector = nullptr;
        view = nullptr;
        app.reset();
        host.reset();
        platform.reset();
        QApplication::processEvents();
    }

    test::TempDir home_;
    std::string dataHome_, folder_;
    int records_;
    std::string storeBytes_, groupBytes_;
};

// Enter in the selector's line edit with a new group name typed. At 200 groups the reload of
// the group file stops at its limit and shows the limit message (answered at once); with 198
// groups the new group fits and no message appears.
void BM_Qt_AddGroupFromSelector(benchmark::State& state) {
    const int groupCount = static_cast<int>(state.range(0));
    MessageBoxAnswerer* answerer = Answerer();
    QtProgram p(kFullRecords, groupCount);
    const QString newGroup = QStringLiteral("A new group");

    int messages = 0;
    int listModelChanges = 0;
    int selectorModelChanges = 0;
    bool ok = true;
    for (auto _ : state) {
        state.PauseTiming();
        p.restart();
        ok = p.started();
        if (ok) {
            // The user selects the selector's text and types the new name: one event per key.
            QLineEdit* edit = p.selector->lineEdit();
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, newGroup);
            QApplication::processEvents();
            ok = p.app->main.Combo1.text() == newGroup.toStdString();
        }
        p.listChanges = {};
        p.groupChanges = {};
        const int answeredBefore = answerer->answered;
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("the program did not start or take the typed name");
            break;
        }

        QTest::keyClick(p.selector->lineEdit(), Qt::Key_Return);
        // Paint what the event changed.
        QApplication::processEvents();

        state.PauseTiming();
        messages += answerer->answered - answeredBefore;
        listModelChanges += p.listChanges.total();
        selectorModelChanges += p.groupChanges.total();
        ok = p.processEnds == 0 && p.widgetsMatchModels();
        if (ok && groupCount < kFullGroups - 1)
            ok = p.groupFile().find("\nA new group\r\n") != std::string::npos &&
                 p.selector->currentText() == newGroup;
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("the widgets do not show the command's result");
            break;
        }
    }
    const auto perIteration = [&](int n) {
        return benchmark::Counter(n, benchmark::Counter::kAvgIterations);
    };
    state.counters["messages"] = perIteration(messages);
    state.counters["listModelChanges"] = perIteration(listModelChanges);
    state.counters["selectorModelChanges"] = perIteration(selectorModelChanges);
}
BENCHMARK(BM_Qt_AddGroupFromSelector)
    ->ArgName("groups")
    ->Arg(kFullGroups)
    ->Arg(kFullGroups - 2)
    ->Unit(benchmark::kMillisecond);

// Notes the first paint of any widget of one window.
class FirstPaint : public QObject {
public:
    QWidget* window = nullptr;
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && window && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window)
            painted = true;
        return QObject::eventFilter(watched, e);
    }
};

// Import From A Text File through the real window, from the menu command with the file chosen
// until the confirmation shows its list (`untilPainted`: until it has been laid out and
// painted, what a user waits for): the file is TABBERN_IMPORT_FILE (bench/import-sizes.sh makes
// them). A file the import refuses ends in a message instead, answered at once.
void TextImport(benchmark::State& state, bool untilPainted) {
    const QByteArray file = qgetenv("TABBERN_IMPORT_FILE");
    if (file.isEmpty()) {
        state.SkipWithError("TABBERN_IMPORT_FILE names no file");
        return;
    }
    MessageBoxAnswerer* answerer = Answerer();
    QtProgram p(10, 2);
    if (!p.started()) {
        state.SkipWithError("the program did not start");
        return;
    }
    p.platform->setOpenFileDialogHook(
        [path = file.toStdString()](const FileDialogRequest&) { return path; });
    QAction* command = p.view->findChild<QAction*>(QStringLiteral("menuimportfromtextfile"));
    Form& confirm = p.app->frmAddConfirm;
    FirstPaint watch;
    if (untilPainted)
        qApp->installEventFilter(&watch);
    int links = 0;
    const int answeredBefore = answerer->answered;
    for (auto _ : state) {
        watch.painted = !untilPainted;
        // The confirmation is answered as soon as its loop runs: the import ends there.
        QTimer::singleShot(0, [&] {
            watch.window = static_cast<QtFormWindow*>(&p.host->windowOf(confirm));
            while (!watch.painted)
                QApplication::processEvents();
            const std::string listed = p.app->frmAddConfirm.Text1.text();
            links = static_cast<int>(std::count(listed.begin(), listed.end(), '\n'));
            p.host->runEvent([&] { p.host->hideForm(confirm); });
        });
        command->trigger();
    }
    qApp->removeEventFilter(&watch);
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["links"] = links;
    state.counters["messages"] = answerer->answered - answeredBefore;
    state.counters["peakMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
void BM_Qt_TextImportToConfirmation(benchmark::State& state) {
    TextImport(state, false);
}
BENCHMARK(BM_Qt_TextImportToConfirmation)->Iterations(5)->Unit(benchmark::kMillisecond);
// Once, in a program that has not imported before: the memory it takes is fresh, as it is for
// the user; repeated imports in one process would reuse it and hide its cost.
void BM_Qt_TextImportToConfirmationPainted(benchmark::State& state) {
    TextImport(state, true);
}
BENCHMARK(BM_Qt_TextImportToConfirmationPainted)->Iterations(1)->Unit(benchmark::kMillisecond);

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, e);
    }
};

// Check Links In Selected Group on 1000 bookmarks, all of them answered by web servers on
// 127.0.0.1 (three, so that the limit of two requests a host still lets six run at once): from
// the menu command until the last answer is in. Meanwhile a 10 ms timer measures the longest
// time the window's event loop was held up, and the progress bar's paints are counted.
void BM_Qt_CheckLinks1000(benchmark::State& state) {
    test::LocalHttpServer servers[3];
    std::string store = HeaderLine() + "\r\n";
    for (int i = 0; i < kFullRecords; ++i) {
        // Pages that are there, missing and moved, each address its own.
        const char* page = i % 3 == 0 ? "/ok" : i % 3 == 1 ? "/missing" : "/found";
        store += "[r]" + std::to_string(i) + "[n]Page " + std::to_string(i) + "[g]" +
                 bench::GroupName(i % kFullGroups) + "[d]1/1/2026[l][u]" +
                 servers[i % 3].url(page) + "?n=" + std::to_string(i) + "\r\n";
    }
    // A full store says so at start-up.
    Answerer();
    QtProgram p(kFullRecords, kFullGroups, store);
    if (!p.started()) {
        state.SkipWithError("the program did not start");
        return;
    }
    QAction* command = p.view->findChild<QAction*>(QStringLiteral("menuchecklinks"));
    PaintCounter counter;
    double longestStallMs = 0;
    int answered = 0;
    for (auto _ : state) {
        command->trigger();
        auto* window = static_cast<QtFormWindow*>(&p.host->windowOf(p.app->frmCheckLinks));
        auto* bar = window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        if (bar)
            bar->installEventFilter(&counter);
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestStallMs = std::max(longestStallMs, sinceTick.nsecsElapsed() / 1e6 - 10);
            sinceTick.restart();
        });
        tick.start(10);
        while (p.app->linkCheck.check && p.app->linkCheck.check->running())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        tick.stop();
        answered =
            p.app->linkCheck.check ? static_cast<int>(p.app->linkCheck.check->finished()) : 0;
        p.host->runEvent([&] { p.host->hideForm(p.app->frmCheckLinks); });
    }
    state.counters["checked"] = answered;
    state.counters["longestStallMs"] = longestStallMs;
    state.counters["barPaints"] = counter.paints;
}
BENCHMARK(BM_Qt_CheckLinks1000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tabbern

int main(int argc, char** argv) {
    // No window appears: the views render into offscreen buffers.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform notes every window raise it cannot do; keep the figures readable.
    static const QtMessageHandler standardHandler = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QLatin1String("This plugin does not support")))
                standardHandler(type, context, text);
        });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
