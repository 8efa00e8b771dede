// The settings record: its 128 bytes, reading and writing it, and the position save.
#include "support/AppFixture.h"

#include "settings/Settings.h"
#include "support/CfgBytes.h"

namespace tabbern::test {
namespace {

std::string Padded(std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
}

using SettingsTest = AppTest;

TEST_F(SettingsTest, FirstStartCreatesTheRecordWithTitleVersionAndZeros) {
    ASSERT_TRUE(Start());
    const CfgBytes f{ReadBytes(ProgramFile("tabbern.cfg"))};
    ASSERT_EQ(f.bytes.size(), 128u);
    EXPECT_EQ(f.num(0, 2), 0);
    EXPECT_EQ(f.text(2, 35), Padded("Tabbern 5.2", 35));
    EXPECT_EQ(f.text(37, 5), "5.2  ");
    EXPECT_EQ(f.num(42, 2), 0);
    EXPECT_EQ(f.text(44, 70), std::string(70, ' '));
    for (std::size_t at : {114u, 124u, 126u})
        EXPECT_EQ(f.num(at, 2), 0) << at;
    EXPECT_EQ(f.num(116, 4), 0);
    EXPECT_EQ(f.num(120, 4), 0);

    EXPECT_TRUE(app.main.menusortbyname.checked());
    EXPECT_FALSE(app.main.menusortbyurl.checked());
    EXPECT_FALSE(app.main.menuloadminimized.checked());
    EXPECT_FALSE(app.main.menuscreenlocation.checked());
    EXPECT_FALSE(app.main.menuremembersortchoices.checked());
}

TEST(SettingsRecord, EncodesEveryFieldLittleEndianAndDecodesItBack) {
    SettingsRecord r;
    r.title = "Tabbern 5.2";
    r.version = "5.2";
    r.loadMinimised = 1;
    r.rememberLocation = -1;
    r.top = -30;
    r.left = 0x01020304;
    r.sortChoice = 4;
    r.rememberSort = 1;
    const auto bytes = EncodeSettingsRecord(r);
    const CfgBytes f{std::string(bytes.begin(), bytes.end())};
    EXPECT_EQ(f.num(42, 2), 1);
    EXPECT_EQ(f.num(114, 2), -1);
    EXPECT_EQ(f.bytes.substr(114, 2), std::string("\xFF\xFF", 2));
    EXPECT_EQ(f.num(116, 4), -30);
    EXPECT_EQ(f.bytes.substr(120, 4), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(f.num(124, 2), 4);
    EXPECT_EQ(f.num(126, 2), 1);

    const SettingsRecord back = DecodeSettingsRecord(f.bytes);
    EXPECT_EQ(back.title, Padded("Tabbern 5.2", 35));
    EXPECT_EQ(back.version, "5.2  ");
    EXPECT_EQ(back.loadMinimised, 1);
    EXPECT_EQ(back.rememberLocation, -1);
    EXPECT_EQ(back.top, -30);
    EXPECT_EQ(back.left, 0x01020304);
    EXPECT_EQ(back.sortChoice, 4);
    EXPECT_EQ(back.rememberSort, 1);
}

TEST(SettingsRecord, LongTextsAreCutToTheirWidth) {
    SettingsRecord r;
    r.title = std::string(50, 'T');
    r.version = "10.2.33";
    const auto bytes = EncodeSettingsRecord(r);
    const CfgBytes f{std::string(bytes.begin(), bytes.end())};
    EXPECT_EQ(f.text(2, 35), std::string(35, 'T'));
    EXPECT_EQ(f.text(37, 5), "10.2.");
    EXPECT_EQ(f.num(42, 2), 0); // the next field is untouched by the cut text
}

TEST(SettingsRecord, ShortInputReadsAsZerosAndBlanksBeyondItsEnd) {
    std::string shortFile(116, '\0');
    shortFile[114] = '\xFF';
    shortFile[115] = '\xFF';
    const SettingsRecord r = DecodeSettingsRecord(shortFile);
    EXPECT_EQ(r.rememberLocation, -1);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.sortChoice, 0);
    EXPECT_EQ(r.rememberSort, 0);

    const SettingsRecord empty = DecodeSettingsRecord("");
    EXPECT_EQ(empty.title, std::string(35, ' '));
    EXPECT_EQ(empty.loadMinimised, 0);
}

TEST_F(SettingsTest, ExistingRecordIsReadAndGetsTheCurrentTitleAndVersion) {
    SettingsRecord old;
    old.title = "Some Older Program 1.0";
    old.version = "1.0";
    old.sortChoice = 3;
    old.rememberSort = 1;
    old.rememberLocation = -1;
    old.top = 1500;
    old.left = 2500;
    old.reservedText = "leftovers that must go";
    const auto bytes = EncodeSettingsRecord(old);
    // Bytes after the record are not the program's and must survive.
    WriteBytes(ProgramFile("tabbern.cfg"), std::string(bytes.begin(), bytes.end()) + "TAIL");

    ASSERT_TRUE(Start());

    EXPECT_EQ(app.sortChoice, 3);
    EXPECT_EQ(app.rememberSortFlag, 1);
    EXPECT_EQ(app.savedTop, 1500);
    EXPECT_EQ(app.savedLeft, 2500);
    EXPECT_TRUE(app.main.menusortbydateadded.checked());
    const CfgBytes f{ReadBytes(ProgramFile("tabbern.cfg"))};
    ASSERT_EQ(f.bytes.size(), 132u);
    EXPECT_EQ(f.text(2, 35), Padded("Tabbern 5.2", 35));
    EXPECT_EQ(f.text(37, 5), "5.2  ");
    EXPECT_EQ(f.text(44, 70), std::string(70, ' '));
    EXPECT_EQ(f.num(124, 2), 3);
    EXPECT_EQ(f.num(116, 4), 1500);
    EXPECT_EQ(f.bytes.substr(128), "TAIL");
}

TEST_F(SettingsTest, SortTickFollowsTheRememberedChoice) {
    struct Case {
        std::int16_t rememberSort, sortChoice;
        std::string ticked;
    };
    const Case cases[] = {
        {1, 1, "menusortbyname"},   {1, 2, "menusortbyurl"},  {1, 3, "menusortbydateadded"},
        {1, 4, "menulastaccessed"}, {1, 0, "menusortbyname"}, {1, 9, "menusortbyname"},
        {0, 3, "menusortbyname"},   {2, 4, "menusortbyname"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rememberSort << "/" << c.sortChoice);
        TempDir folder;
        FakePlatform platform(folder.path());
        App other(platform);
        SettingsRecord r;
        r.rememberSort = c.rememberSort;
        r.sortChoice = c.sortChoice;
        const auto bytes = EncodeSettingsRecord(r);
        WriteBytes(folder.file("tabbern.cfg"), std::string(bytes.begin(), bytes.end()));
        Dispatch(other, [&] { MainForm_Load(other); });
        std::vector<std::string> ticked;
        for (MenuItem* m : other.main.menusortby.children)
            if (m->checked())
                ticked.push_back(m->name());
        EXPECT_EQ(ticked, std::vector<std::string>{c.ticked});
    }
}

TEST(SettingsRounding, HalvesGoToTheEvenNumber) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(1234.49), 1234);
    EXPECT_EQ(RoundHalfEven(1234.51), 1235);
    EXPECT_EQ(RoundHalfEven(-0.4), 0);
}

