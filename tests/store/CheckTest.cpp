// The start-up check of the two data files: a missing or empty file gets its header line, a
// damaged one is replaced only on Yes (its bytes kept beside it), and No ends the program.
#include "store/Store.h"

#include "support/AppFixture.h"

#include <cctype>

namespace tabbern::test {
namespace {

// The store file or the group file, by name.
class CheckDataFile : public AppTest, public ::testing::WithParamInterface<std::string> {
protected:
    std::string Path() const { return app.dataFile(GetParam()); }
    bool Check() {
        return Run(
            [this] { (GetParam() == "tabbern.dat" ? CheckStoreFile : CheckGroupFile)(app); });
    }
};

TEST_P(CheckDataFile, OnlyTheHeaderAsTheWholeFirstLineIsIntactAndYesKeepsADamagedCopy) {
    PrepareFolders();
    EXPECT_TRUE(Check()); // a missing file gets its header line
    EXPECT_EQ(ReadBytes(Path()), FileWithHeader({}));
    fake.hiddenFiles.insert(Path()); // a hidden file is still the user's data
    std::string upper = HeaderLine();
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string rest = Rec(0, "Kept", "Work", "http://kept.example") + "\r\nnot a record\r\n";
    const std::pair<std::string, bool> cases[] = {
        // the file, damaged
        {"", false},
        {upper + "\r\n" + rest, false},
        {"   " + HeaderLine() + "  \n" + rest, false},
        {HeaderLine() + "\r" + rest, false},
        {HeaderLine(), false},
        {HeaderLine() + "\r\n\xFF\xFE garbage\r\n", false},
        {"\r\n" + HeaderLine() + "\r\n", true},
        {HeaderLine() + " extra\r\n", true},
        {HeaderLine().substr(1) + "\r\n", true},
        {std::string("\0", 1) + HeaderLine(), true},
        {std::string(4096, '\0'), true},
    };
    std::string copy = Path() + ".bad";
    for (int copies = 1; const auto& [bytes, damaged] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes).substr(0, 60));
        fake.messages.clear();
        fake.answers = {MsgResult::Yes};
        WriteBytes(Path(), bytes);
        EXPECT_TRUE(Check());
        EXPECT_EQ(fake.messages.size(), damaged ? 1u : 0u); // the question whether to replace it
        // An empty file holds nothing to lose and gets its header line.
        EXPECT_EQ(ReadBytes(Path()), damaged || bytes.empty() ? FileWithHeader({}) : bytes);
        if (damaged) {
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

    EXPECT_EQ(fake.messages.at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(Path()), damaged);
    EXPECT_FALSE(Exists(File("tabbern.run")) || Exists(File("tabbern.min")));
    EXPECT_TRUE(Exists(File("tabbern.ign")));
    EXPECT_FALSE(Exists(File(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(, CheckDataFile, ::testing::Values("tabbern.dat", "tabbern.grp"),
                         [](const auto& p) { return p.param.substr(8); }); // dat, grp

} // namespace
} // namespace tabbern::test
