// Damaged and hostile input, and a file system that fails. For every case the program says
// what is wrong, with the described message or an error that names the file, loads what can
// be loaded, and changes no data file that the case does not expect to change.
#include "support/AppFixture.h"

#include "app/Dispatch.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#else
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace tabbern::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Names = std::vector<std::string>;

const std::string kStoreQuestion =
    "The Database File Is Corrupt. Do You Want To Create A New, Blank Database File?\r"
    "WARNING: Selecting <Yes> Will Erase All Information From The Current Database File.";
const std::string kGroupQuestion =
    "The Group File Is Corrupt. Do You Want To Create A New, Blank Group File?\r"
    "WARNING: Selecting <Yes> Will Erase All Information From The Current Group File.";
const std::string kBookmarkLimit = "1000 Bookmark Limit Reached. Please Delete Bookmarks Before "
                                   "Adding Additional Bookmarks.";
const std::string kGroupLimit =
    "200 Group Limit Reached. Please Delete Groups Before Adding Additional Groups.";

std::string Reason(int err) {
    return std::generic_category().message(err);
}

// The system's reasons when a folder stands where a file is read or replaced. Windows calls
// both a refused access: its C runtime words it one way, the system's own calls another.
std::string FolderReadReason() {
#ifdef _WIN32
    return Reason(EACCES);
#else
    return Reason(EISDIR);
#endif
}
std::string FolderReplaceReason() {
#ifdef _WIN32
    return std::system_category().message(ERROR_ACCESS_DENIED);
#else
    return Reason(EISDIR);
#endif
}
const std::string kSep(1, kPathSeparator);

// Lines, each followed by the line end.
std::string Join(const Names& lines, const std::string& end = "\r\n") {
    std::string s;
    for (const auto& l : lines)
        s += l + end;
    return s;
}
std::string Header() {
    return HeaderLine();
}
std::string Rec(const std::string& name, const std::string& url = "http://x.example") {
    return "[r]0[n]" + name + "[g][d]1/2/2025[l][u]" + url;
}
Names Numbered(const std::string& prefix, int n) {
    Names out;
    for (int i = 0; i < n; ++i)
        out.push_back(prefix + std::to_string(i));
    return out;
}
std::string AsciiUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return s;
}
Names Sorted(Names v) {
    std::sort(v.begin(), v.end());
    return v;
}

// A program of its own: a fresh program folder, which is also the data folder unless a
// data-path file says otherwise, on a fake platform.
struct Program : TestProgram {
    bool Click(MenuItem& item) {
        return Run([&] { item.click(); });
    }
    void OnShow(const std::string& form, std::function<void(Form&)> script) {
        fake.modalScripts[form] = std::move(script);
    }
    // Adds a bookmark through the add dialog, as a user does.
    bool AddBookmark(const std::string& name) {
        OnShow("frmAddName", [this, name](Form&) {
            app.frmAddName.Text1.setText(name);
            app.frmAddName.Text3.setText("http://new.example");
            app.frmAddName.Command1.click();
        });
        return Click(app.main.menuaddname);
    }
    // Imports a share file (or a text file) that the open dialog answers with; the confirmation
    // dialog, whose list is kept in `listed`, is answered with its import or cancel button.
    bool Import(MenuItem& item, const std::string& path, bool confirm) {
        fake.openAnswers.push_back(path);
        OnShow("frmAddConfirm", [this, confirm](Form&) {
            listed = app.frmAddConfirm.Text1.text();
            (confirm ? app.frmAddConfirm.Command1 : app.frmAddConfirm.Command2).click();
        });
        return Click(item);
    }
    bool ImportShare(const std::string& path, bool confirm = true) {
        return Import(app.main.menuimportfromtabbernfile, path, confirm);
    }
    bool ImportText(const std::string& path) {
        return Import(app.main.menuimportfromtextfile, path, false);
    }

    Names LoadedNames() const {
        Names names;
        for (int r = 0; r < app.recordCount; ++r)
            names.push_back(app.bookmarks.at(r, kColName));
        return names;
    }
    // The selector's group names, without All Groups.
    Names SelectorGroups() const {
        Names items = app.main.Combo1.items();
        if (!items.empty())
            items.erase(items.begin());
        return items;
    }
    Names Messages() const { return fake.messageTexts(); }
    std::string listed;
    std::string File(const std::string& name) const { return dir.file(name); }
    // Entries of a folder that a killed or failed save would leave behind.
    static Names Temporaries(const std::string& folder) {
        Names found;
        for (const auto& e : fs::directory_iterator(folder))
            if (IsTemporarySaveFile(e.path().filename().string()))
                found.push_back(e.path().filename().string());
        return found;
    }
};

