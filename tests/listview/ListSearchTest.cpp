// Finding a listed bookmark by its name from the search box.
#include "listview/ListFixture.h"

namespace tabbern::test {
namespace {

class ListSearch : public ListTest {
protected:
    void SetUp() override {
        WriteStore({Record("Apple", "Work", "http://apple.example"),
                    Record("Banana", "Home", "http://banana.example"),
                    Record("Same", "Work", "http://same1.example"),
                    Record("Same", "Home", "http://same2.example"),
                    Record("Cherry", "Work", "http://cherry.example")});
        ASSERT_TRUE(StartList());
    }
    bool Type(const std::string& text, int key) {
        app.main.TextNameSearch.setText(text);
        return Run([&] { app.main.TextNameSearch.onKeyPress(key); });
    }
};

TEST_F(ListSearch, FindsTheFirstEntryIgnoringCaseAndBlanks) {
    ASSERT_TRUE(Type("  sAmE  ", 13));

    EXPECT_EQ(app.main.List1.listIndex(), 2);
    ExpectHiddenListsAt(2);
    EXPECT_EQ(app.selectedUrl, "http://same1.example");
    EXPECT_EQ(app.main.LabelShowURLAddress.caption(), "http://same1.example ");
    EXPECT_EQ(app.main.TextNameSearch.text(), "");
    EXPECT_TRUE(fake.messages.empty());

    app.main.TextNameSearch.setText("BANANA");
    ASSERT_TRUE(Run([&] { app.main.Command2.click(); }));
    EXPECT_EQ(app.main.List1.listIndex(), 1);
    EXPECT_EQ(app.selectedUrl, "http://banana.example");
}

TEST_F(ListSearch, NotFoundTellsTheUserAndRestoresTheSelection) {
    ChooseGroup("Work"); // Apple, Same, Cherry
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(1); }));
    struct Case {
        const char* typed;
        const char* message;
    };
    for (const Case& c :
         {Case{"App", " Could Not Find Bookmark <App>"},
          Case{" Banana ", " Could Not Find Bookmark <Banana>"}, // other group
          Case{"", " Could Not Find Bookmark <>"}, Case{"   ", " Could Not Find Bookmark <>"}}) {
        SCOPED_TRACE(c.typed);
        fake.messages.clear();
        ASSERT_TRUE(Type(c.typed, 13));

        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(fake.messages[0].text, c.message);
        EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
        EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OK);
        EXPECT_EQ(app.main.TextNameSearch.text(), "");
        EXPECT_EQ(app.main.List1.listIndex(), 1);
        ExpectHiddenListsAt(1);
        EXPECT_EQ(app.selectedUrl, "http://same1.example");
        EXPECT_EQ(app.main.LabelShowURLAddress.caption(), "http://same1.example ");
    }
}

TEST_F(ListSearch, FailureWithoutASelectionLeavesNoneAndEmptyDetails) {
    app.main.List1.setListIndex(-1);

    ASSERT_TRUE(Type("Plum", 13));

    EXPECT_EQ(fake.messageTexts(), Names{" Could Not Find Bookmark <Plum>"});
    EXPECT_EQ(app.main.List1.listIndex(), -1);
    ExpectHiddenListsAt(-1);
    EXPECT_EQ(app.selectedUrl, "");
    EXPECT_EQ(app.main.lblWhatGroup.caption(), "");
    EXPECT_EQ(app.main.LabelShowURLAddress.caption(), " ");
    EXPECT_EQ(app.main.lblDateAccessed.caption(), "  ");
}

TEST_F(ListSearch, EmptyListNeverFinds) {
    app.currentGroupFilter = "nothing";
    ASSERT_TRUE(Run([&] { FillBookmarkList(app); }));

    ASSERT_TRUE(Type("Apple", 13));
    EXPECT_EQ(fake.messageTexts(), Names{" Could Not Find Bookmark <Apple>"});
}

TEST_F(ListSearch, OnlyEnterOrTheButtonWithTextSearches) {
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(3); }));

    ASSERT_TRUE(Type("Apple", 'e'));
    app.main.TextNameSearch.setText("   ");
    ASSERT_TRUE(Run([&] { app.main.Command2.click(); }));

    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(app.main.TextNameSearch.text(), "   ");
    EXPECT_EQ(app.main.List1.listIndex(), 3);
}

} // namespace
} // namespace tabbern::test
