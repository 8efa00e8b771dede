// The start-up check of the two data files: a missing or empty file gets its header line, a
// damaged one is replaced only when the user says Yes (its bytes kept beside it), and No ends
// the program.
#include "store/Store.h"

#include "support/AppFixture.h"

#include <cctype>

namespace tabbern::test {
namespace {

const std::string kStoreQuestion =
    "The Database File Is Corrupt. Do You Want To Create A New, Blank Database File?\r"
    "WARNING: Selecting <Yes> Will Erase All Information From The Current Database File.";
const std::string kGroupQuestion =
    "The Group File Is Corrupt. Do You Want To Create A New, Blank Group File?\r"
    "WARNING: Selecting <Yes> Will Erase All Information From The Current Group File.";

struct DataFileCase {
    const char* label;
    const char* fileName;
    void (*check)(App&);
    const std::string* question;
};

class CheckDataFile : public AppTest, public ::testing::WithParamInterface<DataFileCase> {
protected:
    std::string Path() const { return app.dataFile(GetParam().fileName); }
    bool Check() {
        return Run([this] { GetParam().check(app); });
    }
};

TEST_P(CheckDataFile, AMissingOrEmptyFileGetsItsHeaderLineWithoutAQuestion) {
    PrepareFolders();
    EXPECT_TRUE(Check());
    EXPECT_EQ(ReadBytes(Path()), FileWithHeader({}));
    WriteBytes(Path(), "");
    EXPECT_TRUE(Check());
    EXPECT_EQ(ReadBytes(Path()), FileWithHeader({}));
    // A hidden file is still the user's data.
    fake.hiddenFiles.insert(Path());
    WriteBytes(Path(), FileWithHeader({"kept"}));
    EXPECT_TRUE(Check());
    EXPECT_EQ(ReadBytes(Path()), FileWithHeader({"kept"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_P(CheckDataFile, OnlyTheHeaderAsTheWholeFirstLineIsIntactAndYesKeepsADamagedCopy) {
    PrepareFolders();
    std::string upper = HeaderLine();
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string rest = Rec(0, "Kept", "Work", "http://kept.example") + "\r\nnot a record\r\n";
    const std::pair<std::string, bool> cases[] = {
        {upper + "\r\n" + rest, true},
        {"   " + HeaderLine() + "  \n" + rest, true},
        {HeaderLine() + "\r" + rest, true},
        {HeaderLine(), true},
        {HeaderLine() + "\r\n\xFF\xFE garbage\r\n", true},
        {"\r\n" + HeaderLine() + "\r\n", false},
        {HeaderLine() + " extra\r\n", false},
        {"\t" + HeaderLine() + "\r\n", false},
        {HeaderLine().substr(1) + "\r\n", false},
        {rest + HeaderLine(), false},
        {std::string("\0", 1) + HeaderLine(), false},
        {std::string(4096, '\0'), false},
    };
    std::string copy = Path() + ".bad";
    int copies = 1;
    for (const auto& [bytes, intact] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes).substr(0, 60));
        fake.messages.clear();
        fake.answers = {MsgResult::Yes};
        WriteBytes(Path(), bytes);
        EXPECT_TRUE(Check());
        EXPECT_EQ(Messages(), intact ? Names{} : Names{*GetParam().question});
        EXPECT_EQ(ReadBytes(Path()), intact ? bytes : FileWithHeader({}));
        if (!intact) {
            EXPECT_EQ(ReadBytes(copy), bytes);
            copy = Path() + ".bad" + std::to_string(++copies);
        }
    }
}

TEST_P(CheckDataFile, NoEndsTheProgramKeepsTheFileAndDeletesTheMarkersOfTheProgramFolder) {
    const std::string data = dir.makeDir("data");
    WriteBytes(File("tabbern.sdf"), data + "\r\n");
    PrepareFolders();
    const std::string damaged = "damaged\r\n";
    WriteBytes(Path(), damaged);
    for (const char* marker : {"tabbern.run", "tabbern.min", "tabbern.ign"})
        WriteBytes(File(marker), "Tabbern\r\n");
    fake.answers = {MsgResult::No};

    EXPECT_FALSE(Check());

    EXPECT_EQ(Messages(), Names{*GetParam().question});
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(Path()), damaged);
    EXPECT_FALSE(Exists(File("tabbern.run")));
    EXPECT_FALSE(Exists(File("tabbern.min")));
    EXPECT_TRUE(Exists(File("tabbern.ign")));
    EXPECT_FALSE(Exists(File(GetParam().fileName)));
}

INSTANTIATE_TEST_SUITE_P(
    , CheckDataFile,
    ::testing::Values(DataFileCase{"StoreFile", "tabbern.dat", &CheckStoreFile, &kStoreQuestion},
                      DataFileCase{"GroupFile", "tabbern.grp", &CheckGroupFile, &kGroupQuestion}),
    [](const ::testing::TestParamInfo<DataFileCase>& param) {
        return std::string(param.param.label);
    });

TEST(CheckAtStartup, RefusingTheStoreRepairEndsBeforeTheGroupFileIsLookedAt) {
    TestProgram p;
    const std::string store = Rec(0, "Lost", "Work", "http://lost.example") + "\r\n";
    WriteBytes(p.File("tabbern.dat"), store);
    WriteBytes(p.File("tabbern.grp"), "Work\r\n");
    p.fake.answers = {MsgResult::No, MsgResult::Yes};

    EXPECT_FALSE(p.Start());

    EXPECT_EQ(p.Messages(), Names{kStoreQuestion});
    EXPECT_EQ(p.StoreBytes(), store);
    EXPECT_EQ(p.GroupBytes(), "Work\r\n");
    EXPECT_FALSE(p.app.main.visible());
}

} // namespace
} // namespace tabbern::test