// ---- the two data files at start-up -------------------------------------------------------

struct DataFileCase {
    std::string what;
    std::string store = Header() + "\r\n";
    std::string groups = Header() + "\r\n";
    Names names = {};    // the loaded bookmarks' names, in file order
    Names selector = {}; // the group names the selector offers, in any order
    Names messages = {};
    bool ends = false;                                            // the repair question was refused
    std::optional<std::string> storeAfter = {}, groupsAfter = {}; // when not as before
};

TEST(BadInput, DamagedDataFilesLoadWhatTheyCanAndAreNotChanged) {
    const std::string H = Header();
    Names thousand = Numbered("n", 1005);
    Names records;
    for (const auto& n : thousand)
        records.push_back(Rec(n));
    thousand.resize(1000);
    const Names groups205 = Numbered("g", 205);
    const std::string megabyteName(1 << 20, 'x');

    const DataFileCase cases[] = {
        // NUL bytes
        {.what = "NUL bytes inside records are kept",
         .store = Join({H, Rec("a\0b"s, "x\0y"s), Rec("\0"s)}),
         .names = {"a\0b"s, "\0"s}},
        {.what = "a store file of NUL bytes is damaged; refusing the repair ends the program",
         .store = std::string(4096, '\0'),
         .messages = {kStoreQuestion},
         .ends = true},
        {.what = "a NUL byte before the header line makes the store file damaged",
         .store = "\0"s + Join({H, Rec("One")}),
         .messages = {kStoreQuestion},
         .ends = true},
        {.what = "group names with NUL bytes",
         .groups = Join({H, "a\0b"s, "\0"s}),
         .selector = {"a\0b"s, "\0"s}},
        // encodings
        {.what = "bytes that are not UTF-8 are read in the code page",
         .store = Join({H, Rec("Caf\xE9 \xC3(\x80")}),
         .names = {"Caf\xC3\xA9 \xC3\x83(\xE2\x82\xAC"}},
        {.what = "overlong forms, surrogates and values past Unicode are read in the code page",
         .store = Join({H, Rec("\xC0\xAF\xED\xA0\x80\xF4\x90")}),
         .names = {"\xC3\x80\xC2\xAF\xC3\xAD\xC2\xA0\xE2\x82\xAC\xC3\xB4\xC2\x90"}},
        {.what = "a file that ends inside a UTF-8 sequence is read in the code page",
         .store = H + "\r\n" + Rec("Caf\xC3"),
         .names = {"Caf\xC3\x83"}},
        {.what = "valid UTF-8 is read as UTF-8",
         .store = Join({H, Rec("\xC3\x89t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82")}),
         .names = {"\xC3\x89t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82"}},
        {.what = "a byte-order mark before the header line is dropped",
         .store = "\xEF\xBB\xBF" + Join({H, Rec("Marked")}),
         .names = {"Marked"}},
        {.what = "group names in the code page and in UTF-8 with a byte-order mark",
         .groups = "\xEF\xBB\xBF" + Join({H, "Gr\xC3\xBC\xC3\x9F"
                                             "e"}),
         .selector = {"Gr\xC3\xBC\xC3\x9F"
                      "e"}},
        {.what = "group names not in UTF-8 are read in the code page",
         .groups = Join({H, "Caf\xE9", "\x80uro"}),
         .selector = {"Caf\xC3\xA9", "\xE2\x82\xAC"
                                     "uro"}},
        // line ends
        {.what = "lone CR line ends",
         .store = Join({H, Rec("One"), Rec("Two")}, "\r"),
         .names = {"One", "Two"}},
        {.what = "lone LF line ends, no line end after the last record",
         .store = H + "\n" + Rec("One") + "\n" + Rec("Two"),
         .names = {"One", "Two"}},
        {.what = "LF CR is two line ends; the empty line between them is skipped",
         .store = Join({H, Rec("One"), Rec("Two")}, "\n\r"),
         .groups = Join({H, "Work", "Home"}, "\n\r"),
         .names = {"One", "Two"},
         .selector = {"Home", "Work"}},
        {.what = "a CR inside a record splits it into two damaged lines",
         .store = Join({H, Rec("a\rb"), Rec("c\nd")}),
         .names = {}},
        {.what = "a million blank lines",
         .store = H + "\r\n" + std::string(1'000'000, '\n') + Rec("Last"),
         .names = {"Last"}},
        // limits
        {.what = "1005 records: the first 1000 load, with one message",
         .store = Join({H}) + Join(records),
         .names = thousand,
         .messages = {kBookmarkLimit}},
        {.what = "205 groups: the first 200 load, with one message at each of the two loads",
         .groups = Join({H}) + Join(groups205),
         .selector = Names(groups205.begin(), groups205.begin() + 200),
         .messages = {kGroupLimit, kGroupLimit}},
        {.what = "a group name of a megabyte",
         .groups = Join({H, megabyteName}),
         .selector = {megabyteName}},
        // tags
        {.what = "tags out of order make no record",
         .store =
             Join({H, "[n]a[r]0[g][d][l][u]u", "[r]0[n]b[g][l][d][u]u", "[u]u[l][d][g][n]c[r]0"}),
         .names = {}},
        {.what = "doubled tags: each field ends at the first next tag",
         .store = Join({H, "[r]1[r]2[n]A[n]B[g][d]D[d]E[l]L[u]U[u]V"}),
         .names = {"A[n]B"}},
        {.what = "tags in capitals",
         .store = Join({H, "[R]0[N]Up[G][D][L][U]HTTP://X"}),
         .names = {"Up"}},
        {.what = "a line that lacks one tag is skipped",
         .store = Join({H, "[r]0[n]no l[g][d][u]u", Rec("Whole")}),
         .names = {"Whole"}},
        // header lines
        {.what = "a header line in other letter case with blanks around it is accepted",
         .store = Join({"  " + AsciiUpper(H) + " ", Rec("One")}),
         .names = {"One"}},
        {.what = "a store file that begins with a record is damaged",
         .store = Join({Rec("One"), H}),
         .messages = {kStoreQuestion},
         .ends = true},
        {.what = "a group file that begins with a name is damaged",
         .groups = Join({"Work", H}),
         .messages = {kGroupQuestion},
         .ends = true},
        {.what = "an empty store file gets its header line without a question",
         .store = "",
         .storeAfter = H + "\r\n"},
        {.what = "an empty group file gets its header line without a question",
         .groups = "",
         .groupsAfter = H + "\r\n"},
    };

    for (const DataFileCase& c : cases) {
        SCOPED_TRACE(c.what);
        Program p;
        WriteBytes(p.File("tabbern.dat"), c.store);
        WriteBytes(p.File("tabbern.grp"), c.groups);

        EXPECT_EQ(p.Start(), !c.ends);

        EXPECT_EQ(p.Messages(), c.messages);
        EXPECT_EQ(ReadBytes(p.File("tabbern.dat")), c.storeAfter.value_or(c.store));
        EXPECT_EQ(ReadBytes(p.File("tabbern.grp")), c.groupsAfter.value_or(c.groups));
        if (c.ends)
            continue;
        EXPECT_EQ(p.LoadedNames(), c.names);
        EXPECT_EQ(Sorted(p.SelectorGroups()), Sorted(c.selector));
        EXPECT_EQ(p.app.groupCount, static_cast<int>(c.selector.size()));
    }
}

