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
