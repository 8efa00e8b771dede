// Choosing another data folder: the reload from it, the data-path file and the folder label.
#include "support/AppFixture.h"

#include "store/FileIo.h"

namespace tabbern::test {
namespace {

class DataFolderTest : public AppTest {
protected:
    bool ChooseFolder(const std::string& answer) {
        fake.folderAnswers = {answer};
        return Click(app.main.menusetdata);
    }
};

TEST_F(DataFolderTest, TheChosenFolderIsLoadedGetsWhatItLacksAndIsRemembered) {
    WriteStore({Rec(0, "Old", "Work", "http://old")});
    ASSERT_TRUE(Start());
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
    EXPECT_EQ(app.main.lblWhatGroup.caption(), "");

    ASSERT_TRUE(ChooseFolder(data + kPathSeparator));
    EXPECT_EQ(fake.folderPrompts, Names(2, "Please select a Server folder."));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(app.dataFolder, data);
    EXPECT_EQ(ReadBytes(data + "/tabbern.grp"), FileWithHeader({"Home", "Work"}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Home", "Work"}));
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_EQ(app.main.List1.items(), (Names{"Alpha", "Beta"})); // the remembered sort
    EXPECT_EQ(app.main.lblWhatGroup.caption(), "Home");
    // The data-path file keeps the folder as chosen; the label shows it without the separator.
    EXPECT_EQ(ReadBytes(File("tabbern.sdf")), data + kPathSeparator + "\r\n");
    EXPECT_EQ(app.main.lblAltDatapath.caption(), "   " + data + " ");
    EXPECT_EQ(app.main.lblAltDatapath.toolTip(), " " + data + " ");
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

TEST_F(DataFolderTest, AFolderThatIsGoneOrARefusedRepairEndsTheProgramWithTheEarlierChoiceKept) {
    for (const bool damaged : {false, true}) {
        TestProgram p;
        ASSERT_TRUE(p.Start());
        const std::string first = p.dir.makeDir("first");
        p.fake.folderAnswers = {first};
        ASSERT_TRUE(p.Click(p.app.main.menusetdata));
        std::string chosen = p.File("gone");
        if (damaged) {
            chosen = p.dir.makeDir("damaged");
            WriteBytes(chosen + "/tabbern.dat", "not a Tabbern file\r\n");
        }
        p.fake.folderAnswers = {chosen};
        p.fake.answers = {MsgResult::No};

        EXPECT_FALSE(p.Click(p.app.main.menusetdata));

        ASSERT_EQ(p.fake.messages.size(), 1u);
        EXPECT_NE(p.fake.messages[0].text.find(damaged ? "Corrupt" : chosen), std::string::npos);
        EXPECT_EQ(ReadBytes(p.File("tabbern.sdf")), first + "\r\n");
        if (damaged) {
            EXPECT_FALSE(Exists(p.File("tabbern.run")));
        }
    }
}

} // namespace
} // namespace tabbern::test