// ---- the settings file --------------------------------------------------------------------

struct Cfg {
    std::string title = "Tabbern 5.2";
    std::string version = "5.2";
    int loadMinimised = 0, rememberLocation = 0, top = 0, left = 0, sortChoice = 0,
        rememberSort = 0;
};

void PutLittleEndian(std::string& b, std::size_t at, std::int64_t v, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        b[at + i] = static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
}

// The 128 bytes of a settings record, laid out by hand.
std::string Bytes128(const Cfg& c) {
    std::string b(128, '\0');
    b.replace(2, 35, (c.title + std::string(35, ' ')).substr(0, 35));
    b.replace(37, 5, (c.version + std::string(5, ' ')).substr(0, 5));
    PutLittleEndian(b, 42, c.loadMinimised, 2);
    b.replace(44, 70, std::string(70, ' '));
    PutLittleEndian(b, 114, c.rememberLocation, 2);
    PutLittleEndian(b, 116, c.top, 4);
    PutLittleEndian(b, 120, c.left, 4);
    PutLittleEndian(b, 124, c.sortChoice, 2);
    PutLittleEndian(b, 126, c.rememberSort, 2);
    return b;
}

struct SettingsCase {
    std::string what;
    std::string bytes;
    std::string after;                          // the file once start-up has written it back
    std::string sortTicked;                     // the sort menu item that carries the tick
    bool locationTicked = false;                // remember screen location
    std::optional<std::pair<int, int>> at = {}; // the window's left and top; none: centred
    Cfg read = {};                              // the numbers as start-up keeps them
};

