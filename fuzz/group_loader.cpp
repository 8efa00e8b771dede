// The group loader. The first byte picks the group limit (the program's, or one that short files
// reach too); the rest is a group file, loaded, rewritten and loaded again.
#include "FuzzSupport.h"

#include "store/Store.h"
#include "store/Text.h"

namespace tabbern::fuzz {

void TestOneInput(std::string_view input) {
    const auto [choice, bytes] = ChoiceAndRest(input);
    constexpr int kLimits[] = {200, 1, 2, 5};
    const int limit = kLimits[choice % std::size(kLimits)];
    Program& p = TheProgram();
    App& app = p.app;
    app.groupLimit = limit;
    const std::string path = app.dataFile(app.groupFileName);
    p.Put(path, bytes);

    LoadGroups(app);
    Require(app.groupCount == static_cast<int>(app.groups.size()) && app.groupCount <= limit,
            "the count is the table's size, at most the limit", bytes);
    Require(p.fake.messages.size() == (app.groupCount == limit ? 1u : 0u),
            "the limit message comes once, and only at the limit", bytes);
    for (const std::string& name : app.groups)
        Require(!IsBlank(name) && Trim(name) == name && name != app.groupHeaderLine &&
                    name.find_first_of("\r\n") == std::string::npos,
                "a group is a trimmed line, neither blank nor the header", name);
    Require(test::ReadBytes(path) == bytes, "loading leaves the file alone", bytes);

    const GroupTable before = app.groups;
    RewriteGroupFile(app);
    LoadGroups(app);
    Require(app.groups == before, "a rewritten group file loads as the same table", bytes);
}

} // namespace tabbern::fuzz
