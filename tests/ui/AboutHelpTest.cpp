// The Help menu: the about box, the help window and the product's web site.
#include "support/AppFixture.h"

#include "ui/AboutHelp.h"

#include <algorithm>

namespace tabbern::test {
namespace {

const std::string kRedirect =
    std::string("http://") + TABBERN_WEBSITE_HOST + "/linkto/tabbern/url.txt";

class AboutHelpTest : public AppTest {
protected:
    bool OpenWebsite(const std::string& redirectFile) {
        fake.webPages[kRedirect] = redirectFile;
        return Run([&] { app.main.menutabbernwebsite.click(); });
    }
};

// ---- the web site -----------------------------------------------------------------------

TEST_F(AboutHelpTest, WebsiteOpensTheFetchedAddressWithTheVersionAsId) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenWebsite("https://tabbern.example/home/"));
    EXPECT_EQ(fake.openedUrls, std::vector<std::string>{"https://tabbern.example/home/?ID=5.2"});
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(AboutHelpTest, NothingToFetchOpensNothingAndSaysNothing) {
    ASSERT_TRUE(Start());
    for (const std::string fetched : {"", "   "}) {
        SCOPED_TRACE("'" + fetched + "'");
        ASSERT_TRUE(OpenWebsite(fetched));
    }
    // Unreachable server: the fetch gives empty text.
    fake.webPages.clear();
    ASSERT_TRUE(Run([&] { app.main.menutabbernwebsite.click(); }));
    EXPECT_TRUE(fake.openedUrls.empty());
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(AboutHelpTest, TheFetchedTextsBlanksAndLineEndAreNoPartOfTheAddress) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenWebsite("  www.tabbern.example/page"));
    ASSERT_TRUE(OpenWebsite("http://tabbern.example/page\r\n"));
    EXPECT_EQ(fake.openedUrls, (std::vector<std::string>{"http://www.tabbern.example/page?ID=5.2",
                                                         "http://tabbern.example/page?ID=5.2"}));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(AboutHelpTest, NonWebAddressesAreRefusedByName) {
    ASSERT_TRUE(Start());
    for (const std::string fetched :
         {"file:///etc/passwd", "/usr/bin/xterm", "javascript:alert(1)", "C:\\x.exe"}) {
        SCOPED_TRACE(fetched);
        fake.messages.clear();
        ASSERT_TRUE(OpenWebsite(fetched));
        EXPECT_EQ(
            fake.messageTexts(),
            std::vector<std::string>{"Tabbern Opens Only Web Addresses:\r" + fetched + "?ID=5.2"});
    }
    EXPECT_TRUE(fake.openedUrls.empty());
}

TEST_F(AboutHelpTest, TheAboutBoxLinksOpenTheWebsiteToo) {
    ASSERT_TRUE(Start());
    fake.webPages[kRedirect] = "http://tabbern.example/";
    ASSERT_TRUE(Run([&] { app.frmAbout.lblTitle.click(); }));
    ASSERT_TRUE(Run([&] { app.frmAbout.Label2.click(); }));
    EXPECT_EQ(fake.openedUrls, (std::vector<std::string>{"http://tabbern.example/?ID=5.2",
                                                         "http://tabbern.example/?ID=5.2"}));
}

// ---- the two windows --------------------------------------------------------------------

TEST_F(AboutHelpTest, AboutAndHelpShowModallyAndTheirButtonsCloseThem) {
    ASSERT_TRUE(Start());
    bool aboutClosed = false, helpClosed = false;
    fake.modalScripts["frmAbout"] = [&](Form& f) {
        app.frmAbout.cmdOK.click();
        aboutClosed = !f.visible();
    };
    fake.modalScripts["frmHelp"] = [&](Form& f) {
        app.frmHelp.Command1.click();
        helpClosed = !f.visible();
    };
    fake.shownForms.clear();

    ASSERT_TRUE(Run([&] { app.main.menuabout.click(); }));
    ASSERT_TRUE(Run([&] { app.main.helpdocument.click(); }));

    EXPECT_EQ(fake.shownForms, (std::vector<std::string>{"frmAbout", "frmHelp"}));
    EXPECT_TRUE(aboutClosed);
    EXPECT_TRUE(helpClosed);
}

TEST_F(AboutHelpTest, StartUpSetsTheAboutAndHelpTexts) {
    ASSERT_TRUE(Start());
    const AboutForm& about = app.frmAbout;
    EXPECT_EQ(about.caption(), " About Tabbern 5.2");
    EXPECT_EQ(about.lblTitle.caption(), "Tabbern 5.2");
    EXPECT_EQ(about.lblDescription.caption(),
              "The Tabbern allows you to easily access your bookmarks and favorite websites "
              "directly from your desktop, \r\n"
              "without being forced to use a specific browser.\r\n"
              "\r\n"
              "* Use multiple website browsers on the same computer. \r\n"
              "* Easily share your bookmarks on different computers . \r\n"
              "* Share your bookmarks across drives and networks. \r\n"
              "* Group your bookmarks for better organization. \r\n"
              "* Sort your bookmarks for easier access and viewing. \r\n");
    const std::string& notice = about.lblDisclaimer.caption();
    EXPECT_FALSE(notice.empty());
    EXPECT_EQ(notice.find_first_of("\r\n"), std::string::npos) << notice;
    EXPECT_EQ(about.cmdOK.toolTip(), " Close About Screen ");
    EXPECT_EQ(app.frmHelp.Command1.caption(), " Close ");
    // Touched at start-up, shown only on request.
    EXPECT_FALSE(about.visible());
    EXPECT_FALSE(app.frmHelp.visible());
}

// ---- the help document ------------------------------------------------------------------

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST_F(AboutHelpTest, HelpHasEverySectionInMenuOrderEachWithText) {
    const std::vector<std::string> headings = {
        "Bookmarks->Add A Bookmark:",
        "Bookmarks->Edit Selected Bookmark:",
        "Bookmarks-> Delete Selected Bookmark:",
        "Bookmarks->Sort By:",
        "Bookmarks->Exit:",
        "Groups->Add Group Below:",
        "Groups->Edit Selected Group:",
        "Groups->Delete Selected Group:",
        "Share->Import From A Text File:",
        "Share->Import From The Windows Clipboard:",
        "Share->Import From A Tabbern File:",
        "Share->Export Group To A Tabbern File:",
        "Options->Remember Sort Choices:",
        "Options->Remember Screen Location:",
        "Options->Start When Windows Starts:",
        "Options->Start Tabbern Minimized:",
        "Options->Change Path For Data Files:",
        "Help->About Tabbern:",
        "Help->Tabbern Help:",
        "Help->Tabbern Website:",
        "My Groups List:",
        "Bookmark List:",
        "Find:",
        "Data Path Window:",
        "Last Accessed:",
        "URL Link:",
        "Group:",
        "Notes:",
        "Backups:",
    };
    const std::vector<std::string> lines = SplitCrLf(app.frmHelp.Text1.text());
    // An introduction comes first.
    ASSERT_FALSE(lines.empty());
    EXPECT_FALSE(lines.front().empty());
    EXPECT_EQ(std::find(headings.begin(), headings.end(), lines.front()), headings.end());

    std::size_t from = 0;
    for (const std::string& heading : headings) {
        SCOPED_TRACE(heading);
        const auto it =
            std::find(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(), heading);
        ASSERT_NE(it, lines.end()) << "missing or out of order";
        const auto at = static_cast<std::size_t>(it - lines.begin());
        ASSERT_LT(at + 1, lines.size());
        EXPECT_GT(lines[at + 1].size(), 10u) << "no paragraph under the heading";
        from = at + 1;
    }
}

TEST_F(AboutHelpTest, HelpLinesEndInCrLfAndTheClosingSectionsSayWhatTheyMust) {
    const std::string& text = app.frmHelp.Text1.text();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "lone LF at " << i;
        }
        if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "lone CR at " << i;
        }
    }
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    const std::vector<std::string> lines = SplitCrLf(text);
    auto paragraphAfter = [&](const std::string& heading) {
        const auto it = std::find(lines.begin(), lines.end(), heading);
        return it == lines.end() || it + 1 == lines.end() ? std::string() : *(it + 1);
    };
    const std::string notes = paragraphAfter("Notes:");
    EXPECT_NE(notes.find("same name"), std::string::npos) << notes;
    EXPECT_NE(notes.find("unique"), std::string::npos) << notes;
    EXPECT_NE(notes.find("case sensitive"), std::string::npos) << notes;
    const std::string backups = paragraphAfter("Backups:");
    EXPECT_NE(backups.find("program folder"), std::string::npos) << backups;
    EXPECT_NE(backups.find(".dat"), std::string::npos) << backups;
}

} // namespace
} // namespace tabbern::test
