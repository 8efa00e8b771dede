// The start-up check of the two data files: a missing or empty file gets its header line, a
// damaged one is replaced only when the user says Yes, and No ends the program.
#include "store/Store.h"

#include "support/AppFixture.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace tabbern::test {
namespace {

constexpr const char* kStoreQuestion =
    "The Database File Is Corrupt. Do You Want To Create A New, Blank Database File?\r"
    "WARNING: Selecting <Yes> Will Erase All Information From The Current Database File.";
constexpr const char* kGroupQuestion =
    "The Group File Is Corrupt. Do You Want To Create A New, Blank Group File?\r"
    "WARNING: Selecting <Yes> Will Erase All Information From The Current Group File.";

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// One data file and its check. Both checks behave alike apart from the file and the texts.
struct DataFileCase {
    const char* label;
    const char* fileName;
    void (*check)(App&);
    const char* question;
};

class CheckDataFile : public AppTest, public ::testing::WithParamInterface<DataFileCase> {
protected:
    void SetUp() override { PrepareFolders(); }

    std::string Path() const { return dir.file(GetParam().fileName); }
    bool RunCheck() {
        return Run([this] { GetParam().check(app); });
    }
    // A damaged file: its first line is a record line, not the header line.
    static std::string Damaged() {
        return Record("Lost", "Work", "http://lost.example") + "\r\n" + HeaderLine() + "\r\n";
    }
};

TEST_P(CheckDataFile, MissingFileIsCreatedWithTheHeaderLineOnly) {
    ASSERT_FALSE(Exists(Path()));
    EXPECT_TRUE(RunCheck());
    EXPECT_EQ(ReadBytes(Path()), FileWithHeader({}));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_P(CheckDataFile, EmptyFileGetsTheHeaderLineWithoutAQuestion) {
    WriteBytes(Path(), "");
    EXPECT_TRUE(RunCheck());
    EXPECT_EQ(ReadBytes(Path()), FileWithHeader({}));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_P(CheckDataFile, HeaderInOtherCaseOrAmongBlanksIsAccepted) {
    const std::string rest = Record("Kept", "Work", "http://kept.example") + "\r\nnot a record\r\n";
    const std::string variants[] = {
        Upper(HeaderLine()) + "\r\n" + rest,
        "   " + HeaderLine() + "  \r\n" + rest,
        "  " + Upper(HeaderLine()) + " \n" + rest,
        HeaderLine() + "\r" + rest,
        HeaderLine(), // no line end at all
        HeaderLine() + "\r\n" + "\xFF\xFE garbage after the first line\r\n",
    };
    for (const std::string& bytes : variants) {
        SCOPED_TRACE(bytes);
        WriteBytes(Path(), bytes);
        EXPECT_TRUE(RunCheck());
        EXPECT_EQ(ReadBytes(Path()), bytes);
    }
    EXPECT_TRUE(fake.messages.empty());
}

TEST_P(CheckDataFile, DamagedFirstLineAsksAndYesLeavesTheHeaderLineOnly) {
    WriteBytes(Path(), Damaged());
    fake.answers = {MsgResult::Yes};
    EXPECT_TRUE(RunCheck());
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, GetParam().question);
    EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(Path()), FileWithHeader({}));
    EXPECT_EQ(fake.endProcessCalls, 0);
}

TEST_P(CheckDataFile, YesKeepsTheDamagedBytesBesideTheFileWithoutOverwritingAnEarlierCopy) {
    const std::string first = Damaged(), second = "second damage\r\n";
    WriteBytes(Path(), first);
    fake.answers = {MsgResult::Yes};
    ASSERT_TRUE(RunCheck());
    WriteBytes(Path(), second);
    fake.answers = {MsgResult::Yes};
    ASSERT_TRUE(RunCheck());
    EXPECT_EQ(ReadBytes(Path() + ".bad"), first);
    EXPECT_EQ(ReadBytes(Path() + ".bad2"), second);
}

TEST_P(CheckDataFile, AHiddenOrSystemFileIsCheckedLikeAnyOther) {
    const std::string intact = FileWithHeader({Record("Kept", "Work", "http://kept.example")});
    WriteBytes(Path(), intact);
    fake.hiddenFiles.insert(Path());
    EXPECT_TRUE(RunCheck());
    EXPECT_EQ(ReadBytes(Path()), intact);
}

TEST_P(CheckDataFile, TheHeaderMustBeTheWholeFirstLine) {
    const std::string variants[] = {
        "\r\n" + HeaderLine() + "\r\n",        // blank first line
        HeaderLine() + " extra\r\n",           // more on the same line
        "\t" + HeaderLine() + "\r\n",          // a tab is no blank
        HeaderLine().substr(1) + "\r\n",       // the opening bracket missing
        Record("a", "b", "http://c") + "\r\n", // a record line
        "\xEF\xBB\xBF" + std::string("x\r\n"), // a byte-order mark and junk
        std::string("\r\n"),                   // only a line end
    };
    for (const std::string& bytes : variants) {
        SCOPED_TRACE(bytes);
        fake.messages.clear();
        fake.answers = {MsgResult::Yes};
        WriteBytes(Path(), bytes);
        EXPECT_TRUE(RunCheck());
        EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{GetParam().question});
        EXPECT_EQ(ReadBytes(Path()), FileWithHeader({}));
    }
}

