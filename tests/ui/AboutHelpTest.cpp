// The Help menu's web site command: the address fetched, checked and opened.
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
}

} // namespace
} // namespace tabbern::test
