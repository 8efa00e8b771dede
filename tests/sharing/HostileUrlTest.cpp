// Addresses that are not web pages never reach the system, whether they come from the store,
// from a share file or from the product site's redirect file.
#include "sharing/SharingFixture.h"

#include "editing/EditingSupport.h"

#include <string>
#include <vector>

namespace tabbern::test {
namespace {

// Each would start a program, open a local file or reach another protocol if handed over.
std::vector<std::string> HostileUrls() {
    return {"file:///etc/passwd",
            "/usr/bin/xterm",
            "javascript:alert(1)",
            "smb://host/share",
            "ms-msdt:/id PCWDiagnostic /skip force",
            "http://exa mple.com/",
            "http://example.com/\x01path",
            "https://example.com/" + std::string(5000, 'a'),
            "C:\\Windows\\System32\\calc.exe",
            "\\\\server\\share\\tool.exe",
            "http://user@evil.example/",
            "www./usr/bin/xterm",
            "http:///etc/passwd"};
}

TEST(HostileUrl, NoneIsAWebAddressWhileOrdinaryAddressesAre) {
    for (const std::string& url : HostileUrls())
        EXPECT_FALSE(IsWebAddress(url)) << url.substr(0, 60);
    for (const char* url :
         {"http://example.com/", "https://example.com:8443/a?b=c#d", "www.example.com",
          "example.com/path", "localhost:8080", "https://\xC3\xA9t\xC3\xA9.example/"})
        EXPECT_TRUE(IsWebAddress(url)) << url;
}

using HostileUrlSources = SharingTest;

TEST_F(HostileUrlSources, FromTheStoreNothingIsOpenedOrStamped) {
    std::vector<std::string> records;
    for (const std::string& url : HostileUrls())
        records.push_back(Record("Bad", "Work", url));
    WriteStore(records, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string before = StoreBytes();

    for (int i = 0; i < app.main.List1.listCount(); ++i) {
        ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(i); }));
        ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
        ASSERT_TRUE(Run([&] { app.main.LabelShowURLAddress.onDblClick(); }));
    }
    EXPECT_TRUE(fake.openedUrls.empty());
    EXPECT_EQ(fake.messages.size(), 2 * HostileUrls().size());
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(HostileUrlSources, FromAnImportedShareFileNothingIsOpened) {
    ASSERT_TRUE(StartQuietly());
    std::vector<std::string> lines = {HeaderLine()};
    for (const std::string& url : HostileUrls())
        lines.push_back(Record("Shared", "Imported", url));
    const std::string path = SharePath("hostile.tbn");
    WriteBytes(path, Lines(lines));
    ConfirmImport();
    ASSERT_TRUE(ImportShare(path));
    ASSERT_EQ(app.recordCount, static_cast<int>(HostileUrls().size()));

    for (int i = 0; i < app.main.List1.listCount(); ++i) {
        ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(i); }));
        ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
    }
    EXPECT_TRUE(fake.openedUrls.empty());
}

TEST_F(HostileUrlSources, FromTheRedirectFileNothingIsOpened) {
    ASSERT_TRUE(StartQuietly());
    const std::string redirect =
        std::string("http://") + TABBERN_WEBSITE_HOST + "/linkto/tabbern/url.txt";
    for (const std::string& url : HostileUrls()) {
        fake.webPages[redirect] = url;
        ASSERT_TRUE(Run([&] { app.main.menutabbernwebsite.click(); }));
    }
    EXPECT_TRUE(fake.openedUrls.empty());
}

} // namespace
} // namespace tabbern::test