TEST(BadInput, DamagedSettingsFilesReadAsFarAsTheyGoAndAreWrittenWhole) {
    const std::string junk = "junk \x00\xFF after the record"s;
    const std::string full = Bytes128({.rememberLocation = -1, .top = 1200, .left = 300});
    const SettingsCase cases[] = {
        {.what = "a record cut short after 120 bytes reads zeros beyond its end",
         .bytes = full.substr(0, 120),
         .after = Bytes128({.rememberLocation = -1, .top = 1200}),
         .sortTicked = "menusortbyname",
         .locationTicked = true,
         .at = {{0, 1200}},
         .read = {.rememberLocation = -1, .top = 1200}},
        {.what = "an empty settings file reads as zeros",
         .bytes = "",
         .after = Bytes128({}),
         .sortTicked = "menusortbyname"},
        {.what = "a longer file keeps the bytes after its record",
         .bytes =
             Bytes128(
                 {.title = "Other 1.0", .version = "1.0", .sortChoice = 2, .rememberSort = 1}) +
             junk,
         .after = Bytes128({.sortChoice = 2, .rememberSort = 1}) + junk,
         .sortTicked = "menusortbyurl",
         .read = {.sortChoice = 2, .rememberSort = 1}},
        {.what = "numbers out of range count as off, and as the name sort",
         .bytes = Bytes128({.loadMinimised = 7,
                            .rememberLocation = 5,
                            .top = 99,
                            .left = 99,
                            .sortChoice = 9,
                            .rememberSort = 1}),
         .after = Bytes128({.loadMinimised = 7,
                            .rememberLocation = 5,
                            .top = 99,
                            .left = 99,
                            .sortChoice = 9,
                            .rememberSort = 1}),
         .sortTicked = "menusortbyname",
         .read =
             {.rememberLocation = 5, .top = 99, .left = 99, .sortChoice = 9, .rememberSort = 1}},
        {.what = "every byte 0xFF",
         .bytes = std::string(128, '\xFF'),
         .after = Bytes128({.loadMinimised = -1,
                            .rememberLocation = -1,
                            .top = -1,
                            .left = -1,
                            .sortChoice = -1,
                            .rememberSort = -1}),
         .sortTicked = "menusortbyname",
         .locationTicked = true,
         .at = {{0, 0}}, // just above and left of the screen: moved onto it
         .read =
             {.rememberLocation = -1, .top = -1, .left = -1, .sortChoice = -1, .rememberSort = -1}},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.what);
        Program p;
        WriteBytes(p.File("tabbern.cfg"), c.bytes);
        const std::string store = Join({Header()});
        WriteBytes(p.File("tabbern.dat"), store);

        ASSERT_TRUE(p.Start());

        EXPECT_TRUE(p.Messages().empty());
        EXPECT_EQ(ReadBytes(p.File("tabbern.cfg")), c.after);
        EXPECT_EQ(ReadBytes(p.File("tabbern.dat")), store);
        MainForm& m = p.app.main;
        for (MenuItem* item :
             {&m.menusortbyname, &m.menusortbyurl, &m.menusortbydateadded, &m.menulastaccessed})
            EXPECT_EQ(item->checked(), item->name() == c.sortTicked) << item->name();
        EXPECT_EQ(m.menuscreenlocation.checked(), c.locationTicked);
        EXPECT_EQ(p.app.loadMinimisedFlag, 0);
        EXPECT_FALSE(m.menuloadminimized.checked());
        EXPECT_EQ(p.app.rememberLocationFlag, c.read.rememberLocation);
        EXPECT_EQ(p.app.savedTop, c.read.top);
        EXPECT_EQ(p.app.savedLeft, c.read.left);
        EXPECT_EQ(p.app.sortChoice, c.read.sortChoice);
        EXPECT_EQ(p.app.rememberSortFlag, c.read.rememberSort);
        if (c.at) {
            EXPECT_EQ(m.left(), c.at->first);
            EXPECT_EQ(m.top(), c.at->second);
        } else {
            EXPECT_EQ(m.left(), p.fake.screenWidth / 2 - m.width() / 2);
            EXPECT_EQ(m.top(), p.fake.screenHeight / 2 - m.height() / 2);
        }
    }
}

