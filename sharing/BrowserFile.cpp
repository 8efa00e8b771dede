// The browser bookmarks file: its import with confirmation and its export. The file format
// itself is in BrowserBookmarks; here its links meet the store.
#include "sharing/Sharing.h"

#include "app/App.h"
#include "editing/Editing.h"
#include "editing/EditingSupport.h"
#include "editing/WebAddress.h"
#include "listview/ListView.h"
#include "sharing/BrowserBookmarks.h"
#include "sharing/SharingSupport.h"
#include "store/FileIo.h"
#include "store/Store.h"
#include "store/Text.h"

#include <unordered_map>
#include <unordered_set>

namespace tabbern {

namespace {

constexpr std::size_t kMaxFileBytes = 64u << 20;

// An address as the import compares them: completed as the store completes it, "http://" in
// front of one without a scheme (as the browser is given it), scheme and host in lower case.
std::string AddressKey(std::string url) {
    CompleteUrl(url);
    if (!HasWebScheme(url))
        url = "http://" + url;
    const std::size_t hostEnd = url.find_first_of("/?#", url.find("://") + 3);
    return LCase(std::string_view(url).substr(0, hostEnd)) +
           (hostEnd == std::string::npos ? "" : url.substr(hostEnd));
}

// The links of a file that the import leaves out, by reason.
struct LeftOut {
    int notWeb = 0;
    int tagged = 0;
    int allGroups = 0;
    int stored = 0;
    int repeated = 0;

    std::string text() const {
        const std::pair<int, std::string> reasons[] = {
            {notWeb, notWeb == 1 ? "Not A Web Address" : "Not Web Addresses"},
            {stored, "Already Stored"},
            {tagged, "Holding [r], [n], [g], [d], [l] Or [u]"},
            {allGroups, "In A Folder Named All Groups"},
            {repeated, "Repeated In The File"},
        };
        std::string out;
        for (const auto& [count, reason] : reasons)
            if (count > 0)
                out += (out.empty() ? "Left Out: " : ", ") + std::to_string(count) + " " + reason;
        return out.empty() ? out : out + ".";
    }
};

std::string Counted(const App& app, std::size_t n) {
    return std::to_string(n) + " " + app.itemNoun + (n == 1 ? "" : "s");
}

std::string DateOr(App& app, const std::optional<std::int64_t>& seconds,
                   const std::string& otherwise) {
    const std::string date = seconds ? app.platform.shortDateOf(*seconds) : "";
    return date.empty() ? otherwise : date;
}

// The bookmarks of the selector's group, or of All Groups, as links: one folder a group in the
// selector's order, then any group the selector does not list.
std::vector<BrowserLink> LinksToExport(App& app) {
    const std::string selector = TrimLower(app.main.Combo1.text());
    const bool allGroups = selector == kAllGroupsKey;
    std::vector<std::string> titles;
    std::unordered_map<std::string, std::size_t> folderOf;
    auto folder = [&](const std::string& group) {
        const auto [at, added] = folderOf.emplace(TrimLower(group), titles.size());
        if (added)
            titles.push_back(Trim(group));
        return at->second;
    };
    if (allGroups) {
        for (const std::string& item : app.main.Combo1.items())
            if (!IsBlank(item) && !EqualsTrimLower(item, kAllGroupsKey))
                folder(item);
    } else {
        // The group's folder has the name the selector shows.
        folder(app.main.Combo1.text());
    }
    std::vector<std::vector<BrowserLink>> byFolder;
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        const BookmarkRow& row = app.bookmarks.row(r);
        if (IsBlank(row[kColName]) || (!allGroups && !EqualsTrimLower(row[kColGroup], selector)))
            continue;
        BrowserLink link;
        link.name = Trim(row[kColName]);
        link.address = Trim(row[kColUrl]);
        if (!HasWebScheme(link.address))
            link.address = "http://" + link.address;
        if (!IsBlank(row[kColDateAdded]))
            link.added = app.platform.secondsOfShortDate(Trim(row[kColDateAdded]));
        if (!IsBlank(row[kColLastAccessed]))
            link.visited = app.platform.secondsOfShortDate(Trim(row[kColLastAccessed]));
        const std::size_t f = folder(row[kColGroup]);
        byFolder.resize(titles.size());
        byFolder[f].push_back(std::move(link));
    }
    std::vector<BrowserLink> links;
    for (std::size_t f = 0; f < byFolder.size(); ++f)
        for (BrowserLink& link : byFolder[f]) {
            link.folder = titles[f];
            links.push_back(std::move(link));
        }
    return links;
}

} // namespace

// ---- import -------------------------------------------------------------------------------

