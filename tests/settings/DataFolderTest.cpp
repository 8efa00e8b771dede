// Choosing another data folder: the reload from it, the data-path file and the folder label.
#include "support/AppFixture.h"

#include "store/FileIo.h"

namespace tabbern::test {
namespace {

const std::string kPrompt = "Please select a Server folder.";

class DataFolderTest : public AppTest {
protected:
    bool ChooseFolder(const std::string& answer) {
        fake.folderAnswers = {answer};
        return Run([&] { app.main.menusetdata.click(); });
    }
};

TEST_F(DataFolderTest, EmptyFolderGetsBothFilesAndBecomesTheDataFolder) {
    WriteBytes(ProgramFile("tabbern.dat"),
               FileWithHeader({Record("Alpha", "Work", "http://a.example")}));
    ASSERT_TRUE(Start());
    ASSERT_EQ(app.main.List1.items(), std::vector<std::string>{"Alpha"});
    const std::string data = dir.makeDir("shared");

    ASSERT_TRUE(ChooseFolder(data));

    EXPECT_EQ(fake.folderPrompts, std::vector<std::string>{kPrompt});
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(ReadBytes(data + "/tabbern.dat"), HeaderLine() + "\r\n");
    EXPECT_EQ(ReadBytes(data + "/tabbern.grp"), HeaderLine() + "\r\n");
    EXPECT_EQ(app.dataFolder, data);
    EXPECT_EQ(app.recordCount, 0);
    EXPECT_TRUE(app.main.List1.items().empty());
    EXPECT_EQ(app.main.Combo1.items(), std::vector<std::string>{"All Groups"});
    EXPECT_EQ(app.main.Combo1.listIndex(), 0);
    EXPECT_EQ(app.main.lblWhatGroup.caption(), "");
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.sdf")), data + "\r\n");
    EXPECT_EQ(app.main.lblAltDatapath.caption(), "   " + data + " ");
    EXPECT_EQ(app.main.lblAltDatapath.toolTip(), " " + data + " ");
    // The old folder's files are left as they were.
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.dat")),
              FileWithHeader({Record("Alpha", "Work", "http://a.example")}));
}

TEST_F(DataFolderTest, FolderWithDataIsLoadedAndItsMissingGroupsAreAdded) {
    ASSERT_TRUE(Start());
    const std::string data = dir.makeDir("shared");
    WriteBytes(data + "/tabbern.dat",
               FileWithHeader({Record("Beta", "Work", "http://b.example", "1/2/2025", "5/6/2025"),
                               Record("Alpha", "Home", "http://a.example")}));
    WriteBytes(data + "/tabbern.grp", FileWithHeader({"Home"}));

    ASSERT_TRUE(ChooseFolder(data));

    EXPECT_EQ(ReadBytes(data + "/tabbern.grp"), FileWithHeader({"Home", "Work"}));
    EXPECT_EQ(app.main.Combo1.items(), (std::vector<std::string>{"All Groups", "Home", "Work"}));
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_EQ(app.main.List1.items(), (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_EQ(app.main.List1.listIndex(), 0);
    EXPECT_EQ(app.main.lblWhatGroup.caption(), "Work");
    EXPECT_EQ(app.main.lblDateAccessed.caption(), " 5/6/2025 ");
}

TEST_F(DataFolderTest, ListFollowsTheRememberedSortAfterTheChange) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Run([&] { app.main.menuremembersortchoices.click(); }));
    ASSERT_TRUE(Run([&] { app.main.menusortbyname.click(); }));
    const std::string data = dir.makeDir("shared");
    WriteBytes(data + "/tabbern.dat", FileWithHeader({Record("Beta", "G", "http://b.example"),
                                                      Record("Alpha", "G", "http://a.example")}));

    ASSERT_TRUE(ChooseFolder(data));

    EXPECT_EQ(app.main.List1.items(), (std::vector<std::string>{"Alpha", "Beta"}));
}

TEST_F(DataFolderTest, TrailingSeparatorIsDroppedButTheDataPathFileKeepsIt) {
    ASSERT_TRUE(Start());
    const std::string data = dir.makeDir("shared");

    ASSERT_TRUE(ChooseFolder(data + kPathSeparator));

    EXPECT_EQ(app.dataFolder, data);
    EXPECT_EQ(app.dataFile("tabbern.dat"), JoinPath(data, "tabbern.dat"));
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.sdf")), data + kPathSeparator + "\r\n");
    EXPECT_EQ(app.main.lblAltDatapath.caption(), "   " + data + " ");
    EXPECT_TRUE(Exists(data + "/tabbern.grp"));
}

TEST_F(DataFolderTest, CancellingKeepsTheEarlierChoice) {
    ASSERT_TRUE(Start());
    const std::string first = dir.makeDir("first");
    WriteBytes(first + "/tabbern.dat", FileWithHeader({Record("Alpha", "G", "http://a.example")}));
    ASSERT_TRUE(ChooseFolder(first));

    for (const std::string cancel : {"", "   "}) {
        SCOPED_TRACE("'" + cancel + "'");
        ASSERT_TRUE(ChooseFolder(cancel));
        EXPECT_EQ(app.dataFolder, first);
        EXPECT_EQ(ReadBytes(ProgramFile("tabbern.sdf")), first + "\r\n");
        EXPECT_EQ(app.main.lblAltDatapath.caption(), "   " + first + " ");
        EXPECT_EQ(app.main.List1.items(), std::vector<std::string>{"Alpha"});
    }
    EXPECT_EQ(fake.folderPrompts.size(), 3u);
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(DataFolderTest, RefusedRepairEndsTheProgramBeforeTheChoiceIsRemembered) {
    ASSERT_TRUE(Start());
    const std::string first = dir.makeDir("first");
    ASSERT_TRUE(ChooseFolder(first));
    const std::string damaged = dir.makeDir("damaged");
    WriteBytes(damaged + "/tabbern.dat", "not a Tabbern file\r\n");
    fake.answers = {MsgResult::No};

    EXPECT_FALSE(ChooseFolder(damaged));

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(damaged + "/tabbern.dat"), "not a Tabbern file\r\n");
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.sdf")), first + "\r\n");
    EXPECT_FALSE(Exists(ProgramFile("tabbern.run")));
}

TEST_F(DataFolderTest, MissingFolderIsAFileErrorThatEndsTheProgram) {
    ASSERT_TRUE(Start());
    const std::string missing = dir.path() + "/gone";

    EXPECT_FALSE(ChooseFolder(missing));

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find(missing), std::string::npos) << fake.messages[0].text;
    EXPECT_FALSE(Exists(ProgramFile("tabbern.sdf")));
}

TEST_F(DataFolderTest, LabelDoubleClickChangesTheFolderToo) {
    ASSERT_TRUE(Start());
    const std::string data = dir.makeDir("shared");
    fake.folderAnswers = {data};

    ASSERT_TRUE(Run([&] { app.main.lblAltDatapath.onDblClick(); }));

    EXPECT_EQ(fake.folderPrompts, std::vector<std::string>{kPrompt});
    EXPECT_EQ(app.dataFolder, data);
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.sdf")), data + "\r\n");
}

TEST_F(DataFolderTest, SwitchYDisablesBothWaysOfChanging) {
    fake.commandLineText = "y";
    ASSERT_TRUE(Start());
    fake.folderAnswers = {dir.makeDir("shared")};

    ASSERT_TRUE(Run([&] { app.main.menusetdata.click(); }));
    ASSERT_TRUE(Run([&] { app.main.lblAltDatapath.onDblClick(); }));

    EXPECT_TRUE(fake.folderPrompts.empty());
    EXPECT_EQ(app.dataFolder, dir.path());
    EXPECT_FALSE(Exists(ProgramFile("tabbern.sdf")));
}

} // namespace
} // namespace tabbern::test
