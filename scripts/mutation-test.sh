#!/usr/bin/env bash
# Mutation trial of the tests: do they fail on realistic one-line mistakes?
#
# Each mutant below is one small change of the program code: a limit off by one, a comparison
# turned round, a trim or a CR dropped, a step skipped or swapped, a save left out, a message
# or a default worded wrong. For each, the script applies it, rebuilds what the change needs,
# runs the tests that judge that file under a time limit (the core's; the GUI tests offscreen for
# the Qt front end; the Windows program's tests under wine64 for the Windows one, skipped where
# wine64 or MinGW is missing), records whether a test failed (killed) or all passed
# (survived), and puts the line back. The last line of its output is "K of N mutants killed".
#
# Other people edit the source tree while this runs, so the work tree is never touched: the
# files git would commit (tracked ones still present, untracked ones not ignored) are copied
# to a scratch folder, built there in a build folder of its own, and only that copy mutated.
#
#   scripts/mutation-test.sh            every mutant
#   scripts/mutation-test.sh WORD       only the mutants whose file or description holds WORD
#   scripts/mutation-test.sh --check    only tells which mutants no longer apply (stale)
#   scripts/mutation-test.sh --reuse [WORD]
#                                       the same, on the sources already copied into
#                                       TABBERN_MUTATION_DIR, without copying the work tree again
#
# TABBERN_MUTATION_DIR   a scratch folder to keep and reuse (default: a fresh one in /tmp,
#                        removed at the end); a reused one rebuilds only what changed
# TABBERN_MUTANT_SECONDS the time limit of one test run (default 300); a run that exceeds it
#                        counts as killed
# TABBERN_MUTATION_JOBS  parallel compile jobs (default 2)
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
limit=${TABBERN_MUTANT_SECONDS:-300}
jobs=${TABBERN_MUTATION_JOBS:-2}
check_only=0
reuse=0
only=""
case "${1:-}" in
--check) check_only=1 ;;
--reuse)
    reuse=1
    only="${2:-}"
    ;;
-h | --help)
    sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 0
    ;;
*) only="${1:-}" ;;
esac

# ---- the mutants -----------------------------------------------------------------------------
# "@ file | what the mistake is", then "- " and the exact original text (it must occur exactly
# once in the file, else the mutant is stale), then "+ " and its replacement.
read -r -d '' MUTANTS <<'TABLE'
@ app/Exit.cpp | Exit answered No ends the program, Yes keeps it
- MsgResult::Yes)
+ MsgResult::No)

@ app/Exit.cpp | the exit sequence forgets to store the window position
- if (app.main.menuscreenlocation.checked())
+ if (false)

@ app/Exit.cpp | the exit sequence leaves the minimised marker behind
- DeleteFileIfExists(app.programFile(app.minimisedMarkerName));
+ (void)0;

@ app/Startup.cpp | switch x disables the wrong menu item
- {'x', {&m.menuloadminimized}},
+ {'x', {&m.menuscreenlocation}},