TEST(BadInput, ASettingsFileThatIsAFolderIsReportedByNameBeforeAnyDataFileIsMade) {
    Program p;
    p.dir.makeDir("tabbern.cfg");
    const std::string cfg = JoinPath(p.dir.path(), "tabbern.cfg");

    EXPECT_FALSE(p.Start());

    EXPECT_EQ(p.Messages(), Names{"Cannot write \"" + cfg + "\": " + FolderReplaceReason()});
    EXPECT_TRUE(fs::is_directory(cfg));
    EXPECT_FALSE(Exists(p.File("tabbern.dat")));
    EXPECT_FALSE(Exists(p.File("tabbern.grp")));
    EXPECT_EQ(Program::Temporaries(p.dir.path()), Names{});
}

// ---- the data-path file -------------------------------------------------------------------

TEST(BadInput, DataPathFilesNamingNoFolderAreReportedByNameAndCreateNothing) {
    struct Case {
        std::string what;
        std::string folder; // below the program folder
        bool isFile;        // a file stands where the folder should be
    };
    const Case cases[] = {
        {"a missing folder", "gone", false},
        {"a missing folder below a missing folder", "gone" + kSep + "deeper", false},
        {"a file instead of a folder", "a-file", true},
        {"a folder name that is not UTF-8", "caf\xE9", false},
        {"a NUL byte in the folder name", "gone\0more"s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program p;
        if (c.isFile)
            WriteBytes(p.File(c.folder), "not a folder");
        // The data-path file is text in the code page, as the program writes it.
        WriteBytes(p.File("tabbern.sdf"), JoinPath(p.dir.path(), c.folder) + "\r\n");
        std::string shown = JoinPath(p.dir.path(), c.folder);
        if (c.folder == "caf\xE9")
            shown = JoinPath(p.dir.path(), "caf\xC3\xA9");

        EXPECT_FALSE(p.Start());

        EXPECT_EQ(p.Messages(), Names{"Cannot find the folder \"" + shown + "\": path not found"});
        EXPECT_EQ(fs::exists(ToPath(shown)), c.isFile);
        EXPECT_FALSE(Exists(p.File("tabbern.dat")));
        EXPECT_FALSE(Exists(p.File("tabbern.grp")));
    }
}

TEST(BadInput, DataPathFilesAreTrimmedAndAnEmptyOneMeansTheProgramFolder) {
    struct Case {
        std::string what;
        std::string text; // {} stands for the program folder's path, / for the separator
        std::string dataFolder;
    };
    const Case cases[] = {
        {"an empty data-path file", "", ""},
        {"blanks, a trailing separator and a lone CR", "  {}/data/  \r", "/data"},
        {"a second line is not read", "{}/data\r\n{}/other\r\n", "/data"},
        {"LF only and a byte-order mark", "\xEF\xBB\xBF{}/data\n", "/data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program p;
        p.dir.makeDir("data");
        p.dir.makeDir("other");
        const auto fill = [&](const std::string& text) {
            return ReplaceAll(ReplaceAll(text, "/", kSep), "{}", p.dir.path());
        };
        WriteBytes(p.File("tabbern.sdf"), fill(c.text));
        const std::string expected = fill("{}" + c.dataFolder);

        ASSERT_TRUE(p.Start());

        EXPECT_TRUE(p.Messages().empty());
        EXPECT_EQ(p.app.dataFolder, expected);
        EXPECT_EQ(ReadBytes(JoinPath(expected, "tabbern.dat")), Join({Header()}));
        EXPECT_EQ(ReadBytes(JoinPath(expected, "tabbern.grp")), Join({Header()}));
        EXPECT_FALSE(Exists(p.File("other/tabbern.dat")));
    }
}

// ---- share files and text files -----------------------------------------------------------

TEST(BadInput, DamagedShareAndTextFilesAreReportedOrImportedAsRead) {
    const std::string H = Header();
    struct Case {
        std::string what;
        std::string bytes;       // of the imported file; a folder stands there when empty
        bool shareFile = true;   // otherwise a text file
        Names messages = {};     // with {} for the file's path
        std::string added = {};  // the bytes appended to the store file
        Names loaded = {};       // the names of the bookmarks stored afterwards
        std::string listed = {}; // the confirmation dialog's list; the text import is cancelled
    };
    const Case cases[] = {
        {.what = "a share file that is a folder",
         .bytes = "",
         .shareFile = true,
         .messages = {"Cannot Read The File:\r{}\r" + FolderReadReason()}},
        {.what = "a text file that is a folder",
         .bytes = "",
         .shareFile = false,
         .messages = {"Cannot Read The File:\r{}\r" + FolderReadReason()}},
        {.what = "a share file of NUL bytes",
         .bytes = std::string(512, '\0'),
         .shareFile = true,
         .messages = {"Not A Valid Tabbern Data File"}},
        {.what = "a share file of 1005 records is refused whole",
         .bytes = Join({H}) + Join(Numbered("[r]0[n]n[g][d][l][u]u", 1005)),
         .shareFile = true,
         .messages = {"Maximum Database Record Count of 1000Bookmarks Reached! Remove "
                      "1000Bookmarks and Re-Import"}},
        {.what = "NUL bytes, bytes not in UTF-8 and lone CR line ends are imported as read",
         .bytes = Join({H, "[r]0[n]a\0b[g][d][l][u]u\0"s, "[r]1[n]Caf\xE9[g][d][l][u]v"}, "\r"),
         .shareFile = true,
         .messages = {},
         .added = Join({"[r]0[n]a\0b[g][d][l][u]u\0"s, "[r]1[n]Caf\xE9[g][d][l][u]v"}),
         .loaded = {"a\0b"s, "Caf\xC3\xA9"}},
        {.what = "lines with all six tags in any order are appended in the order that loads",
         .bytes = Join({H, "[n]x[r]0[g][d][l][u]u", "[r]1[r]2[n]A[n]B[g][d][l][u]w"}),
         .shareFile = true,
         .messages = {},
         .added = Join({"[r]0[n]x[g][d][l][u]u", "[r]1[r]2[n]A[n]B[g][d][l][u]w"}),
         .loaded = {"x", "A[n]B"}},
        {.what = "a text file with NUL bytes and bytes not in UTF-8",
         .bytes = "www.a\0b \xE9www.C\r\nhttp://\x80"s,
         .shareFile = false,
         .messages = {},
         .listed = "www.a\0b\r\nwww.c\r\nhttp://\xE2\x82\xAC\r\n"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program p;
        const std::string store = Join({Header()});
        WriteBytes(p.File("tabbern.dat"), store);
        ASSERT_TRUE(p.Start());
        const std::string groupsBefore = ReadBytes(p.File("tabbern.grp"));
        const std::string path = p.File("in.tbn");
        if (c.bytes.empty())
            p.dir.makeDir("in.tbn");
        else
            WriteBytes(path, c.bytes);

        ASSERT_TRUE(c.shareFile ? p.ImportShare(path) : p.ImportText(path));

        Names messages;
        for (const std::string& m : c.messages)
            messages.push_back(ReplaceAll(m, "{}", path));
        EXPECT_EQ(p.Messages(), messages);
        EXPECT_EQ(ReadBytes(p.File("tabbern.dat")), store + c.added);
        EXPECT_EQ(p.LoadedNames(), c.loaded);
        if (c.added.empty()) {
            EXPECT_EQ(ReadBytes(p.File("tabbern.grp")), groupsBefore);
        }
        if (!c.shareFile) {
            EXPECT_EQ(p.listed, c.listed);
        }
        EXPECT_EQ(Program::Temporaries(p.dir.path()), Names{});
    }
}

// ---- a line of 100 MB ---------------------------------------------------------------------

#ifdef _WIN32
PROCESS_MEMORY_COUNTERS MemoryCounters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

long PeakKilobytes() {
    return static_cast<long>(MemoryCounters().PeakWorkingSetSize / 1024);
}

long CurrentKilobytes() {
    return static_cast<long>(MemoryCounters().WorkingSetSize / 1024);
}
#else
long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
#endif

TEST(BadInput, AHundredMegabyteLineIsReadWithoutTroubleWhereverItStands) {
    constexpr std::size_t kLine = 100u << 20;
    const std::string H = Header();
    // A minified page: no line end and no tag, one link at its very end.
    std::string big;
    big.reserve(kLine);
    while (big.size() + 64 < kLine)
        big += "<div class=\"c\">lorem ipsum dolor sit amet, consectetur</div>";
    big += "https://end.example/";
    const std::string head = Join({H, Rec("Before")}), tail = "\r\n" + Rec("After") + "\r\n";
    Program p;
    {
        std::ofstream out(p.File("tabbern.dat"), std::ios::binary);
        out << head << big << tail;
    }
    const long before = CurrentKilobytes();

    ASSERT_TRUE(p.Start());
    EXPECT_TRUE(p.Messages().empty());
    EXPECT_EQ(p.LoadedNames(), (Names{"Before", "After"}));

    // The same file as a text file to harvest: the links of the lines before the long one, the
    // one at its very end, and the link of the line after it.
    ASSERT_TRUE(p.ImportText(p.File("tabbern.dat")));
    EXPECT_TRUE(
        p.listed.ends_with("\r\nhttp://x.example\r\nhttps://end.example/\r\nhttp://x.example\r\n"))
        << p.listed;

    // A handful of copies of the file at most, never one per line or per link.
    const long growth = PeakKilobytes() - before;
    EXPECT_LT(growth, 10 * static_cast<long>(kLine / 1024)) << growth << " kB";
    EXPECT_TRUE(ReadBytes(p.File("tabbern.dat")) == head + big + tail);
}

// ---- file-system faults -------------------------------------------------------------------

TEST(BadInput, DataFilesThatAreFoldersAreReportedByName) {
    for (const std::string name : {"tabbern.dat", "tabbern.grp"}) {
        SCOPED_TRACE(name);
        Program p;
        if (name == "tabbern.grp")
            WriteBytes(p.File("tabbern.dat"), Join({Header()}));
        p.dir.makeDir(name);
        const std::string folder = JoinPath(p.dir.path(), name);
        WriteBytes(JoinPath(folder, "inside"), "kept");

        EXPECT_FALSE(p.Start());

        EXPECT_EQ(p.Messages(), Names{"Cannot write \"" + folder + "\": " + FolderReplaceReason()});
        EXPECT_EQ(ReadBytes(JoinPath(folder, "inside")), "kept");
        EXPECT_EQ(Program::Temporaries(p.dir.path()), Names{});
    }
}

// Permission bits and mounts are POSIX: a Windows folder has no write permission bit to take
// away, and the full disk needs a tmpfs.
#ifndef _WIN32

bool IsRoot() {
    return ::geteuid() == 0;
}

void MakeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

// A program whose data folder is `data` below its program folder, holding a store of one
// bookmark and a group file of one group.
struct ProgramWithDataFolder : Program {
    ProgramWithDataFolder() {
        data = dir.makeDir("data");
        WriteBytes(File("tabbern.sdf"), data + "\r\n");
        store = Join({Header(), "[r]0[n]One[g]Work[d]1/2/2025[l][u]http://one.example"});
        groups = Join({Header(), "Work"});
        WriteBytes(data + "/tabbern.dat", store);
        WriteBytes(data + "/tabbern.grp", groups);
    }
    std::string Data(const std::string& name) const { return JoinPath(data, name); }
    void ExpectDataFilesAsBefore() const {
        EXPECT_EQ(ReadBytes(Data("tabbern.dat")), store);
        EXPECT_EQ(ReadBytes(Data("tabbern.grp")), groups);
        EXPECT_EQ(Temporaries(data), Names{});
    }
    std::string data, store, groups;
};

TEST(BadInput, ReadOnlyDataFolderRefusesEveryChangeByNameAndKeepsTheFiles) {
    if (IsRoot())
        GTEST_SKIP() << "root may write into read-only folders";
    struct Case {
        std::string what;
        std::function<bool(ProgramWithDataFolder&)> act; // after start-up; false: it ended
        std::string file;                                // the file the error names
    };
    const Case cases[] = {
        {"adding a bookmark", [](auto& p) { return p.AddBookmark("New"); }, "tabbern.dat"},
        {"adding a group",
         [](auto& p) {
             p.app.main.Combo1.setText("Home");
             return p.Click(p.app.main.menuaddgroup);
         },
         "tabbern.grp"},
        {"importing a share file",
         [](auto& p) {
             WriteBytes(p.File("in.tbn"), Join({Header(), "[r]0[n]S[g]Work[d][l][u]s"}));
             return p.ImportShare(p.File("in.tbn"));
         },
         "tabbern.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramWithDataFolder p;
        MakeReadOnly(p.data);
        ASSERT_TRUE(p.Start());
        ASSERT_TRUE(p.Messages().empty());

        EXPECT_FALSE(c.act(p));

        EXPECT_EQ(p.Messages(),
                  Names{"Cannot write \"" + p.Data(c.file) + "\": " + Reason(EACCES)});
        p.ExpectDataFilesAsBefore();
    }

    // A data file that start-up must create cannot be made there either.
    ProgramWithDataFolder p;
    fs::remove(p.Data("tabbern.grp"));
    p.groups.clear();
    MakeReadOnly(p.data);
    EXPECT_FALSE(p.Start());
    EXPECT_EQ(p.Messages(),
              Names{"Cannot write \"" + p.Data("tabbern.grp") + "\": " + Reason(EACCES)});
    EXPECT_FALSE(Exists(p.Data("tabbern.grp")));
    EXPECT_EQ(ReadBytes(p.Data("tabbern.dat")), p.store);
}

TEST(BadInput, UnreadableFilesAreReportedByName) {
    if (IsRoot())
        GTEST_SKIP() << "root may read any file";
    // A share file or a text file the user may not read: said, and the program goes on.
    for (const bool share : {true, false}) {
        SCOPED_TRACE(share ? "share file" : "text file");
        ProgramWithDataFolder p;
        ASSERT_TRUE(p.Start());
        const std::string path = p.File("in.tbn");
        WriteBytes(path, Join({Header(), "[r]0[n]S[g]Work[d][l][u]s"}));
        fs::permissions(path, fs::perms::none);

        EXPECT_TRUE(share ? p.ImportShare(path) : p.ImportText(path));

        EXPECT_EQ(p.Messages(), Names{"Cannot Read The File:\r" + path + "\r" + Reason(EACCES)});
        p.ExpectDataFilesAsBefore();
    }
    // A store file the user may not read ends start-up with its name.
    ProgramWithDataFolder p;
    fs::permissions(p.Data("tabbern.dat"), fs::perms::none);
    EXPECT_FALSE(p.Start());
    fs::permissions(p.Data("tabbern.dat"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(p.Messages(),
              Names{"Cannot open \"" + p.Data("tabbern.dat") + "\": " + Reason(EACCES)});
    p.ExpectDataFilesAsBefore();
}

// A small tmpfs mounted on a folder for the life of the object; root only.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& folder) : folder_(folder) {
        if (!IsRoot()) {
            why_ = "mounting a small tmpfs needs root";
            return;
        }
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
            why_ = "cannot mount a tmpfs on " + folder + ": " + Reason(errno);
            return;
        }
        mounted_ = true;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }

    // Writes a filler file until the disk has no room left.
    void Fill() const {
        std::ofstream out(folder_ + "/filler", std::ios::binary);
        const std::string block(1024, 'f');
        while (out.write(block.data(), static_cast<std::streamsize>(block.size())))
            out.flush();
    }

private:
    std::string folder_, why_;
    bool mounted_ = false;
};

TEST(BadInput, FullDiskKeepsTheOldDataFilesAndNamesTheFile) {
    ProgramWithDataFolder p;
    const std::string store = p.store, groups = p.groups;
    // The data folder's files are moved onto the small disk mounted over it.
    SmallDisk disk(p.data);
    if (!disk.mounted())
        GTEST_SKIP() << disk.why();
    WriteBytes(p.Data("tabbern.dat"), store);
    WriteBytes(p.Data("tabbern.grp"), groups);
    disk.Fill();
    ASSERT_TRUE(p.Start());
    ASSERT_TRUE(p.Messages().empty());

    EXPECT_FALSE(p.AddBookmark("New"));

    EXPECT_EQ(p.Messages(),
              Names{"Cannot write \"" + p.Data("tabbern.dat") + "\": " + Reason(ENOSPC)});
    p.ExpectDataFilesAsBefore();
}

#endif // !_WIN32

} // namespace
} // namespace tabbern::test
