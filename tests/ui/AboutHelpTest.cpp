// The Help menu: the product's web site, and the about box and help window.
#include "support/AppFixture.h"

#include "store/Text.h"
#include "ui/AboutHelp.h"

namespace tabbern::test {
namespace {

using AboutHelpTest = AppTest;

TEST_F(AboutHelpTest, TheWebsiteOpensTheFetchedWebAddressWithTheVersionAsId) {
    ASSERT_TRUE(Start());
    const std::string redirect =
        std::string("http://") + TABBERN_WEBSITE_HOST + "/linkto/tabbern/url.txt";
    const std::string id = "?ID=" + app.versionText;
    const std::pair<std::string, std::string> cases[] = {
        {"https://tabbern.example/home/", "https://tabbern.example/home/" + id},
        {"  www.tabbern.example/page", "http://www.tabbern.example/page" + id},
        {"http://tabbern.example/page\r\n", "http://tabbern.example/page" + id},
        {"", ""},
        {"   ", ""},
        {"file:///etc/passwd", ""},
        {"C:\\x.exe", ""},
    };
    for (const auto& [fetched, opened] : cases) {
        SCOPED_TRACE(fetched);
        fake.openedUrls.clear();
        fake.messages.clear();
        fake.webPages[redirect] = fetched;
        ASSERT_TRUE(Click(app.main.menutabbernwebsite));
        EXPECT_EQ(fake.openedUrls, opened.empty() ? Names{} : Names{opened});
        EXPECT_EQ(Messages(), opened.empty() && !IsBlank(fetched)
                                  ? Names{"Tabbern Opens Only Web Addresses:\r" + fetched + id}
                                  : Names{});
    }
    // The about box's title and web address open it too.
    fake.openedUrls.clear();
    fake.webPages[redirect] = "http://tabbern.example/";
    ASSERT_TRUE(Run([&] { app.frmAbout.lblTitle.click(); }));
    ASSERT_TRUE(Run([&] { app.frmAbout.Label2.click(); }));
    EXPECT_EQ(fake.openedUrls, Names(2, "http://tabbern.example/" + id));
}

} // namespace
} // namespace tabbern::test