@ app/Startup.cpp | the ignore marker no longer silences the already-running question
- if (!FileExists(app, app.programFolder, app.ignoreMarkerName)) {
+ if (true) {

@ app/Startup.cpp | the data-path file's folder is not trimmed
- app.dataFolder = Trim(ReadFirstLine(app.programFile(app.dataPathFileName)));
+ app.dataFolder = ReadFirstLine(app.programFile(app.dataPathFileName));

@ app/Startup.cpp | any remember-location flag but 0 places the window (only -1 means on)
- if (app.rememberLocationFlag == -1) {
+ if (app.rememberLocationFlag != 0) {

@ app/Startup.cpp | a window whose title bar hangs below the screen counts as reachable
- if (window.top >= a.top && window.top + kTitleBarTwips <= a.top + a.height &&
+ if (window.top >= a.top && window.top <= a.top + a.height &&

@ app/Startup.cpp | any load-minimised flag but 0 ticks the option (only 1 means on)
- app.main.menuloadminimized.setChecked(app.loadMinimisedFlag == 1);
+ app.main.menuloadminimized.setChecked(app.loadMinimisedFlag != 0);

@ app/Startup.cpp | start-up skips adding the groups the bookmarks use
- AddMissingGroups(app);
+ (void)0;

@ app/Window.cpp | a double-click on the tray icon no longer restores the window
- case kTrayLeftDoubleClick:
+ case kTrayLeftDoubleClick + 1000:

@ app/Window.cpp | minimising hides the window even without a tray icon to bring it back
- if (app.trayIconAdded)
+ if (true)

@ app/Window.cpp | minimising does not note that the window is in the tray
- app.inTrayFlag = -1;
+ app.inTrayFlag = 0;

@ app/Dispatch.cpp | an unexpected file error is shown but the program goes on
- EndProcess(app.platform);
+ return;

@ app/Dispatch.cpp | the file error message leaves out the system's reason
- return e.operation() + " \"" + e.path() + "\": " + e.reason();
+ return e.operation() + " \"" + e.path() + "\"";

@ app/App.cpp | the header line is worded differently
- " - Tabbern - Manage your Bookmarks and Favorite websites with any web browser - " +
+ " - Tabbern - Manage Your Bookmarks and Favorite websites with any web browser - " +

@ store/Store.cpp | the store loads one record past the bookmark limit
- if (app.recordCount > app.bookmarkLimit - 1) {
+ if (app.recordCount > app.bookmarkLimit) {

@ store/Store.cpp | the group file loads one name past the group limit
- if (app.groupCount > app.groupLimit - 1) {
+ if (app.groupCount > app.groupLimit) {

@ store/Store.cpp | a store one below the limit has no room for one more
- if (app.recordCount + static_cast<int>(app.storeLinesPastLimit.size()) + adding <=
+ if (app.recordCount + static_cast<int>(app.storeLinesPastLimit.size()) + adding <

@ store/Store.cpp | a CR inside a field is written as it is and splits the record
- if (c == '\r' || c == '\n')
+ if (c == '\n')

@ store/Store.cpp | a URL starting "https://" gets "www." put in front
- !ContainsNoCase(url, "https://") &&
+ true &&

@ store/Store.cpp | the URL is trimmed on the left only
- url.erase(last == std::string::npos ? 0 : last + 1);
+ (void)last;

@ store/Store.cpp | the conflict message names the wrong file
- app.platform.messageBox("The " + fileNoun + " File Was Changed By Another Copy Of " +
+ app.platform.messageBox("The " + app.itemNoun + " File Was Changed By Another Copy Of " +

@ store/Store.cpp | groups used by bookmarks are compared with their letter case
- if (known.insert(LCase(group)).second) {
+ if (known.insert(group).second) {

@ store/Store.cpp | an empty data file is taken for a damaged one
- if (found.exists && found.size == 0) {
+ if (found.exists && found.size == 0 && false) {

@ store/Store.cpp | the copy of a damaged file overwrites an earlier copy
- for (int n = 2; FileExistsIn(app.dataFolder, copy); ++n)
+ for (int n = 2; false; ++n)

@ store/Store.cpp | a refused repair leaves the running marker behind
- DeleteFileIfExists(app.programFile(app.runningMarkerName));
+ (void)0;

@ store/TextFile.cpp | written lines end in LF without the CR
- text += kLineEnd;
+ text += '\n';

@ store/TextFile.cpp | a CR LF read as two line ends
- i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
+ i += 1;

@ store/TextFile.cpp | an append joins its first line to a last line without line end
- if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n')
+ if (false)

@ store/TextFile.cpp | code-page bytes that read back as other text are written anyway
- if (ActiveCodePage().encode(text, encoded) && DecodeText(encoded) == text)
+ if (ActiveCodePage().encode(text, encoded))

@ store/Text.cpp | Trim removes leading blanks only
- return TrimRight(TrimLeft(s));
+ return TrimLeft(s);

@ store/Text.cpp | lower-casing ignores the step of alternating upper and lower case pairs
- if (cp > r.last || (cp - r.first) % r.stride != 0)
+ if (cp > r.last)

@ store/CodePage.cpp | byte 0x80 decodes to the currency sign instead of the euro
- 0x20AC, 0x0081, 0x201A,
+ 0x00A4, 0x0081, 0x201A,

@ store/FileIo.cpp | a save leaves the temporaries of killed saves behind
- RemoveLeftoversIn(folder, name);
+ (void)folder;

@ store/SharedFolder.cpp | a change of the same size goes unnoticed
- return seen.exists != now.exists || seen.size != now.size || seen.hash != now.hash;
+ return seen.exists != now.exists || seen.size != now.size;

@ listview/ListView.cpp | the group filter compares untrimmed and with letter case
- if (!everyGroup && !EqualsTrimLower(row[kColGroup], filterKey))
+ if (!everyGroup && row[kColGroup] != filterKey)

@ listview/ListView.cpp | sort by URL sorts by name
- {2, kColUrl, &MainForm::menusortbyurl},
+ {2, kColName, &MainForm::menusortbyurl},

@ listview/ListView.cpp | a sort command does not save the choice
- WriteSettings(app);
+ (void)0;

@ listview/ListView.cpp | a sort leaves the record numbers of the moved rows as they were
- row[kColRecord] = std::to_string(r);
+ (void)r;

@ listview/ListView.cpp | refills sort when sort choices are not remembered
- if (app.rememberSortFlag == 1)
+ if (app.rememberSortFlag == 0)

@ listview/ListView.cpp | the last-accessed label shows the date added
- m.lblDateAccessed.setCaption(" " + lastAccessed + " ");
+ m.lblDateAccessed.setCaption(" " + dateAdded + " ");

@ listview/BlankFirstOrder.h | a key of blanks sorts as a key, not first
- [&](std::size_t i) { return IsBlank(*keys[i]); });
+ [&](std::size_t i) { return keys[i]->empty(); });

@ listview/BlankFirstOrder.h | equal keys lose their order
- std::stable_sort(firstKeyed, order.end(),
+ std::sort(firstKeyed, order.end(),

@ listview/Search.cpp | the search compares listed names untrimmed
- if (TrimLower(m.List1.item(i)) == wanted) {
+ if (LCase(m.List1.item(i)) == wanted) {

@ listview/Search.cpp | a failed search leaves the last entry tried selected
- m.List1.setListIndex(before);
+ (void)before;

@ listview/GroupSelector.cpp | a rebuild enables a selector the command line disabled
- combo.setEnabled(wasEnabled);
+ combo.setEnabled(true);

@ listview/GroupSelector.cpp | the dialogs' group boxes offer All Groups
- if (!IsBlank(g) && TrimLower(g) != kAllGroupsKey)
+ if (!IsBlank(g))

@ editing/AddBookmark.cpp | the add dialog presets All Groups as the group
- if (TrimLower(selector.text()) != kAllGroupsKey)
+ if (true)

@ editing/AddBookmark.cpp | a new bookmark is never written
- RewriteStoreAdding(app, at);
+ (void)at;

@ editing/EditBookmark.cpp | an edit keeps the old date added
- row[kColDateAdded] = app.platform.todayShortDate();
+ (void)0;

@ editing/DeleteBookmark.cpp | the empty-list message is worded wrong
- Say(app, "There Are No " + app.itemNoun + "'s To Delete");
+ Say(app, "There Are No " + app.itemNoun + "s To Delete");

@ editing/DeleteBookmark.cpp | delete also takes copies whose URL differs in letter case
- Trim(row[kColUrl]) == urlKey;
+ TrimLower(row[kColUrl]) == LCase(urlKey);

@ editing/EditingSupport.cpp | a bookmark without group goes to "Misc" without the date
- return "Misc - " + app.platform.todayShortDate();
+ return "Misc";

@ editing/EditingSupport.cpp | a group named "all groups" in other case or with blanks is taken
- else if (TrimLower(text) == kAllGroupsKey)
+ else if (text == "All Groups")

@ editing/Groups.cpp | a rename moves only the bookmarks whose group has the same case
- if (TrimLower(group) == oldKey)
+ if (Trim(group) == Trim(d.Text1.text()))

@ editing/Groups.cpp | deleting a group deletes its bookmarks when asked to keep them
- if (!deleteBookmarks)
+ if (deleteBookmarks)

@ editing/OpenBookmark.cpp | an address without scheme is handed to the browser as it is
- if (!app.platform.shellOpen(BrowserAddress(url))) {
+ if (!app.platform.shellOpen(url)) {

@ editing/OpenBookmark.cpp | opening the second entry loses the selection
- if (position >= 1) {
+ if (position > 1) {

@ editing/WebAddress.cpp | a port of five digits is refused
- if (port.empty() || port.size() > 5)
+ if (port.empty() || port.size() > 4)

@ editing/WebAddress.cpp | an address of any length is let through
- if (u.empty() || u.size() > kMaxWebAddressLength)
+ if (u.empty())

@ editing/WebAddress.cpp | control characters inside an address are let through
- if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
+ if (c == ' ')

@ sharing/ShareFile.cpp | a share file one record below the free capacity is refused
- if (accepted >= freeCapacity) {
+ if (accepted + 1 >= freeCapacity) {

@ sharing/ShareFile.cpp | the import's group loses its first character
- group = lastLine.substr(groupStart - 1, dateTag - groupStart);
+ group = lastLine.substr(groupStart, dateTag - groupStart);

@ sharing/ShareFile.cpp | exporting All Groups writes the rows without a name too
- allGroups ? !IsBlank(row[kColName]) : EqualsTrimLower(row[kColGroup], selector);
+ allGroups ? !row[kColName].empty() : EqualsTrimLower(row[kColGroup], selector);

@ sharing/ShareFile.cpp | a cancelled open dialog that hands back its pattern is read as a file
- if (path.empty() || LCase(path) == "*.tbn")
+ if (path.empty())

@ sharing/Import.cpp | a group typed in the clipboard dialog is ignored for the one picked
- if (!IsBlank(d.GroupList.text()))
+ if (false)

@ sharing/Import.cpp | the text import names one link more than the store has room for
- if (named >= room)
+ if (named > room)

@ sharing/ImportDialogs.cpp | a group picked from the list is appended to the group file again
- if (!group.empty() && !IsGroupInList(d.Combo1, group))
+ if (!group.empty())

@ sharing/ImportDialogs.cpp | the Stop button of the naming dialog does not stop the import
- app.continueImporting = false;
+ (void)0;

@ sharing/Harvest.cpp | the harvester finds prefixes in lower case only
- return (c | 0x20) == 'w';
+ return c == 'w';

@ sharing/Harvest.cpp | a lone CR does not end a line for the harvester
- if (s[i] == ' ' || s[i] == '\r' || s[i] == '\n')
+ if (s[i] == ' ' || s[i] == '\n')

@ sharing/SharingSupport.cpp | an import does not add the groups its records use
- AddMissingGroups(app);
+ (void)0;

@ settings/Settings.cpp | the top and left of the window swap places in the record
- constexpr std::size_t kTopOffset = 116, kLeftOffset = 120;
+ constexpr std::size_t kTopOffset = 120, kLeftOffset = 116;

@ settings/Settings.cpp | the record's texts are padded with NUL bytes instead of blanks
- b[at + i] = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : ' ';
+ b[at + i] = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : '\0';

@ settings/Settings.cpp | halves are rounded up instead of to the even number
- if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0))
+ if (diff >= 0.5)

@ settings/Settings.cpp | any remember-sort flag but 0 ticks the remembered sort
- if (app.rememberSortFlag != 1) {
+ if (app.rememberSortFlag == 0) {

@ settings/Settings.cpp | a settings save that changes nothing leaves what a killed save left
- RemoveLeftoverTemporaries(path);
+ (void)0;

@ settings/Settings.cpp | the position is taken while the window is in the tray
- if (app.inTrayFlag == 0) {
+ if (true) {

@ settings/Settings.cpp | writing the record drops the bytes after it
- bytes = ReadFileBytes(path);
+ bytes = ReadFileBytes(path).substr(0, kSettingsRecordSize);

@ settings/Options.cpp | the load-minimised toggle stores -1 for on
- app.loadMinimisedFlag = FlipTick(app.main.menuloadminimized) ? 1 : 0;
+ app.loadMinimisedFlag = FlipTick(app.main.menuloadminimized) ? -1 : 0;

@ settings/Autostart.cpp | the session entry is written under a fixed name
- RunAtStartup(app, app.programName, app.platform.programCommand());
+ RunAtStartup(app, "Tabbern", app.platform.programCommand());

@ settings/DataFolder.cpp | a double-click on the folder label ignores switch y
- if (app.main.lblAltDatapath.enabled())
+ if (true)

@ settings/DataFolder.cpp | a folder browser that answers blanks changes the folder
- if (IsBlank(chosen))
+ if (chosen.empty())

@ ui/AboutHelp.cpp | the web site is opened without the version
- const std::string address = page + "?ID=" + app.versionText;
+ const std::string address = page;

@ ui/AboutHelp.cpp | the line end of the fetched redirect file stays in the address
- const std::string page = Trim(fetched.substr(0, fetched.find_last_not_of("\r\n") + 1));
+ const std::string page = Trim(fetched);

@ ui/AboutHelp.cpp | a redirect file of blanks is taken for an address
- if (IsBlank(fetched))
+ if (fetched.empty())

@ ui/FormActivation.h | a dialog shown again after hiding is no activation
- void gone(const Form& form) {
+ void gone(const Form& form) { return;

@ sharing/Harvest.cpp | a line that goes on hands its waiting links over at the end of each piece
- hold();
+ endLine();

@ sharing/Harvest.cpp | a line that goes on past the text is gone through again within the text
- if (!lineGoesOn || lineEnd < text.size()) {
+ if (true) {

@ sharing/Harvest.h | one link fewer waits than can still be taken
- return waiting < capacity_ - given_;
+ return waiting + 1 < capacity_ - given_;

@ store/TextFile.cpp | a long line is cut where a read ends, not after a blank
- end = AfterLastBlank(buffer, blankFree);
+ end = buffer.size();

@ store/TextFile.cpp | a streamed file keeps its byte-order mark as text
- if (first && piece.starts_with(kUtf8Bom))
+ if (false)

@ store/TextFile.cpp | a streamed file found to be in the code page late is not read again
- if (gaveNonAscii) {
+ if (false) {

@ store/TextFile.cpp | a stop that depends on the encoding ends the read at once
- (answer == PieceAnswer::EnoughIfUtf8 && (codePage || !gaveNonAscii)))
+ answer == PieceAnswer::EnoughIfUtf8)

@ store/FileIo.cpp | a whole-file read has no limit
- if (out.size() > limit)
+ if (false)

@ sharing/Import.cpp | the text import stops at a full list even with letters the encoding may change
- return nonAscii ? PieceAnswer::EnoughIfUtf8 : PieceAnswer::Enough;
+ return PieceAnswer::Enough;

@ app/Dispatch.cpp | a copy ended by a file error leaves its running marker behind
- if (app.runningMarkerWritten) {
+ if (false) {

@ checking/LinkCheck.cpp | a check sends one request more at once than its limit
- static_cast<int>(inFlight_.size()) < limits_.atOnce;) {
+ static_cast<int>(inFlight_.size()) <= limits_.atOnce;) {

@ checking/LinkCheck.cpp | a host's requests are not counted against its limit
- ++perHost_[j.host];
+ perHost_[j.host];

@ checking/LinkCheck.cpp | a server refusing HEAD with 501 is not asked with GET
- (a.status == 405 || a.status == 501)) {
+ a.status == 405) {

@ checking/LinkCheck.cpp | one redirect more than the limit is followed
- if (j.hops >= limits_.redirects) {
+ if (j.hops > limits_.redirects) {

@ checking/LinkCheck.cpp | a temporary redirect counts as a move
- return status == 301 || status == 308;
+ return status == 301 || status == 302 || status == 308;

@ checking/LinkCheck.cpp | a stop leaves the requests in flight running
- fetcher_.cancelAll();
+ ;

@ checking/CheckFile.cpp | a rechecked address gets a second line instead of replacing its first
- if (found != index_.end()) {
+ if (false) {

@ app/Exit.cpp | the program ends with a check still running
- StopLinkCheck(app);
+ ;

# The front ends' own logic: judged by the GUI tests and by the Windows program's tests.
@ platform/qt/QtPlatform.cpp | closing a Yes/No box through its frame answers Yes
- escape = box.addButton(QMessageBox::No);
+ escape = box.addButton(QMessageBox::Yes);

@ platform/qt/QtPlatform.cpp | a web fetch keeps an answer of any size
- && data.size() <= static_cast<qint64>(kFetchLimit))
+ )

@ platform/qt/QtPlatform.cpp | a program path quoted for the desktop leaves $ unescaped
- c == u'$' || c == u'\\'
+ c == u'\\'

@ platform/qt/QtPlatform.cpp | file-dialog patterns are split at commas instead of semicolons
- split(QLatin1Char(';')
+ split(QLatin1Char(',')

@ platform/qt/ViewSupport.cpp | Ctrl+Enter counts as Enter in the forms
- (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)
+ (Qt::AltModifier | Qt::MetaModifier)

@ platform/qt/QtFormWindow.cpp | buttons become auto-default, so Enter in a box presses one
- w->setAutoDefault(false);
+ w->setAutoDefault(true);

@ platform/qt/QtFormWindow.cpp | every render sets a text box's text again, moving the cursor
- if (w->text() != text)
+ if (true)

@ platform/qt/QtFormWindow.cpp | a button is the window's default, so Enter anywhere presses it
- w->setDefault(false);
+ w->setDefault(true);

@ platform/os/posix/Autostart.cpp | a percent sign in the autostart command is not doubled
- out += "%%";
+ out += "%";

@ platform/win32/Win32Platform.cpp | a Yes/No question shows OK and Cancel
- type = MB_YESNO;
+ type = MB_OKCANCEL;

@ platform/win32/Text.cpp | text for the ANSI code page takes best-fit look-alikes
- const DWORD flags = plain ? 0 : WC_NO_BEST_FIT_CHARS;
+ const DWORD flags = 0;

@ platform/win32/FormWindow.cpp | a text box given the focus by the program keeps its old selection
- SendMessageW(target, EM_SETSEL, 0, -1);
+ (void)target;

@ platform/win32/Win32Platform.cpp | a system file counts as visible
- (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0
+ (attributes & FILE_ATTRIBUTE_HIDDEN) != 0

@ platform/qt/QtLinkFetcher.cpp | the link check's requests go with Qt's own user agent
- r.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(LinkCheckUserAgent()));
+ (void)0;

@ platform/win32/WinHttpFetcher.cpp | the link check's requests name no program as their agent
- session_ = WinHttpOpen(Widen(LinkCheckUserAgent()).c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
+ session_ = WinHttpOpen(L"", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,

@ platform/win32/FormWindow.cpp | Enter in a text box never reaches the core
- if (wp == VK_RETURN && (b.kind == Kind::Text || b.kind == Kind::Combo)) {
+ if (wp == VK_RETURN && b.kind == Kind::Combo) {
TABLE

# Everything below is one function, read whole before it runs: the script may be edited while
# a long run goes on.
main() {

    work=${TABBERN_MUTATION_DIR:-}
    keep=1
    if [ -z "$work" ]; then
        work=$(mktemp -d /tmp/tabbern-mutation.XXXXXX)
        keep=0
    fi
    src=$work/src
    build=$work/build
    logs=$work/logs
    mkdir -p "$src" "$logs"

    current_file="" # the mutated file, to put back if the run is interrupted
    current_text=""
    cleanup() {
        if [ -n "$current_file" ]; then
            printf '%s' "$current_text" >"$current_file"
        fi
        if [ "$keep" = 0 ]; then
            rm -rf "$work"
        fi
    }
    trap cleanup EXIT
    trap 'exit 130' INT TERM

    # The whole file as text, trailing line ends included.
    slurp() {
        local text
        text=$(
            cat -- "$1"
            printf x
        ) || return 1
        printf '%s' "${text%x}"
    }

    # How often $2 occurs in $1.
    occurrences() {
        local hay=$1 needle=$2
        if [ -z "$needle" ]; then
            echo 0
            return
        fi
        local rest=${hay//"$needle"/}
        echo $(((${#hay} - ${#rest}) / ${#needle}))
    }

    # Copies the files git would commit into the scratch folder; unchanged files are not touched, so
    # that a reused build rebuilds only what changed, and files gone from the work tree go here too.
    copy_sources() {
        local list=$work/files.txt f
        git -C "$root" ls-files -z --cached --others --exclude-standard >"$list" || return 1
        if [ -z "$(ls -A "$src")" ]; then
            # A fresh folder: one copy of everything (files deleted but still tracked skipped).
            (cd "$root" && xargs -0 -r sh -c 'for f; do [ -f "$f" ] && printf "%s\0" "$f"; done' sh \
                <"$list" | tar --null -T - -cf -) | tar -xf - -C "$src"
            return
        fi
        local -A wanted=()
        while IFS= read -r -d '' f; do
            [ -f "$root/$f" ] || continue
            wanted[$f]=1
            if ! cmp -s -- "$root/$f" "$src/$f"; then
                mkdir -p -- "$(dirname -- "$src/$f")"
                cp -- "$root/$f" "$src/$f" || return 1
            fi
        done <"$list"
        while IFS= read -r -d '' f; do
            f=${f#"$src"/}
            [ -n "${wanted[$f]:-}" ] || rm -f -- "$src/$f"
        done < <(find "$src" -type f -print0)
    }

    # Which tests judge a mutant: the Qt front end's and the XDG autostart code's by the GUI
    # tests, the Windows front end's by the Windows program's tests under wine64, the rest by
    # the core's tests.
    suite_of() {
        case "$1" in
        platform/qt/* | platform/os/posix/Autostart.cpp) echo gui ;;
        platform/win32/*) echo win32 ;;
        *) echo core ;;
        esac
    }
    declare -A target=([core]=tabbern_tests [gui]=tabbern_gui_tests [win32]=tabbern_win32_tests)
    declare -A filter=() ready=()
    wine64=""
    for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            wine64=$candidate
            break
        fi
    done

    build_tests() { # suite log
        cmake --build "$build-$1" --target "${target[$1]}" -j "$jobs" >"$2" 2>&1
    }

    # Runs a suite's tests once; with fail-fast unless told "all".
    run_suite() { # suite log [all]
        local exe=$build-$1/tests/${target[$1]} fast=--gtest_fail_fast
        [ "${3:-}" = all ] && fast=""
        case "$1" in
        core) timeout --kill-after=10 "$limit" "$exe" --gtest_brief=1 $fast \
            "--gtest_filter=${filter[$1]:-*}" >"$2" 2>&1 ;;
        gui) QT_QPA_PLATFORM=offscreen timeout --kill-after=10 "$limit" "$exe" --gtest_brief=1 \
            $fast "--gtest_filter=${filter[$1]:-*}" >"$2" 2>&1 ;;
        win32)
            exe=$(find "$build-win32" -name "${target[win32]}.exe" -print -quit)
            WINEPREFIX=$work/wineprefix WINEDEBUG=-all timeout --kill-after=10 "$limit" \
                xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$wine64" "$exe" \
                --gtest_brief=1 $fast "--gtest_filter=${filter[$1]:-*}" >"$2" 2>&1
            ;;
        esac
    }

    # Runs a suite's tests; prints the first failing test, or "time limit". Status 0: all passed.
    run_tests() { # suite log
        local status
        run_suite "$1" "$2"
        status=$?
        if [ "$status" = 0 ]; then
            return 0
        fi
        if [ "$status" = 124 ] || [ "$status" = 137 ]; then
            echo "time limit"
        else
            local failed
            failed=$(grep -m1 -o '^\[  FAILED  \] [^ ,]*' "$2" | cut -c14-)
            echo "${failed:-exit status $status}"
        fi
        return 1
    }

    # Configures and builds a suite's unchanged copy once, and runs it: tests that fail without
    # any mutant (a change in progress elsewhere) would kill every mutant, so they are left out,
    # and said. Status 1: the suite cannot judge here (not buildable, or wine missing).
    prepare_suite() { # suite
        local suite=$1
        [ -n "${ready[$suite]:-}" ] && return "${ready[$suite]}"
        ready[$suite]=1
        local options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DTABBERN_BUILD_BENCH=OFF
            -DTABBERN_WERROR=OFF)
        case "$suite" in
        core) options+=(-DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DTABBERN_BUILD_GUI=OFF) ;;
        gui) options+=(-DCMAKE_CXX_FLAGS_RELEASE="-O1" -DTABBERN_BUILD_GUI=ON) ;;
        win32)
            if [ -z "$wine64" ] || ! command -v x86_64-w64-mingw32-g++ >/dev/null ||
                ! command -v xvfb-run >/dev/null; then
                echo "mutation-test: no wine64, MinGW or xvfb-run: the Windows mutants are skipped" >&2
                return 1
            fi
            options+=(-DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-x86_64.cmake"
                -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DTABBERN_CORE_ONLY=OFF -DTABBERN_BUILD_WIN32=ON)
            mkdir -p "$work/wineprefix"
            WINEPREFIX=$work/wineprefix WINEDEBUG=-all DISPLAY="" "$wine64" wineboot -i \
                >"$logs/wineboot.log" 2>&1
            ;;
        esac
        echo "Configuring and building the unchanged copy in $build-$suite" >&2
        if ! cmake -S "$src" -B "$build-$suite" "${options[@]}" >"$logs/configure-$suite.log" 2>&1 ||
            ! build_tests "$suite" "$logs/baseline-build-$suite.log"; then
            echo "mutation-test: the unchanged copy does not build; see $logs (the tree may be in" \
                "the middle of someone's change: try again in a minute)" >&2
            keep=1
            exit 2
        fi
        if ! run_suite "$suite" "$logs/baseline-$suite.log" all; then
            local broken
            mapfile -t broken < <(grep -o '^\[  FAILED  \] [^ ,]*' "$logs/baseline-$suite.log" |
                cut -c14- | sort -u)
            if [ "${#broken[@]}" = 0 ]; then
                echo "mutation-test: the unchanged $suite tests do not finish; see $logs" >&2
                keep=1
                exit 2
            fi
            filter[$suite]="-$(
                IFS=:
                echo "${broken[*]}"
            )"
            echo "mutation-test: left out, failing without a mutant: ${broken[*]}" >&2
        fi
        ready[$suite]=0
    }

    # Parses the table into parallel arrays.
    files=() descriptions=() originals=() replacements=()
    parse_table() {
        local line
        while IFS= read -r line; do
            case "$line" in
            "@ "*)
                files+=("$(echo "${line#@ }" | sed 's/ *|.*//')")
                descriptions+=("$(echo "$line" | sed 's/^[^|]*| *//')")
                originals+=("")
                replacements+=("")
                ;;
            "- "*) originals[${#originals[@]} - 1]=${line#- } ;;
            "+ "*) replacements[${#replacements[@]} - 1]=${line#+ } ;;
            "+") replacements[${#replacements[@]} - 1]="" ;;
            "" | "#"*) ;;
            *)
                echo "mutation-test: cannot read the table line: $line" >&2
                exit 2
                ;;
            esac
        done <<<"$MUTANTS"
    }

    # ---- the run ---------------------------------------------------------------------------------

    parse_table
    if [ "$reuse" = 1 ]; then
        if [ "$keep" = 0 ] || [ ! -f "$src/CMakeLists.txt" ]; then
            echo "mutation-test: --reuse needs TABBERN_MUTATION_DIR holding an earlier copy" >&2
            exit 2
        fi
    else
        echo "Copying the source tree to $src" >&2
        copy_sources || {
            echo "mutation-test: cannot copy the sources" >&2
            exit 2
        }
    fi

    if [ "$check_only" = 1 ]; then
        stale=0
        for i in "${!files[@]}"; do
            path=$src/${files[$i]}
            n=0
            [ -f "$path" ] && n=$(occurrences "$(slurp "$path")" "${originals[$i]}")
            if [ "$n" != 1 ]; then
                printf 'STALE     %-28s %s (found %s times)\n' "${files[$i]}" "${descriptions[$i]}" "$n"
                stale=$((stale + 1))
            fi
        done
        echo "$stale of ${#files[@]} mutants stale"
        exit 0
    fi

    killed=0 tried=0
    for i in "${!files[@]}"; do
        file=${files[$i]} what=${descriptions[$i]}
        if [ -n "$only" ] && [[ "$file $what" != *"$only"* ]]; then
            continue
        fi
        path=$src/$file
        n=0
        [ -f "$path" ] && text=$(slurp "$path") && n=$(occurrences "$text" "${originals[$i]}")
        if [ "$n" != 1 ]; then
            line=$(printf 'STALE     %-28s %s (the original text occurs %s times)' "$file" "$what" "$n")
            echo "$line"
            continue
        fi
        suite=$(suite_of "$file")
        if ! prepare_suite "$suite"; then
            printf 'SKIPPED   %-28s %s (no %s build here)\n' "$file" "$what" "$suite"
            continue
        fi
        current_file=$path current_text=$text
        printf '%s' "${text/"${originals[$i]}"/"${replacements[$i]}"}" >"$path"
        log=$logs/mutant-$((i + 1))
        if ! build_tests "$suite" "$log-build.log"; then
            line=$(printf 'NO BUILD  %-28s %s' "$file" "$what")
        elif outcome=$(run_tests "$suite" "$log-test.log"); then
            tried=$((tried + 1))
            line=$(printf 'SURVIVED  %-28s %s' "$file" "$what")
        else
            tried=$((tried + 1)) killed=$((killed + 1))
            line=$(printf 'KILLED    %-28s %s  [%s]' "$file" "$what" "$outcome")
        fi
        # Put back; the next build compiles it again along with the next mutant.
        printf '%s' "$text" >"$path"
        current_file=""
        echo "$line"
    done

    echo "$killed of $tried mutants killed"
}
main "$@"; exit
