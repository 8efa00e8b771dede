// The settings record and the Options menu: the bytes of the 128-byte record, what start-up
// takes from it, the option toggles and starting with the desktop session.
#include "support/AppFixture.h"
#include "support/CfgBytes.h"

#include "settings/Settings.h"

#include <optional>

namespace tabbern::test {
namespace {

using namespace std::string_literals;
using SettingsTest = AppTest;

TEST(SettingsFile, IsReadAsFarAsItGoesAndWrittenBackWholeWithTheTitleOfThisProgram) {
    struct Case {
        const char* what;
        std::string bytes;
        Cfg after;        // the record written back, title and version aside
        std::string tail; // the bytes after the record, kept
        std::string sortTicked;
        std::optional<std::pair<double, double>> at; // the window's left and top; none: centred
    };
    const std::string full = CfgFile({.rememberLocation = -1, .top = 1200, .left = 300});
    const std::string junk = "junk \x00\xFF after"s;
    const Case cases[] = {
        {"none", "", {}, "", "menusortbyname", {}},
        {"remembered place",
         full,
         {.rememberLocation = -1, .top = 1200, .left = 300},
         "",
         "menusortbyname",
         {{300, 1200}}},
        {"cut short after 120 bytes",
         full.substr(0, 120),
         {.rememberLocation = -1, .top = 1200},
         "",
         "menusortbyname",
         {{0, 1200}}},
        {"another program's, longer",
         CfgFile({.title = "Other 1.0", .version = "1.0", .sortChoice = 2, .rememberSort = 1}) +
             junk,
         {.sortChoice = 2, .rememberSort = 1},
         junk,
         "menusortbyurl",
         {}},
        {"date added",
         CfgFile({.sortChoice = 3, .rememberSort = 1}),
         {.sortChoice = 3, .rememberSort = 1},
         "",
         "menusortbydateadded",
         {}},
        {"last accessed",
         CfgFile({.sortChoice = 4, .rememberSort = 1}),
         {.sortChoice = 4, .rememberSort = 1},
         "",
         "menulastaccessed",
         {}},
        {"only 1 remembers the sort",
         CfgFile({.sortChoice = 4, .rememberSort = 2}),
         {.sortChoice = 4, .rememberSort = 2},
         "",
         "menusortbyname",
         {}},
        {"numbers out of range",
         CfgFile({.loadMinimised = 7,
                  .rememberLocation = 5,
                  .top = 99,
                  .sortChoice = 9,
                  .rememberSort = 1}),
         {.loadMinimised = 7, .rememberLocation = 5, .top = 99, .sortChoice = 9, .rememberSort = 1},
         "",
         "menusortbyname",
         {}},
        {"every byte 0xFF",
         std::string(128, '\xFF'),
         {.loadMinimised = -1,
          .rememberLocation = -1,
          .top = -1,
          .left = -1,
          .sortChoice = -1,
          .rememberSort = -1},
         "",
         "menusortbyname",
         {{0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestProgram p;
        if (!c.bytes.empty())
            WriteBytes(p.File("tabbern.cfg"), c.bytes);

        ASSERT_TRUE(p.Start());

        Cfg after = c.after;
        after.title = p.app.appTitle;
        after.version = p.app.versionText;
        EXPECT_EQ(ReadBytes(p.File("tabbern.cfg")), CfgFile(after) + c.tail);
        for (const MenuItem* item : p.app.main.menusortby.children)
            EXPECT_EQ(item->checked(), item->name() == c.sortTicked) << item->name();
        const MainForm& m = p.app.main;
        EXPECT_EQ(m.menuscreenlocation.checked(), c.after.rememberLocation == -1);
        EXPECT_EQ(m.left(), c.at ? c.at->first : p.fake.screenWidth / 2 - m.width() / 2);
        EXPECT_EQ(m.top(), c.at ? c.at->second : p.fake.screenHeight / 2 - m.height() / 2);
    }
}

TEST(SettingsRounding, HalvesGoToTheEvenNumber) {
    const std::pair<double, int> cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {1234.49, 1234}, {1234.51, 1235}, {-0.4, 0}};
    for (const auto& [v, rounded] : cases)
        EXPECT_EQ(RoundHalfEven(v), rounded) << v;
}

TEST_F(SettingsTest, EachToggleFlipsItsTickAndItsFieldAndNothingElse) {
    WriteStore({Rec(0, "Beta", "G", "http://b"), Rec(0, "Alpha", "G", "http://a")});
    ASSERT_TRUE(Start());
    const std::string before = ReadBytes(File("tabbern.cfg"));
    const std::pair<MenuItem*, std::size_t> toggles[] = {{&app.main.menuloadminimized, 42},
                                                         {&app.main.menuremembersortchoices, 126}};
    for (const auto& [item, field] : toggles) {
        SCOPED_TRACE(item->name());
        ASSERT_TRUE(Click(*item));
        EXPECT_TRUE(item->checked());
        std::string on = before;
        on[field] = '\x01';
        EXPECT_EQ(ReadBytes(File("tabbern.cfg")), on);
        ASSERT_TRUE(Click(*item));
        EXPECT_FALSE(item->checked());
        EXPECT_EQ(ReadBytes(File("tabbern.cfg")), before);
    }
    // Remembering the sort choice does not sort the list now.
    EXPECT_EQ(app.main.List1.items(), (Names{"Beta", "Alpha"}));

    app.main.move(4000.5, 2501.5);
    ASSERT_TRUE(Click(app.main.menuscreenlocation));
    const CfgBytes on = CfgBytes::Read(File("tabbern.cfg"));
    EXPECT_EQ(on.rememberLocation(), -1);
    EXPECT_EQ(on.top(), 2502);
    EXPECT_EQ(on.left(), 4000);
    ASSERT_TRUE(Click(app.main.menuscreenlocation));
    EXPECT_EQ(ReadBytes(File("tabbern.cfg")), before);
}

TEST(StartWithTheSession, AnEntryUnderTheProgramsNameTicksTheItemAndAClickWritesOrRemovesIt) {
    using Entries = std::map<std::string, std::string>;
    const std::pair<Entries, bool> cases[] = {
        {{}, false}, {{{"Tabbern Portable", ""}}, true}, {{{"Tabbern", "/opt/tabbern"}}, false}};
    for (const auto& [entries, ticked] : cases) {
        TestProgram p;
        p.fake.programNameText = "Tabbern Portable";
        p.fake.programCommandText = "/media/stick/tabbern";
        p.fake.autostart = entries;
        ASSERT_TRUE(p.Start());
        MenuItem& item = p.app.main.menustartwhenwindowsstarts;
        EXPECT_EQ(item.checked(), ticked);
        ASSERT_TRUE(p.Click(item));
        EXPECT_NE(item.checked(), ticked);
        Entries after = entries;
        if (ticked)
            after.erase("Tabbern Portable");
        else
            after["Tabbern Portable"] = "/media/stick/tabbern";
        EXPECT_EQ(p.fake.autostart, after);
    }
}

} // namespace
} // namespace tabbern::test
