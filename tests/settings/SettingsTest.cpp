// The settings record and the Options menu: the bytes of the 128-byte record, what start-up
// takes from it, the option toggles and starting with the desktop session.
#include "support/AppFixture.h"

#include "settings/Settings.h"

namespace tabbern::test {
namespace {

using namespace std::string_literals;
using SettingsTest = AppTest;

TEST(SettingsFile, IsReadAsFarAsItGoesWrittenBackWholeAndOnlyARememberedSortOfOneToFourTicks) {
    const std::string junk = "junk \x00\xFF after"s;
    const Cfg odd = {{}, {}, 7, 5, 99, 0, 9, 1}, other = {"Other 1.0", "1.0", 7, 5, 99, 0, 9, 1};
    const auto sort = [](std::int32_t choice, std::int32_t remember) {
        return Cfg{.sortChoice = choice, .rememberSort = remember};
    };
    // the file, the record written back (title and version aside), the bytes kept after it,
    // the sort command ticked
    // clang-format off
    const std::tuple<std::string, Cfg, std::string, std::string> cases[] = {
        {"", {}, "", "menusortbyname"},
        {CfgFile({{}, {}, 0, -1, 1200, 300, 2, 1}).substr(0, 120), {{}, {}, 0, -1, 1200}, "",
         "menusortbyname"},
        {CfgFile(other) + junk, odd, junk, "menusortbyname"},
        {std::string(128, '\xFF'), {{}, {}, -1, -1, -1, -1, -1, -1}, "", "menusortbyname"},
        {CfgFile(sort(2, 1)), sort(2, 1), "", "menusortbyurl"},
        {CfgFile(sort(3, 1)), sort(3, 1), "", "menusortbydateadded"},
        {CfgFile(sort(4, 1)), sort(4, 1), "", "menulastaccessed"},
        {CfgFile(sort(4, 2)), sort(4, 2), "", "menusortbyname"},
    };
    // clang-format on
    for (const auto& [bytes, after, tail, ticked] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        TestProgram p;
        if (!bytes.empty())
            WriteBytes(p.File("tabbern.cfg"), bytes);
        ASSERT_TRUE(p.Start());
        EXPECT_EQ(ReadBytes(p.File("tabbern.cfg")), CfgOf(p.app, after) + tail);
        for (const MenuItem* item : p.app.main.menusortby.children)
            EXPECT_EQ(item->checked(), item->name() == ticked) << item->name();
    }
}

TEST_F(SettingsTest, EachToggleFlipsItsTickAndItsFieldAndNothingElse) {
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

    app.main.move(4000.5, 2501.5);
    ASSERT_TRUE(Click(app.main.menuscreenlocation));
    EXPECT_EQ(ReadBytes(File("tabbern.cfg")),
              CfgOf(app, {.rememberLocation = -1, .top = 2502, .left = 4000}));
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
        if (!after.erase("Tabbern Portable")) // ticked: the click removes it
            after["Tabbern Portable"] = "/media/stick/tabbern";
        EXPECT_EQ(p.fake.autostart, after);
    }
}

} // namespace
} // namespace tabbern::test
