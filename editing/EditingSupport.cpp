#include "editing/EditingSupport.h"

#include "app/App.h"
#include "editing/Editing.h"
#include "store/Store.h"
#include "store/Text.h"

#include <charconv>

namespace tabbern {

namespace {

constexpr int kEnter = 13;

// The list texts of record numbers are short decimal numbers; anything else names no row.
bool ParseRecordNumber(const std::string& text, int& out) {
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    const char* end = t.data() + t.size();
    const auto [ptr, ec] = std::from_chars(t.data(), end, out);
    return ec == std::errc() && ptr == end;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && FindNoCase(s.substr(0, prefix.size()), prefix) == 0;
}

} // namespace

void Say(App& app, const std::string& text) {
    app.platform.messageBox(text, app.appTitle, MsgButtons::OK);
}

std::string TagRefusal(const std::string& what) {
    return what + " Cannot Contain [r], [n], [g], [d], [l] Or [u]";
}

bool ContainsRecordTag(std::string_view text) {
    for (const char* tag : kRecordTags)
        if (ContainsNoCase(text, tag))
            return true;
    return false;
}

bool RefuseTaggedFields(App& app, BookmarkDialog& dialog) {
    struct Field {
        const std::string& text;
        std::string what;
        const char* control;
    };
    const Field fields[] = {
        {dialog.Text1.text(), "A " + app.itemNoun + " Name", "Text1"},
        {dialog.Combo1.text(), "A Group Name", "Combo1"},
        {dialog.Text3.text(), "A URL", "Text3"},
    };
    for (const Field& f : fields) {
        if (ContainsRecordTag(f.text)) {
            Say(app, TagRefusal(f.what));
            dialog.setFocusedControl(f.control);
            return true;
        }
    }
    return false;
}

bool CheckBookmarkDialog(App& app, BookmarkDialog& dialog, const std::string& blankNameMessage,
                         std::string& name, std::string& url) {
    name = Trim(dialog.Text1.text());
    if (name.empty()) {
        Say(app, blankNameMessage);
        dialog.setFocusedControl("Text1");
        return false;
    }
    url = Trim(dialog.Text3.text());
    if (url.empty()) {
        Say(app, "Please Enter A URL");
        dialog.setFocusedControl("Text3");
        return false;
    }
    return !RefuseTaggedFields(app, dialog);
}

std::string GroupOrDefault(App& app, const std::string& trimmedGroup) {
    if (!trimmedGroup.empty())
        return trimmedGroup;
    return "Misc - " + app.platform.todayShortDate();
}

namespace {

// Longer addresses are refused: no page a person keeps needs one, and some shells cut them.
constexpr std::size_t kMaxWebAddressLength = 4096;

bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A host name: labels of letters, digits and hyphens (or non-ASCII, for international names)
// joined by single dots, neither starting nor ending with a dot or a hyphen.
bool IsHostName(std::string_view host) {
    if (host.empty() || host.front() == '.' || host.front() == '-' || host.back() == '.' ||
        host.back() == '-' || host.find("..") != std::string_view::npos)
        return false;
    for (const char c : host)
        if (!IsAsciiAlnum(c) && c != '.' && c != '-' && static_cast<unsigned char>(c) < 0x80)
            return false;
    return true;
}

// The authority of an address: a host name, optionally with a port of digits after a colon.
bool IsAuthority(std::string_view authority) {
    const std::size_t colon = authority.find(':');
    if (colon == std::string_view::npos)
        return IsHostName(authority);
    const std::string_view port = authority.substr(colon + 1);
    if (port.empty() || port.size() > 5)
        return false;
    for (const char c : port)
        if (c < '0' || c > '9')
            return false;
    return IsHostName(authority.substr(0, colon));
}

} // namespace

bool IsWebAddress(std::string_view url) {
    const std::string u = Trim(url);
    if (u.empty() || u.size() > kMaxWebAddressLength)
        return false;
    // Blanks and control characters end an address; one that holds them is not one address.
    for (const char c : u)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
            return false;
    std::string_view rest = u;
    if (StartsWithNoCase(rest, "http://"))
        rest.remove_prefix(7);
    else if (StartsWithNoCase(rest, "https://"))
        rest.remove_prefix(8);
    // What remains starts with the host: not a path, not a share, not another scheme (whose
    // colon is followed by something other than a port), not a user name before an "@".
    const std::size_t hostEnd = rest.find_first_of("/\\?#");
    const std::string_view authority = rest.substr(0, hostEnd);
    if (authority.find('@') != std::string_view::npos)
        return false;
    return IsAuthority(authority);
}

int RowOfRecordNumber(const App& app, const std::string& recordText) {
    int wanted = 0;
    if (!ParseRecordNumber(recordText, wanted))
        return -1;
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        int held = 0;
        if (ParseRecordNumber(app.bookmarks.at(r, kColRecord), held) && held == wanted)
            return r;
    }
    return -1;
}