void ImportBrowserBookmarks(App& app) {
    if (!StoreHasRoomFor(app, 1))
        return;
    FileDialogRequest request;
    request.filters = {{"Browser Bookmarks (*.html;*.htm)", "*.html;*.htm"},
                       {"All Files (*.*)", "*"}};
    const std::string path = Trim(app.platform.openFileDialog(request));
    if (path.empty())
        return;

    std::string bytes;
    try {
        // A bookmarks file of thousands of links is a few megabytes: a larger one is refused
        // before more than the limit is read, so that a wrong choice costs no memory.
        bytes = ReadFileBytes(path, kMaxFileBytes);
    } catch (const FileError& e) {
        SayCannotRead(app, path, e);
        return;
    }

    std::unordered_set<std::string> stored, taken;
    for (int r = 0; r < app.recordCount; ++r)
        stored.insert(AddressKey(app.bookmarks.at(r, kColUrl)));
    const int room =
        app.bookmarkLimit - app.recordCount - static_cast<int>(app.storeLinesPastLimit.size());
    const std::string today = app.platform.todayShortDate();
    const std::string misc = MiscGroup(app);
    std::vector<BookmarkRow> records;
    std::string list;
    LeftOut leftOut;
    std::size_t found = 0;
    bool tooMany = false;
    ReadBrowserBookmarks(bytes, [&](BrowserLink&& link) {
        ++found;
        const std::string name = link.name.empty() ? link.address : link.name;
        const std::string group = link.folder.empty() ? misc : link.folder;
        if (!IsWebAddress(link.address)) {
            ++leftOut.notWeb;
        } else if (ContainsRecordTag(name) || ContainsRecordTag(group) ||
                   ContainsRecordTag(link.address)) {
            ++leftOut.tagged;
        } else if (EqualsTrimLower(group, kAllGroupsKey)) {
            ++leftOut.allGroups;
        } else if (std::string key = AddressKey(link.address); stored.count(key) != 0) {
            ++leftOut.stored;
        } else if (!taken.insert(std::move(key)).second) {
            ++leftOut.repeated;
        } else {
            // All or nothing, as the share import: a file that does not fit is refused whole.
            if (static_cast<int>(records.size()) >= room) {
                tooMany = true;
                return false;
            }
            BookmarkRow row;
            row[kColRecord] = std::to_string(app.recordCount + static_cast<int>(records.size()));
            row[kColName] = name;
            row[kColGroup] = group;
            row[kColDateAdded] = DateOr(app, link.added, today);
            row[kColLastAccessed] = DateOr(app, link.visited, "");
            row[kColUrl] = link.address;
            list += name + "\r\n" + link.address + "\r\n";
            records.push_back(std::move(row));
        }
        return true;
    });
    if (tooMany) {
        Say(app, LimitMessage(app, room));
        return;
    }
    if (found == 0) {
        Say(app, "No Bookmarks Were Found In The File:\r" + path);
        return;
    }
    if (records.empty()) {
        Say(app, "There Is Nothing To Import From The File:\r" + path + "\r" + leftOut.text());
        return;
    }

    AddConfirmForm& confirm = app.frmAddConfirm;
    confirm.GroupList.setEnabled(false);
    confirm.GroupList.setVisible(false);
    confirm.GroupList.setText("");
    confirm.Text1.setText(list);
    const std::string left = leftOut.text();
    confirm.Label3.setCaption(Counted(app, records.size()) + " To Import." +
                              (left.empty() ? "" : " " + left));
    confirm.Label3.setVisible(true);
    // Only the import button confirms; a dialog closed any other way imports nothing.
    app.importConfirmed = false;
    app.forms.showModal(confirm);
    confirm.Label3.setVisible(false);
    confirm.Label3.setCaption("");
    if (!app.importConfirmed)
        return;

    if (!AppendStoreRecords(app, records))
        return;
    LoadStore(app);
    RefillBookmarkList(app);
    // The folders become groups. The selector is filled from the group file, not mirrored as
    // it was: it does not list them yet.
    LoadGroups(app);
    AddMissingGroups(app);
    FillGroupSelector(app);
    app.main.Combo1.setListIndex(0);
    ShowSelectionDetails(app);
}

// ---- export -------------------------------------------------------------------------------

void ExportBrowserBookmarks(App& app) {
    FileDialogRequest request;
    request.filters = {{"Web Browser Bookmarks (*.html;*.htm)", "*.html;*.htm"}};
    request.defaultExt = "html";
    const std::string path = AskExportPath(app, request);
    if (path.empty())
        return;
    try {
        WriteFileAtomically(path, WriteBrowserBookmarks(LinksToExport(app)));
    } catch (const FileError& e) {
        SayCannotWrite(app, path, e);
        return;
    }
    const std::string& selector = app.main.Combo1.text();
    if (EqualsTrimLower(selector, kAllGroupsKey))
        Say(app, "Your Export of All Groups to <" + path + "> Is Complete");
    else
        Say(app, "Your Export of Group <" + selector + "> to <" + path + "> Is Complete");
}

void WireBrowserBookmarkHandlers(App& app) {
    app.main.menuimportfrombrowserfile.onClick = [&app] { ImportBrowserBookmarks(app); };
    app.main.menuexporttobrowserfile.onClick = [&app] { ExportBrowserBookmarks(app); };
}

} // namespace tabbern