TEST_P(CheckDataFile, NoEndsTheProgramDeletesTheMarkersAndKeepsTheFile) {
    WriteBytes(Path(), Damaged());
    WriteBytes(ProgramFile("tabbern.run"), "Tabbern\r\n");
    WriteBytes(ProgramFile("tabbern.min"), "Tabbern\r\n");
    WriteBytes(ProgramFile("tabbern.ign"), "Tabbern\r\n");
    fake.answers = {MsgResult::No};
    EXPECT_FALSE(RunCheck());
    EXPECT_EQ(fake.endProcessCalls, 1);
    EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{GetParam().question});
    EXPECT_EQ(ReadBytes(Path()), Damaged());
    EXPECT_FALSE(Exists(ProgramFile("tabbern.run")));
    EXPECT_FALSE(Exists(ProgramFile("tabbern.min")));
    EXPECT_TRUE(Exists(ProgramFile("tabbern.ign")));
}

TEST_P(CheckDataFile, NoWithoutMarkersStillEndsTheProgram) {
    WriteBytes(Path(), Damaged());
    fake.answers = {MsgResult::No};
    EXPECT_FALSE(RunCheck());
    EXPECT_EQ(fake.endProcessCalls, 1);
    EXPECT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(ReadBytes(Path()), Damaged());
}

INSTANTIATE_TEST_SUITE_P(
    , CheckDataFile,
    ::testing::Values(DataFileCase{"StoreFile", "tabbern.dat", &CheckStoreFile, kStoreQuestion},
                      DataFileCase{"GroupFile", "tabbern.grp", &CheckGroupFile, kGroupQuestion}),
    [](const ::testing::TestParamInfo<DataFileCase>& param) {
        return std::string(param.param.label);
    });

// Each check looks at its own file only.
class CheckOneFile : public AppTest {
protected:
    void SetUp() override { PrepareFolders(); }
};

TEST_F(CheckOneFile, EachCheckLeavesTheOtherFileAlone) {
    const std::string damaged = "damaged\r\n";
    WriteBytes(dir.file("tabbern.grp"), damaged);
    EXPECT_TRUE(Run([this] { CheckStoreFile(app); }));
    EXPECT_EQ(ReadBytes(dir.file("tabbern.dat")), FileWithHeader({}));
    EXPECT_EQ(ReadBytes(dir.file("tabbern.grp")), damaged);

    WriteBytes(dir.file("tabbern.dat"), damaged);
    WriteBytes(dir.file("tabbern.grp"), FileWithHeader({"Work"}));
    EXPECT_TRUE(Run([this] { CheckGroupFile(app); }));
    EXPECT_EQ(ReadBytes(dir.file("tabbern.dat")), damaged);
    EXPECT_EQ(ReadBytes(dir.file("tabbern.grp")), FileWithHeader({"Work"}));
    EXPECT_TRUE(fake.messages.empty());
}

// The markers lie in the program folder; the data files may lie elsewhere.
class CheckDataFolder : public AppTest {
protected:
    void SetUp() override {
        dataFolder = dir.makeDir("data");
        WriteBytes(ProgramFile("tabbern.sdf"), dataFolder + "\r\n");
        PrepareFolders();
    }
    std::string dataFolder;
};

