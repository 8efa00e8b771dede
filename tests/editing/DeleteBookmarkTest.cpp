// Deleting the selected bookmark by its content.
#include "editing/EditingFixture.h"

namespace tabbern::test {
namespace {

using DeleteBookmark = EditingTest;

TEST_F(DeleteBookmark, AnEmptyListSaysSo) {
    WriteStore({});
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Click(app.main.menunamesdelete));
    EXPECT_EQ(Messages(), (Names{"There Are No Bookmark's To Delete"}));
}

TEST_F(DeleteBookmark, TheConfirmationNamesTheBookmarkAndCancelKeepsIt) {
    WriteStore({Record(" One ", " Work ", "http://one.example ")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string before = StoreBytes();
    fake.answers = {MsgResult::Cancel};

    ASSERT_TRUE(Click(app.main.menunamesdelete));

    ASSERT_EQ(fake.messages.size(), 1u);
    // The listed URL was trimmed when the store was loaded.
    EXPECT_EQ(fake.messages[0].text, "Delete The Bookmark:\rOne\r\rFrom The Group: \rWork\r\r"
                                     "For URL: \rhttp://one.example");
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(app.main.List1.listCount(), 1);
}

TEST_F(DeleteBookmark, NameAndGroupMatchIgnoringCaseButTheUrlMustMatchExactly) {
    WriteStore(
        {Record("Keep", "Work", "http://keep.example"), Record("Dup", "Work", "http://dup.example"),
         Record(" DUP ", " WORK ", "http://dup.example"),
         Record("Dup", "Work", "http://DUP.example"), Record("Dup", "Home", "http://dup.example")},
        {"Home", "Work"});
    ASSERT_TRUE(StartList());
    ChooseGroup("Work");
    Pick("Dup");
    fake.answers = {MsgResult::OK};

    ASSERT_TRUE(Click(app.main.menunamesdelete));

    // The file keeps the numbers the rows had; the reload numbers them afresh.
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "Keep", "Work", "http://keep.example"),
                                            Rec(3, "Dup", "Work", "http://DUP.example"),
                                            Rec(4, "Dup", "Home", "http://dup.example")}));
    EXPECT_EQ(app.recordCount, 3);
    EXPECT_EQ(app.main.Combo1.listIndex(), 0);
    EXPECT_EQ(app.main.List3.items(), (Names{"0", "1", "2"}));
    EXPECT_EQ(app.main.LabelShowURLAddress.caption(), "http://keep.example ");
}

TEST_F(DeleteBookmark, ABookmarkWithoutAGroupIsDeletedWithItsBlankGroupTwins) {
    WriteStore({Record("Loose", "", "http://loose.example"),
                Record("loose", "   ", "http://loose.example"),
                Record("Loose", "Work", "http://loose.example")},
               {"Work"});
    ASSERT_TRUE(StartList());
    Pick("Loose");
    fake.answers = {MsgResult::OK};

    ASSERT_TRUE(Click(app.main.menunamesdelete));

    EXPECT_EQ(fake.messages[0].text, "Delete The Bookmark:\rLoose\r\rFrom The Group: \r\r\r"
                                     "For URL: \rhttp://loose.example");
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(2, "Loose", "Work", "http://loose.example")}));
    EXPECT_EQ(app.main.List3.items(), (Names{"0"}));
}

TEST_F(DeleteBookmark, AfterASortByUrlTheSelectedBookmarkIsTheOneDeleted) {
    WriteStore({Record("Ca", "Work", "http://c.example"), Record("Aa", "Work", "http://a.example"),
                Record("Ba", "Work", "http://b.example")},
               {"Work"});
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Click(app.main.menusortbyurl));
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(1); }));
    fake.answers = {MsgResult::OK};

    ASSERT_TRUE(Click(app.main.menunamesdelete));

    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "Aa", "Work", "http://a.example"),
                                            Rec(2, "Ca", "Work", "http://c.example")}));
    EXPECT_EQ(app.main.List1.items(), (Names{"Aa", "Ca"}));
    EXPECT_EQ(app.main.List3.items(), (Names{"0", "1"}));
}

} // namespace
} // namespace tabbern::test
