// The ways the program ends, and the dispatcher's answer to an unexpected file error.
#include "support/AppFixture.h"

#include "app/Exit.h"
#include "store/FileIo.h"

#include <filesystem>

namespace tabbern::test {
namespace {

using ExitTest = AppTest;

TEST_F(ExitTest, CloseBoxEndsWithoutAQuestionAndRemovesMarkersAndTrayIcon) {
    ASSERT_TRUE(Start());
    WriteBytes(ProgramFile("tabbern.min"), "Tabbern 5.2\r\n");

    EXPECT_FALSE(Run([&] { MainForm_Unload(app); }));

    EXPECT_TRUE(fake.messages.empty());
    EXPECT_FALSE(Exists(ProgramFile("tabbern.run")));
    EXPECT_FALSE(Exists(ProgramFile("tabbern.min")));
    ASSERT_FALSE(fake.trayCalls.empty());
    EXPECT_EQ(fake.trayCalls.back(), "remove");
}

TEST_F(ExitTest, ExitAnsweredNoLeavesEverythingAsItWas) {
    ASSERT_TRUE(Start());
    const std::string cfg = ReadBytes(ProgramFile("tabbern.cfg"));
    fake.answers = {MsgResult::No};

    EXPECT_TRUE(Run([&] { app.main.menuquit.click(); }));

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "Exit Tabbern 5.2");
    EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(Exists(ProgramFile("tabbern.run")));
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.cfg")), cfg);
    EXPECT_EQ(fake.trayCalls.size(), 1u);
}

TEST_F(ExitTest, ExitAnsweredYesWithRememberedLocationSavesThePosition) {
    ASSERT_TRUE(Start());
    app.main.menuscreenlocation.setChecked(true);
    app.main.move(3000, 1000);
    fake.answers = {MsgResult::Yes};

    EXPECT_FALSE(Run([&] { app.main.menuquit.click(); }));

    EXPECT_FALSE(Exists(ProgramFile("tabbern.run")));
    const std::string cfg = ReadBytes(ProgramFile("tabbern.cfg"));
    EXPECT_EQ(cfg.substr(114, 2), std::string("\xFF\xFF", 2));
    EXPECT_EQ(static_cast<unsigned char>(cfg[116]) | static_cast<unsigned char>(cfg[117]) << 8,
              1000);
    EXPECT_EQ(static_cast<unsigned char>(cfg[120]) | static_cast<unsigned char>(cfg[121]) << 8,
              3000);
}

TEST_F(ExitTest, FileErrorInAnEventIsShownWithPathAndReasonThenTheProcessEnds) {
    ASSERT_TRUE(Start());
    const std::string path = dir.path() + "/gone/tabbern.dat";

    EXPECT_FALSE(Run([&] { WriteFileAtomically(path, "x"); }));

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OK);
    const std::string& text = fake.messages[0].text;
    EXPECT_NE(text.find(path), std::string::npos) << text;
    EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;
    EXPECT_EQ(fake.endProcessCalls, 1);
}

TEST_F(ExitTest, HandlerWithoutErrorRunsToTheEnd) {
    int calls = 0;
    EXPECT_TRUE(Run([&] { ++calls; }));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.endProcessCalls, 0);
}

} // namespace
} // namespace tabbern::test