TEST_F(SettingsTest, ScreenLocationOnStoresThePositionAndOffClearsIt) {
    ASSERT_TRUE(Start());
    app.main.move(4200.5, 1300.5);
    SaveScreenLocation(app, true);
    CfgBytes on{ReadBytes(ProgramFile("tabbern.cfg"))};
    EXPECT_EQ(on.num(114, 2), -1);
    EXPECT_EQ(on.num(116, 4), 1300);
    EXPECT_EQ(on.num(120, 4), 4200);

    SaveScreenLocation(app, false);
    CfgBytes off{ReadBytes(ProgramFile("tabbern.cfg"))};
    EXPECT_EQ(off.num(114, 2), 0);
    EXPECT_EQ(off.num(116, 4), 0);
    EXPECT_EQ(off.num(120, 4), 0);
}

TEST_F(SettingsTest, PositionIsNotTakenWhileTheWindowIsInTheTray) {
    ASSERT_TRUE(Start());
    app.main.move(100, 200);
    SaveScreenLocation(app, true);
    app.inTrayFlag = -1;
    app.main.move(-32000, -32000);
    SaveScreenLocation(app, true);
    CfgBytes f{ReadBytes(ProgramFile("tabbern.cfg"))};
    EXPECT_EQ(f.num(116, 4), 200);
    EXPECT_EQ(f.num(120, 4), 100);
}

} // namespace
} // namespace tabbern::test