TEST_F(CheckDataFolder, ChecksTheDataFolderAndDeletesTheMarkersOfTheProgramFolder) {
    ASSERT_EQ(app.dataFolder, dataFolder);
    const std::string damaged = "no header here\r\n";
    WriteBytes(dataFolder + "/tabbern.dat", damaged);
    WriteBytes(ProgramFile("tabbern.run"), "Tabbern\r\n");
    WriteBytes(ProgramFile("tabbern.min"), "Tabbern\r\n");
    fake.answers = {MsgResult::No};
    EXPECT_FALSE(Run([this] { CheckStoreFile(app); }));
    EXPECT_EQ(ReadBytes(dataFolder + "/tabbern.dat"), damaged);
    EXPECT_FALSE(Exists(ProgramFile("tabbern.run")));
    EXPECT_FALSE(Exists(ProgramFile("tabbern.min")));
    EXPECT_FALSE(Exists(ProgramFile("tabbern.dat")));
}

TEST_F(CheckDataFolder, CreatesMissingFilesInTheDataFolder) {
    EXPECT_TRUE(Run([this] {
        CheckStoreFile(app);
        CheckGroupFile(app);
    }));
    EXPECT_EQ(ReadBytes(dataFolder + "/tabbern.dat"), FileWithHeader({}));
    EXPECT_EQ(ReadBytes(dataFolder + "/tabbern.grp"), FileWithHeader({}));
    EXPECT_FALSE(Exists(ProgramFile("tabbern.dat")));
    EXPECT_FALSE(Exists(ProgramFile("tabbern.grp")));
    EXPECT_TRUE(fake.messages.empty());
}

// The checks as part of the whole start-up sequence.
class CheckAtStartup : public AppTest {};

TEST_F(CheckAtStartup, RefusingTheStoreRepairEndsBeforeTheGroupFileIsExamined) {
    const std::string damagedStore = Record("Lost", "Work", "http://lost.example") + "\r\n";
    const std::string damagedGroups = "Work\r\nHome\r\n";
    WriteBytes(dir.file("tabbern.dat"), damagedStore);
    WriteBytes(dir.file("tabbern.grp"), damagedGroups);
    fake.answers = {MsgResult::No, MsgResult::Yes};

    EXPECT_FALSE(Start());

    EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{kStoreQuestion});
    EXPECT_EQ(fake.answers.size(), 1u);
    EXPECT_EQ(ReadBytes(dir.file("tabbern.dat")), damagedStore);
    EXPECT_EQ(ReadBytes(dir.file("tabbern.grp")), damagedGroups);
    EXPECT_FALSE(Exists(dir.file("tabbern.run"))); // written by the start-up, removed on No
    EXPECT_FALSE(app.main.visible());
}

TEST_F(CheckAtStartup, YesToBothQuestionsStartsWithEmptyFiles) {
    WriteBytes(dir.file("tabbern.dat"), Record("Lost", "Work", "http://lost.example") + "\r\n");
    WriteBytes(dir.file("tabbern.grp"), "Work\r\n");
    fake.answers = {MsgResult::Yes, MsgResult::Yes};

    EXPECT_TRUE(Start());

    EXPECT_EQ(fake.messageTexts(), (std::vector<std::string>{kStoreQuestion, kGroupQuestion}));
    EXPECT_EQ(ReadBytes(dir.file("tabbern.dat")), FileWithHeader({}));
    EXPECT_EQ(ReadBytes(dir.file("tabbern.grp")), FileWithHeader({}));
    EXPECT_EQ(app.recordCount, 0);
    EXPECT_EQ(app.groupCount, 0);
}

TEST_F(CheckAtStartup, MissingGroupFileBesideAnIntactStoreIsCreatedWithoutAQuestion) {
    WriteBytes(dir.file("tabbern.dat"),
               FileWithHeader({Record("Example", "Work", "http://example.com")}));

    EXPECT_TRUE(Start());

    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(app.recordCount, 1);
    // Created with its header line by the check; the store's group is added after the load.
    EXPECT_EQ(ReadBytes(dir.file("tabbern.grp")), FileWithHeader({"Work"}));
    EXPECT_EQ(app.groupCount, 1);
}

TEST_F(CheckAtStartup, NoFilesAtAllStartsEmptyAndQuietly) {
    EXPECT_TRUE(Start());
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(ReadBytes(dir.file("tabbern.dat")), FileWithHeader({}));
    EXPECT_EQ(ReadBytes(dir.file("tabbern.grp")), FileWithHeader({}));
    EXPECT_EQ(app.recordCount, 0);
}

} // namespace
} // namespace tabbern::test
