// The clipboard import and the text-file import: bookmarks brought in from outside the
// program's own files, appended to the store.
#include "sharing/Sharing.h"

#include "app/App.h"
#include "editing/Editing.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "sharing/Harvest.h"
#include "sharing/SharingSupport.h"
#include "store/FileIo.h"
#include "store/Store.h"
#include "store/Text.h"
#include "store/TextFile.h"

#include <algorithm>
#include <new>
#include <optional>

namespace tabbern {

namespace {

// The text import keeps as many links as the store has rows.
constexpr std::size_t kLinkCapacity = BookmarkTable::kRows;

// The group a dialog's box gives: its selected entry (All Groups counting as none), else its
// trimmed text, else the "Misc - " group of today.
std::string SelectedOrTypedGroup(App& app, const ComboBox& box, bool& usedMisc) {
    usedMisc = false;
    const std::string selected = box.listIndex() >= 0 ? box.item(box.listIndex()) : "";
    if (!IsBlank(selected))
        return EqualsTrimLower(selected, kAllGroupsKey) ? MiscGroup(app) : selected;
    if (!IsBlank(box.text()))
        return Trim(box.text());
    usedMisc = true;
    return MiscGroup(app);
}

BookmarkRow NewRecord(App& app, int recordNumber, std::string name, std::string group,
                      std::string url) {
    BookmarkRow row;
    row[kColRecord] = std::to_string(recordNumber);
    row[kColName] = std::move(name);
    row[kColGroup] = std::move(group);
    row[kColDateAdded] = app.platform.todayShortDate();
    row[kColUrl] = std::move(url);
    return row;
}

void ImportClipboardText(App& app) {
    AddConfirmForm& d = app.frmAddConfirm;
    // A line break would split the record, so it is kept as a blank.
    const std::string clip = Trim(FlattenLineBreaks(app.platform.clipboardText()));
    if (ContainsRecordTag(clip)) {
        Say(app, TagRefusal("A URL"));
        return;
    }
    d.Text1.setText(clip);
    // Only the import button confirms; a dialog closed any other way imports nothing.
    app.importConfirmed = false;
    app.forms.showModal(d);

    std::string name = Trim(d.Text2.text());
    if (name.empty())
        name = clip;
    std::string group;
    const std::string selected =
        d.GroupList.listIndex() >= 0 ? d.GroupList.item(d.GroupList.listIndex()) : "";
    if (!IsBlank(selected) && !EqualsTrimLower(selected, kAllGroupsKey))
        group = selected;
    else
        group = MiscGroup(app);
    if (!IsBlank(d.GroupList.text()))
        group = Trim(d.GroupList.text());
    if (!app.importConfirmed)
        return;

    std::string url = clip;
    CompleteUrl(url);
    if (!AppendStoreRecords(app, {NewRecord(app, app.recordCount, name, group, url)}))
        return;
    LoadStore(app);
    AddGroup(app, "newname", "add", group);
    RefillBookmarkList(app);
    RefreshGroupsAfterImport(app);
}

} // namespace

// ---- clipboard ----------------------------------------------------------------------------

void ImportClipboardLink(App& app) {
    if (!StoreHasRoomFor(app, 1))
        return;
    AddConfirmForm& d = app.frmAddConfirm;
    d.GroupList.setEnabled(true);
    d.GroupList.setVisible(true);
    d.Label1.setVisible(true);
    d.Label2.setVisible(true);
    d.Text2.setEnabled(true);
    d.Text2.setVisible(true);
    d.Text1.setText("");
    ImportClipboardText(app);
    // The name belongs to the clipboard import alone.
    d.Label1.setVisible(false);
    d.Label2.setVisible(false);
    d.Text2.setEnabled(false);
    d.Text2.setVisible(false);
}

// ---- text file ----------------------------------------------------------------------------

void ImportTextFileLinks(App& app) {
    if (!StoreHasRoomFor(app, 1))
        return;
    FileDialogRequest request;
    request.filters = {{"All Text Files (*.*)", "*"}};
    const std::string path = Trim(app.platform.openFileDialog(request));
    if (path.empty())
        return;
    AddConfirmForm& confirm = app.frmAddConfirm;
    confirm.GroupList.setEnabled(true);
    confirm.GroupList.setVisible(true);
    confirm.Text1.setText("");

    std::vector<std::string> links;
    try {
        // Links with letters beyond ASCII read otherwise should the file prove to be in the
        // code page further on.
        bool nonAscii = false;
        const auto takeLink = [&links, &nonAscii](std::string_view link) {
            links.emplace_back(link);
            nonAscii = nonAscii || std::any_of(link.begin(), link.end(), [](char c) {
                           return static_cast<unsigned char>(c) >= 0x80;
                       });
            return true; // the harvester stops at its capacity
        };
        std::optional<LinkHarvester> harvester(std::in_place, takeLink, kLinkCapacity);
        // The file is read only as far as links can still be kept: once the list is full, no
        // later line changes it.
        StreamTextLines(
            path,
            [&](std::string_view text, const CodePage* undecoded, bool lineGoesOn) {
                if (harvester->add(text, undecoded, lineGoesOn))
                    return PieceAnswer::More;
                return nonAscii ? PieceAnswer::EnoughIfUtf8 : PieceAnswer::Enough;
            },
            [&] {
                links.clear();
                nonAscii = false;
                harvester.emplace(takeLink, kLinkCapacity);
            });
    } catch (const FileError& e) {
        SayCannotRead(app, path, e);
        return;
    } catch (const std::bad_alloc&) {
        // Nothing was written yet: the program goes on without this file.
        links = {};
        Say(app, "Cannot Read The File:\r" + path + "\rThere is not enough memory to read it.");
        return;
    }
    std::string list;
    for (const std::string& link : links)
        list += link + "\r\n";
    confirm.Text1.setText(list);

    // The links get their groups one by one later, not here.
    confirm.GroupList.setVisible(false);
    app.importConfirmed = false;
    app.forms.showModal(confirm);
    confirm.GroupList.setVisible(true);
    if (!app.importConfirmed)
        return;

    AssignNameForm& assign = app.frmAssignName;
    std::vector<std::string> names(links.size()), groups(links.size());
    // No more links are named than the store has room for.
    const int room =
        app.bookmarkLimit - app.recordCount - static_cast<int>(app.storeLinesPastLimit.size());
    int named = 0;
    app.continueImporting = true;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (IsBlank(links[i]) || !app.continueImporting)
            continue;
        // The store is full with what was named: the reload below says so.
        if (named >= room)
            break;
        assign.Text1.setText("");
        app.assignedName.clear();
        assign.Label3.setCaption(links[i]);
        assign.Label3.setToolTip(" " + links[i] + " ");
        app.forms.showModal(assign);
        if (!IsBlank(app.assignedName)) {
            names[i] = app.assignedName;
            ++named;
        }
        bool usedMisc = false;
        groups[i] = SelectedOrTypedGroup(app, assign.Combo1, usedMisc);
        if (usedMisc)
            app.assignedGroup = groups[i];
        assign.Label3.setCaption("");
        assign.Label3.setToolTip("");
    }

    std::vector<BookmarkRow> records;
    for (std::size_t i = 0; i < links.size(); ++i)
        if (!IsBlank(names[i]) && !IsBlank(links[i]))
            records.push_back(NewRecord(app, app.recordCount + static_cast<int>(i), names[i],
                                        groups[i], links[i]));
    if (!AppendStoreRecords(app, records))
        return;
    LoadStore(app);
    if (app.rememberSortFlag == 1)
        ApplySortChoice(app);
    // The group of the link named last, or of an earlier import when none was named.
    AddGroup(app, "newname", "add", app.assignedGroup);
    FillBookmarkList(app);
    RefreshGroupsAfterImport(app);
}

} // namespace tabbern
