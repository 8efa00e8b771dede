#include "app/App.h"

#include "app/Exit.h"
#include "app/Window.h"
#include "checking/CheckLinks.h"
#include "editing/Editing.h"
#include "listview/ListView.h"
#include "sharing/Sharing.h"
#include "store/FileIo.h"

namespace tabbern {

App::App(Platform& p, FormHost& f) : platform(p), forms(f) {
    main.menuquit.onClick = [this] { menuquit_Click(*this); };
    WireListViewHandlers(*this);
    WireEditingHandlers(*this);
    WireDesktopHandlers(*this);
    WireSharingHandlers(*this);
    WireBrowserBookmarkHandlers(*this);
    WireCheckingHandlers(*this);
}

std::string App::programFile(const std::string& name) const {
    return JoinPath(programFolder, name);
}

std::string App::dataFile(const std::string& name) const {
    return JoinPath(dataFolder, name);
}

std::string HeaderLine() {
    return std::string("[ ") + kProductHost +
           " - Tabbern - Manage your Bookmarks and Favorite websites with any web browser - " +
           kProductHost + " ]";
}

} // namespace tabbern