void BookmarkDialog_KeyPress(BookmarkDialog& dialog, const std::string& fromControl, int key) {
    if (key != kEnter)
        return;
    if (fromControl == "Text1")
        dialog.setFocusedControl("Combo1");
    else if (fromControl == "Combo1")
        dialog.setFocusedControl("Text3");
    else if (fromControl == "Text3")
        dialog.setFocusedControl("Command1");
}

// ---- wiring -------------------------------------------------------------------------------

namespace {

void WireBookmarkDialogKeys(BookmarkDialog& d) {
    d.Text1.onKeyPress = [&d](int key) { BookmarkDialog_KeyPress(d, "Text1", key); };
    d.Combo1.onKeyPress = [&d](int key) { BookmarkDialog_KeyPress(d, "Combo1", key); };
    d.Text3.onKeyPress = [&d](int key) { BookmarkDialog_KeyPress(d, "Text3", key); };
}

} // namespace

void WireEditingHandlers(App& app) {
    MainForm& m = app.main;
    m.menuaddname.onClick = [&app] { menuaddname_Click(app); };
    m.menunamesedit.onClick = [&app] { menunamesedit_Click(app); };
    m.menunamesdelete.onClick = [&app] { menunamesdelete_Click(app); };
    m.menuaddgroup.onClick = [&app] { menuaddgroup_Click(app); };
    m.menueditselectedgroup.onClick = [&app] { menueditselectedgroup_Click(app); };
    m.menudeletegroup.onClick = [&app] { menudeletegroup_Click(app); };
    m.List1.onDblClick = [&app] { List1_DblClick(app); };
    m.LabelShowURLAddress.onDblClick = [&app] { LabelShowURLAddress_DblClick(app); };
    app.addGroupFromSelector = [](App& a, const std::string& name) {
        AddGroup(a, "combobox", "", name);
    };

    AddNameForm& add = app.frmAddName;
    add.onActivate = [&app] { frmAddName_Activate(app); };
    add.Command1.onClick = [&app] { frmAddName_Command1_Click(app); };
    add.Command2.onClick = [&app] { frmAddName_Command2_Click(app); };
    WireBookmarkDialogKeys(add);

    EditNameForm& edit = app.frmEditName;
    edit.onActivate = [&app] { frmEditName_Activate(app); };
    edit.Command1.onClick = [&app] { frmEditName_Command1_Click(app); };
    edit.Command2.onClick = [&app] { frmEditName_Command2_Click(app); };
    WireBookmarkDialogKeys(edit);

    EditGroupNameForm& rename = app.frmEditGroupName;
    rename.onActivate = [&app] { frmEditGroupName_Activate(app); };
    rename.Command1.onClick = [&app] { frmEditGroupName_Command1_Click(app); };
    rename.Command2.onClick = [&app] { frmEditGroupName_Command2_Click(app); };
    rename.Text3.onKeyPress = [&app](int key) { frmEditGroupName_Text3_KeyPress(app, key); };
}

} // namespace tabbern
