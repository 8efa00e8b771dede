// Helpers shared by the editing commands; not part of the program's interface.
#pragma once

#include <string>

namespace tabbern {

struct App;
class BookmarkDialog;
class Form;

// A message with an OK button, titled with the application title.
void Say(App& app, const std::string& text);
// The refusal of a text holding a record tag, e.g. "A URL Cannot Contain [r], ... Or [u]".
std::string TagRefusal(const std::string& what);
// Refuses a group name typed into a dialog's box that holds a record tag or names All Groups
// (which could then never be listed, renamed or deleted on its own): says so, puts the focus
// on the box and returns true.
bool RefuseGroupName(App& app, Form& dialog, const std::string& text, const std::string& box);
// Refuses a name, group or URL in the dialog that holds a record tag, or a group named All
// Groups: says so, puts the focus on the offending box and returns true. The name noun opens
// the name's message.
bool RefuseTaggedFields(App& app, BookmarkDialog& dialog);
// The checks of a bookmark dialog's save, in their order: a blank name (with the dialog's own
// message), a blank URL, then record tags. Returns false after saying what is wrong and moving
// the focus; otherwise gives the trimmed name and URL.
bool CheckBookmarkDialog(App& app, BookmarkDialog& dialog, const std::string& blankNameMessage,
                         std::string& name, std::string& url);
// The group a saved bookmark gets: the trimmed group box, or "Misc - " and today when blank.
std::string GroupOrDefault(App& app, const std::string& trimmedGroup);

} // namespace tabbern
