#include "platform/qt/MenuBinder.h"

#include "ui/Controls.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>

namespace tabbern {

namespace {

// Items that carry a tick: the sort orders and the options. Changing the data folder sits in
// the Options menu but is a command, so it gets no check box.
bool IsToggle(const MenuItem& menu, const MenuItem& item) {
    if (menu.name() == "menusortby")
        return true;
    return menu.name() == "menuoptions" && item.name() != "menusetdata";
}

} // namespace

MenuBinder::MenuBinder(std::function<void(MenuItem&)> chosen) : chosen_(std::move(chosen)) {}

QMenu* MenuBinder::addMenu(QMenuBar& bar, MenuItem& menu) {
    QMenu* qmenu = bar.addMenu(QString::fromStdString(menu.caption()));
    qmenu->setObjectName(QString::fromStdString(menu.name()));
    bind(qmenu->menuAction(), menu, false);
    fill(*qmenu, menu);
    return qmenu;
}

void MenuBinder::fill(QMenu& target, MenuItem& menu) {
    for (MenuItem* item : menu.children) {
        if (!item) {
            target.addSeparator();
        } else if (!item->children.empty()) {
            QMenu* sub = target.addMenu(QString::fromStdString(item->caption()));
            sub->setObjectName(QString::fromStdString(item->name()));
            bind(sub->menuAction(), *item, false);
            fill(*sub, *item);
        } else {
            QAction* action = target.addAction(QString::fromStdString(item->caption()));
            bind(action, *item, IsToggle(menu, *item));
            if (chosen_)
                QObject::connect(action, &QAction::triggered, action,
                                 [this, item] { chosen_(*item); });
        }
    }
}

QAction* MenuBinder::bind(QAction* action, MenuItem& item, bool toggle) {
    action->setObjectName(QString::fromStdString(item.name()));
    action->setCheckable(toggle);
    bindings_.emplace_back(&item, action);
    return action;
}

void MenuBinder::sync() {
    for (auto& [item, action] : bindings_) {
        const QString caption = QString::fromStdString(item->caption());
        if (action->text() != caption)
            action->setText(caption);
        action->setEnabled(item->enabled());
        action->setVisible(item->visible());
        if (action->isCheckable()) {
            const QSignalBlocker block(action);
            action->setChecked(item->checked());
        }
    }
}

MenuItem* MenuBinder::itemOf(const QAction* action) const {
    for (const auto& [item, bound] : bindings_)
        if (bound == action)
            return item;
    return nullptr;
}

QAction* MenuBinder::actionOf(const MenuItem& item) const {
    for (const auto& [model, action] : bindings_)
        if (model == &item)
            return action;
    return nullptr;
}

} // namespace tabbern
