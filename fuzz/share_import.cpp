// The share-file import as the user runs it, the confirmation's import button pressed. The first
// byte picks the bookmark limit (the program's, or 8 that short files reach) and how many
// bookmarks the store holds already; the rest is the share file.
#include "FuzzSupport.h"

#include "app/Dispatch.h"
#include "listview/ListView.h"
#include "sharing/Sharing.h"
#include "store/Store.h"

namespace tabbern::fuzz {

void TestOneInput(std::string_view input) {
    const auto [choice, shareBytes] = ChoiceAndRest(input);
    constexpr int kStored[] = {0, 3, 4, 8};
    const int stored = kStored[(choice >> 1) % std::size(kStored)];

    Program& p = TheProgram();
    App& app = p.app;
    app.bookmarkLimit = (choice & 1) != 0 ? 1000 : 8;
    const auto name = [](int i) { return "Stored " + std::to_string(i); };
    const auto url = [](int i) { return "http://stored.example/" + std::to_string(i); };
    std::string baseline = app.storeHeaderLine + "\r\n";
    for (int i = 0; i < stored; ++i)
        baseline += "[r]" + std::to_string(i) + "[n]" + name(i) + "[g]Base[d]1/2/2025[l][u]" +
                    url(i) + "\r\n";
    const std::string storePath = app.dataFile(app.storeFileName);
    test::WriteBytes(storePath, baseline);
    test::WriteBytes(app.dataFile(app.groupFileName), app.groupHeaderLine + "\r\nBase\r\n");
    const std::string sharePath = p.dir.file("in.tbn");
    p.Put(sharePath, shareBytes);

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
        return;
    }
    Require(after.starts_with(baseline), "a confirmed import only adds to the store", shareBytes);
    Require(app.recordCount >= stored && app.recordCount <= app.bookmarkLimit,
            "the stored bookmarks stay and the limit holds", shareBytes);
    for (int r = 0; r < stored; ++r)
        Require(app.bookmarks.at(r, kColName) == name(r) && app.bookmarks.at(r, kColUrl) == url(r),
                "the stored bookmarks keep their rows", shareBytes);
}

} // namespace tabbern::fuzz
