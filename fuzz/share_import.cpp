// The share-file import, run as the user runs it: the open dialog answers with a file holding
// the input, and the confirmation dialog's import button is pressed. The first input byte
// chooses the bookmark limit (the program's 1000, or 8 so that short files reach it too) and
// how many bookmarks the store already holds (none, a few, half the small limit or all of it);
// the rest is the share file.
//
// Properties: no crash, no undefined behaviour and no error that would end the program; an
// import that is refused or not confirmed leaves the store file byte for byte as it was; and
// nothing is lost: the bookmarks stored before an import are the first rows after it, as they
// were, with the imported ones after them and never more than the limit.
#include "FuzzSupport.h"

#include "app/Dispatch.h"
#include "listview/ListView.h"
#include "sharing/Sharing.h"
#include "store/Store.h"

#include <array>

namespace tabbern::fuzz {
namespace {

constexpr int kStoredChoices[] = {0, 3, 4, 8};

std::string BaselineStore(const App& app, int stored) {
    std::string s = app.storeHeaderLine + "\r\n";
    for (int i = 0; i < stored; ++i) {
        const std::string n = std::to_string(i);
        s += "[r]" + n + "[n]Stored " + n + "[g]Base[d]1/2/2025[l][u]http://stored.example/" + n +
             "\r\n";
    }
    return s;
}

} // namespace
} // namespace tabbern::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabbern;
    using namespace tabbern::fuzz;
    if (size == 0)
        return 0;
    const int limit = (data[0] & 1) != 0 ? 1000 : 8;
    const int stored = kStoredChoices[(data[0] >> 1) % std::size(kStoredChoices)];
    const std::string_view shareBytes = AsText(data + 1, size - 1);

    Program& p = TheProgram();
    App& app = p.app;
    app.bookmarkLimit = limit;
    const std::string storePath = app.dataFile(app.storeFileName);
    const std::string baseline = BaselineStore(app, stored);
    test::WriteBytes(storePath, baseline);
    test::WriteBytes(app.dataFile(app.groupFileName), app.groupHeaderLine + "\r\nBase\r\n");
    const std::string sharePath = p.dir.file("in.tbn");
    test::WriteBytes(sharePath, shareBytes);

    p.fake.messages.clear();
    p.fake.shownForms.clear();
    p.fake.openAnswers.assign(1, sharePath);
    p.fake.modalScripts["frmAddConfirm"] = [&app](Form&) { app.frmAddConfirm.Command1.click(); };
    bool ended = false;
    try {
        Dispatch(app, [&app] {
            LoadStore(app);
            LoadGroups(app);
            FillGroupSelector(app);
            ImportShareFile(app);
        });
    } catch (const ProcessEnded&) {
        ended = true;
    }
    Require(!ended, "the import never ends the program",
            p.fake.messages.empty() ? shareBytes : p.fake.messages.back().text);

    const std::string after = test::ReadBytes(storePath);
    if (p.fake.shownForms.empty()) {
        Require(after == baseline, "a refused import leaves the store as it was", shareBytes);
        return 0;
    }
    Require(after.compare(0, baseline.size(), baseline) == 0,
            "a confirmed import only adds to the store", shareBytes);
    Require(app.recordCount >= stored && app.recordCount <= app.bookmarkLimit,
            "the stored bookmarks stay and the limit holds", shareBytes);
    for (int r = 0; r < stored; ++r) {
        const std::string n = std::to_string(r);
        Require(app.bookmarks.at(r, kColName) == "Stored " + n &&
                    app.bookmarks.at(r, kColUrl) == "http://stored.example/" + n,
                "the stored bookmarks keep their rows", shareBytes);
    }
    return 0;
}
