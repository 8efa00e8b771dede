// Builds Qt menus from menu models and keeps them rendered: captions with their access keys,
// enabled, visible and ticks. The main window's menu bar and the pop-up menus share it.
#pragma once

#include <QObject>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace tabbern {

class MenuItem;

class MenuBinder {
public:
    // Called when the user chooses an item; without it the caller reads QMenu::exec's result.
    explicit MenuBinder(std::function<void(MenuItem&)> chosen = {});

    // Adds the menu model as a menu of the menu bar, or its items to an existing menu.
    QMenu* addMenu(QMenuBar& bar, MenuItem& menu);
    void fill(QMenu& target, MenuItem& menu);

    // Renders every bound item from its model. Ticks are always rendered: a checkable action
    // flips its own tick when chosen, but the core decides whether it is ticked.
    void sync();

    MenuItem* itemOf(const QAction* action) const;
    QAction* actionOf(const MenuItem& item) const;

private:
    QAction* bind(QAction* action, MenuItem& item, bool toggle);

    std::function<void(MenuItem&)> chosen_;
    std::vector<std::pair<MenuItem*, QAction*>> bindings_;
};

} // namespace tabbern
