#include "checking/CheckLinks.h"

#include "app/App.h"
#include "editing/WebAddress.h"
#include "listview/ListView.h"
#include "store/Text.h"

#include <chrono>

namespace tabbern {

namespace {

std::int64_t Now(const LinkCheckSession& s) {
    if (s.clock)
        return s.clock();
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

std::string Progress(int done, int total) {
    return "Checked " + std::to_string(done) + " of " + std::to_string(total);
}

bool Running(const App& app) {
    return app.linkCheck.check && app.linkCheck.check->running();
}

void ShowProgress(App& app) {
    const LinkCheckSession& s = app.linkCheck;
    const int total = static_cast<int>(s.targets.size());
    app.frmCheckLinks.Label1.setCaption(Progress(s.checkedBookmarks, total));
    app.frmCheckLinks.ProgressBar1.setRange(s.checkedBookmarks, total);
}

void TakeResult(App& app, const LinkResult& result) {
    LinkCheckSession& s = app.linkCheck;
    s.unwritten.push_back({result.address, result.code, result.finalAddress, Now(s)});
    const bool fine = IsFineResult(result);
    const std::string text = ResultText(result, s.limits.timeoutSeconds);
    for (const LinkCheckTarget& t : s.targets) {
        if (t.address != result.address)
            continue;
        ++s.checkedBookmarks;
        if (!fine) {
            s.problems.push_back(t);
            app.frmCheckLinks.List1.addItem(t.name + "  \u2014  " + t.url + "  \u2014  " + text);
        }
    }
    ShowProgress(app);
}

// Writes what was found, at the end of a check or when it stops short.
void RememberResults(App& app, bool stopped) {
    LinkCheckSession& s = app.linkCheck;
    if (!s.unwritten.empty()) {
        CheckRecords written = UpdateCheckFile(s.filePath, s.unwritten);
        s.unwritten.clear();
        if (s.filePath == app.dataFile(app.checkFileName)) {
            s.records = std::move(written);
            s.recordsFolder = app.dataFolder;
            s.recordsRead = true;
        }
    }
    CheckLinksForm& f = app.frmCheckLinks;
    const int total = static_cast<int>(s.targets.size());
    const std::string needLook = std::to_string(s.problems.size()) + " need a look";
    f.Label1.setCaption(stopped ? "Stopped after " + std::to_string(s.checkedBookmarks) + " of " +
                                      std::to_string(total) + ", " + needLook
                                : Progress(s.checkedBookmarks, total) + ", " +
                                      (s.problems.empty() ? std::string("all fine") : needLook));
    f.Command1.setCaption("Close");
    ShowLastChecked(app);
}

void Stop(App& app) {
    if (!Running(app))
        return;
    app.linkCheck.check->cancel();
    RememberResults(app, true);
}

} // namespace

void menuchecklinks_Click(App& app) {
    CheckLinksForm& f = app.frmCheckLinks;
    LinkCheckSession& s = app.linkCheck;
    if (Running(app)) {
        app.forms.showModeless(f);
        app.forms.setForeground(f);
        return;
    }
    // The bookmarks the list shows: the group chosen, or every bookmark under All Groups.
    const MainForm& m = app.main;
    std::vector<LinkCheckTarget> targets;
    std::vector<std::string> addresses;
    for (int i = 0; i < m.List1.listCount() && i < m.List2.listCount(); ++i) {
        std::string address = BrowserAddress(m.List2.item(i));
        if (address.empty())
            continue;
        addresses.push_back(address);
        targets.push_back({m.List1.item(i), i < m.List5.listCount() ? m.List5.item(i) : "",
                           m.List2.item(i), std::move(address)});
    }
    if (targets.empty()) {
        app.platform.messageBox("There Are No Web Addresses To Check In This Group", app.appTitle,
                                MsgButtons::OK);
        return;
    }

    s.targets = std::move(targets);
    s.problems.clear();
    s.unwritten.clear();
    s.checkedBookmarks = 0;
    s.filePath = app.dataFile(app.checkFileName);
    const std::string shown = Trim(m.Combo1.text());
    f.setCaption("Check Links - " + (shown.empty() ? std::string("All Groups") : shown));
    f.List1.clear();
    f.Command1.setCaption("Cancel");
    ShowProgress(app);

    LinkFetcher& fetcher = app.platform.linkFetcher();
    fetcher.setAnswerHandler([&app](const FetchAnswer& answer) {
        app.forms.runAsEvent([&app, answer] { CheckLinks_Answer(app, answer); });
    });
    s.check = std::make_unique<LinkCheck>(fetcher, s.limits);
    s.check->onResult = [&app](const LinkResult& result) { TakeResult(app, result); };
    s.check->onDone = [&app] { RememberResults(app, false); };
    app.forms.showModeless(f);
    s.check->start(addresses);
}

void CheckLinks_Answer(App& app, const FetchAnswer& answer) {
    if (app.linkCheck.check)
        app.linkCheck.check->answer(answer);
}

void frmCheckLinks_Command1_Click(App& app) {
    if (Running(app))
        Stop(app);
    else
        app.forms.hideForm(app.frmCheckLinks);
}

void frmCheckLinks_cmdCloseBox_Click(App& app) {
    Stop(app);
    app.forms.hideForm(app.frmCheckLinks);
}

void frmCheckLinks_List1_DblClick(App& app) {
    const LinkCheckSession& s = app.linkCheck;
    const int row = app.frmCheckLinks.List1.listIndex();
    if (row < 0 || row >= static_cast<int>(s.problems.size()))
        return;
    const LinkCheckTarget target = s.problems[static_cast<std::size_t>(row)];
    MainForm& m = app.main;
    SelectGroupByName(app, Trim(target.group));
    for (int i = 0; i < m.List1.listCount() && i < m.List2.listCount(); ++i) {
        if (m.List1.item(i) == target.name && m.List2.item(i) == target.url) {
            m.List1.setListIndex(i);
            break;
        }
    }
    app.forms.setForeground(m);
    m.setFocusedControl(m.List1.name());
}

void StopLinkCheck(App& app) {
    Stop(app);
}

void ShowLastChecked(App& app) {
    LinkCheckSession& s = app.linkCheck;
    Label& label = app.main.lblLastChecked;
    if (app.dataFolder.empty()) {
        label.setCaption("");
        return;
    }
    if (!s.recordsRead || s.recordsFolder != app.dataFolder) {
        s.records = ReadCheckFile(app.dataFile(app.checkFileName));
        s.recordsFolder = app.dataFolder;
        s.recordsRead = true;
    }
    const std::string address = BrowserAddress(app.main.List2.selectedText());
    const CheckLine* line = address.empty() ? nullptr : s.records.find(address);
    std::string text;
    if (line) {
        const LinkResult result{line->address, line->code, line->finalAddress, {}};
        text = "Last checked: " + app.platform.shortDateOf(line->checkedAt) + ", " +
               ResultText(result, s.limits.timeoutSeconds);
    }
    label.setCaption(text);
    label.setToolTip(text.empty() ? std::string() : " " + text + " ");
}

void WireCheckingHandlers(App& app) {
    app.main.menuchecklinks.onClick = [&app] { menuchecklinks_Click(app); };
    CheckLinksForm& f = app.frmCheckLinks;
    f.Command1.onClick = [&app] { frmCheckLinks_Command1_Click(app); };
    f.cmdCloseBox.onClick = [&app] { frmCheckLinks_cmdCloseBox_Click(app); };
    f.List1.onDblClick = [&app] { frmCheckLinks_List1_DblClick(app); };
}

} // namespace tabbern
