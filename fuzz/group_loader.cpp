// The group loader. The first input byte chooses the group limit (the program's 200, or a small
// one that short files reach too); the rest is a whole group file: first the start-up check of
// its first line (the user refuses the repair), then LoadGroups, a rewrite and a second load.
//
// Properties: no crash and no undefined behaviour; a refused repair leaves the file as it was;
// the table holds only trimmed, non-blank names other than the header, at most the group limit,
// with one message when the limit is reached; and nothing is lost: the table written back and
// loaded again is the same table.
#include "FuzzSupport.h"

#include "store/Store.h"
#include "store/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabbern;
    using namespace tabbern::fuzz;
    if (size == 0)
        return 0;
    constexpr int kLimits[] = {200, 1, 2, 5};
    const int limit = kLimits[data[0] % std::size(kLimits)];
    const std::string_view bytes = AsText(data + 1, size - 1);

    Program& p = TheProgram();
    App& app = p.app;
    app.groupLimit = limit;
    const std::string path = app.dataFile(app.groupFileName);
    test::WriteBytes(path, bytes);

    // The check either accepts the file or asks; asked, the user answers No.
    p.fake.messages.clear();
    p.fake.answers.assign(1, MsgResult::No);
    bool ended = false;
    try {
        CheckGroupFile(app);
    } catch (const ProcessEnded&) {
        ended = true;
    }
    p.fake.answers.clear();
    if (bytes.empty()) {
        // An empty file holds nothing to lose and gets its header line without a question.
        Require(!ended && p.fake.messages.empty(), "an empty file is repaired silently");
        test::WriteBytes(path, bytes);
    } else {
        Require(ended == (p.fake.messages.size() == 1), "only a question ends the check", bytes);
        Require(test::ReadBytes(path) == bytes, "the check leaves a non-empty file alone", bytes);
    }

    p.fake.messages.clear();
    LoadGroups(app);
    Require(app.groupCount == static_cast<int>(app.groups.size()), "the count is the table size",
            bytes);
    Require(app.groupCount <= limit, "at most the group limit", bytes);
    Require(p.fake.messages.size() == (app.groupCount == limit ? 1u : 0u),
            "the limit message comes once, and only at the limit", bytes);
    for (const std::string& name : app.groups) {
        Require(!IsBlank(name), "no blank group", name);
        Require(Trim(name) == name, "groups are trimmed", name);
        Require(name != app.groupHeaderLine, "the header is no group", name);
        Require(name.find_first_of("\r\n") == std::string::npos, "a name is one line", name);
    }
    Require(test::ReadBytes(path) == bytes, "loading leaves the file alone", bytes);

    // Nothing lost: the table written back and read again is the same table.
    const GroupTable before = app.groups;
    RewriteGroupFile(app);
    LoadGroups(app);
    Require(app.groups == before, "a rewritten group file loads as the same table", bytes);
    return 0;
}
