// The settings record and the Options menu: the bytes of the 128-byte record, what start-up
// takes from it, the option toggles, starting with the desktop session, and choosing another
// data folder (the reload from it, the data-path file and the folder label).
#include "support/AppFixture.h"

#include "settings/Settings.h"
#include "store/FileIo.h"

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
    // What a killed save left goes, also when the record needs no writing.
    TestProgram p;
    ASSERT_TRUE(p.Start());
    WriteBytes(p.File("tabbern.cfg.~1-1-1.tmp"), "x");
    WriteSettings(p.app);
    EXPECT_FALSE(std::filesystem::exists(p.File("tabbern.cfg.~1-1-1.tmp")));
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

class DataFolderTest : public AppTest {
protected:
    bool ChooseFolder(const std::string& answer) {
        fake.folderAnswers = {answer};
        return Click(app.main.menusetdata);
    }
};

TEST_F(DataFolderTest, TheChosenFolderIsLoadedGetsWhatItLacksAndIsRemembered) {
    ASSERT_TRUE(StartWith({Rec(0, "Old", "Work", "http://old")}));
    ASSERT_TRUE(Click(app.main.menuremembersortchoices));
    const std::string empty = dir.makeDir("empty"), data = dir.makeDir("data");
    WriteBytes(data + "/tabbern.dat",
               FileWithHeader({Rec(0, "Beta", "Work", "http://b", "1/2", "5/6"),
                               Rec(0, "Alpha", "Home", "http://a")}));
    WriteBytes(data + "/tabbern.grp", FileWithHeader({"Home"}));

    ASSERT_TRUE(ChooseFolder(empty));
    EXPECT_EQ(ReadBytes(empty + "/tabbern.dat"), FileWithHeader({}));
    EXPECT_EQ(ReadBytes(empty + "/tabbern.grp"), FileWithHeader({}));
    EXPECT_TRUE(app.main.List1.items().empty());

    ASSERT_TRUE(ChooseFolder(data + kPathSeparator));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(app.dataFolder, data);
    EXPECT_EQ(ReadBytes(data + "/tabbern.grp"), FileWithHeader({"Home", "Work"}));
    EXPECT_EQ(app.main.List1.items(), (Names{"Alpha", "Beta"})); // the remembered sort
    // The data-path file keeps the folder as chosen.
    EXPECT_EQ(ReadBytes(File("tabbern.sdf")), data + kPathSeparator + "\r\n");
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "Old", "Work", "http://old")}));
}

TEST_F(DataFolderTest, ACancelledChoiceOrADisabledCommandKeepsTheFolder) {
    fake.commandLineText = "y";
    ASSERT_TRUE(Start());
    const std::string data = dir.makeDir("data");
    ASSERT_TRUE(ChooseFolder(data));
    fake.folderAnswers = {data};
    ASSERT_TRUE(Run([&] { app.main.lblAltDatapath.onDblClick(); }));
    EXPECT_TRUE(fake.folderPrompts.empty());

    app.main.menusetdata.setEnabled(true);
    app.main.lblAltDatapath.setEnabled(true);
    for (const std::string cancel : {"", "   "})
        ASSERT_TRUE(ChooseFolder(cancel));
    fake.folderAnswers = {data};
    ASSERT_TRUE(Run([&] { app.main.lblAltDatapath.onDblClick(); }));
    EXPECT_EQ(fake.folderPrompts.size(), 3u);
    EXPECT_EQ(app.dataFolder, data);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DataFolderTest, AFolderThatIsGoneEndsTheProgramWithTheEarlierChoiceKept) {
    ASSERT_TRUE(Start());
    const std::string first = dir.makeDir("first");
    ASSERT_TRUE(ChooseFolder(first));
    EXPECT_FALSE(ChooseFolder(File("gone")));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find(File("gone")), std::string::npos);
    EXPECT_EQ(ReadBytes(File("tabbern.sdf")), first + "\r\n");
}

} // namespace
} // namespace tabbern::test
