// Every window as a screen reader and a keyboard user meet it: each button, box and list is named
// after what a sighted user reads for it (the label before it, which is its buddy, or the
// button's face or tooltip) and told what it acts on; Tab reaches each of them in turn, and a
// picture button shows that it has the focus.
#include "GuiTestSupport.h"

#include <QAccessible>
#include <QImage>

namespace tabbern::test {
namespace {

using Accessibility = StartedProgram;

// The buttons, boxes and lists under an accessible object, depth first; the controls' own parts
// (a combo box's list, a list's entries) and the menus are not walked into.
void Controls(QAccessibleInterface* parent, std::vector<QAccessibleInterface*>& out) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        const QAccessible::Role role = child ? child->role() : QAccessible::MenuBar;
        if (role == QAccessible::PushButton || role == QAccessible::EditableText ||
            role == QAccessible::ComboBox || role == QAccessible::List)
            out.push_back(child);
        else if (role != QAccessible::MenuBar)
            Controls(child, out);
    }
}

TEST_F(Accessibility, EveryButtonBoxAndListIsNamedAfterWhatASightedUserReadsForIt) {
    start();
    const auto check = [this](Form& form) {
        asShown(form, [&](QtFormWindow* window) {
            std::vector<QAccessibleInterface*> found;
            Controls(QAccessible::queryAccessibleInterface(window), found);
            int checked = 0;
            for (QAccessibleInterface* control : found) {
                auto* w = qobject_cast<QWidget*>(control->object());
                if (!w || !w->isVisibleTo(window))
                    continue;
                ++checked;
                const std::string name = w->objectName().toStdString();
                // On Linux a combo box's own name is the text it holds; its name is on the box
                // typed in, where the screen reader's focus goes.
                QAccessibleInterface* typedIn = control;
                if (control->role() == QAccessible::ComboBox)
                    for (int i = 0; i < control->childCount(); ++i)
                        if (control->child(i)->role() == QAccessible::EditableText)
                            typedIn = control->child(i);
                const QString spoken = typedIn->text(QAccessible::Name);
                EXPECT_FALSE(spoken.isEmpty()) << name;
                // The label the core says captions the box is the box's buddy, and read for it;
                // else a button's face, else the tooltip.
                const Control* model = form.findControl(name);
                ASSERT_NE(model, nullptr) << name;
                auto* button = qobject_cast<QPushButton*>(w);
                QString read = button ? button->text().trimmed() : QString();
                if (read.isEmpty())
                    read = w->toolTip().trimmed();
                if (const Label* caption = model->label()) {
                    auto* label = in<QLabel>(window, caption->name().c_str());
                    EXPECT_EQ(label->buddy(), w) << name;
                    read = label->text().isEmpty() ? read : label->text();
                }
                EXPECT_TRUE(read.isEmpty() || spoken == read)
                    << name << ": " << spoken.toStdString();
                // A label showing what the box acts on is read after its name.
                const Label* shows = model->describedBy();
                if (shows && shows->visible() && !shows->caption().empty()) {
                    EXPECT_EQ(typedIn->text(QAccessible::Description),
                              QString::fromStdString(shows->caption()))
                        << name;
                }
            }
            EXPECT_GT(checked, 0);
        });
    };
    for (Form* form : forms())
        check(*form);
    // The confirmation of a link from the clipboard names it and gives it a group there, and
    // tells what its list leaves out; the dialogs' describing labels hold what they describe.
    host->runEvent([&] {
        showClipboardBoxes();
        app->frmAddConfirm.Label3.setCaption("2 Bookmarks To Import. 1 Left Out.");
        app->frmAddConfirm.Label3.setVisible(true);
        app->frmAssignName.Label3.setCaption("https://docs.example/a");
        app->frmEditGroupName.Label2.setCaption("<Work>");
    });
    check(app->frmAddConfirm);
    check(app->frmAssignName);
    check(app->frmEditGroupName);
}

// Tab goes through the buttons, boxes and lists that the window shows, in its table's order,
// and back to the first; each picture button looks different while it has the focus. The
// confirmation comes again with the boxes that name and group a link from the clipboard.
TEST_F(Accessibility, TabReachesEveryControlInTurnAndAFocusedPictureButtonShowsIt) {
    start();
    std::vector<Form*> all = forms();
    all.push_back(nullptr);
    for (Form* form : all) {
        if (!form) {
            host->runEvent([this] { showClipboardBoxes(); });
            form = &app->frmAddConfirm;
        }
        SCOPED_TRACE(form->name());
        QtFormWindow* window = windowOf(*form);
        form->onActivate = nullptr;
        if (form != &app->main)
            host->showModeless(*form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QStringList stops;
        for (const Placement& p : LayoutOf(*app, *form).controls) {
            const Control* c = form->findControl(p.name);
            auto* w = window->clientArea()->findChild<QWidget*>(QString::fromLatin1(p.name));
            if (c && w && !AccessibleName(*c).empty() && w->isVisibleTo(window))
                stops << w->objectName();
        }
        ASSERT_FALSE(stops.isEmpty());
        in(window, stops.first().toLatin1().constData())->setFocus(Qt::TabFocusReason);
        QStringList reached;
        std::map<QPushButton*, QImage> withFocus;
        for (qsizetype i = 0; i < stops.size(); ++i) {
            if (auto* button = qobject_cast<PictureButton*>(focused());
                button && !button->face().isNull())
                withFocus[button] = button->grab().toImage();
            press(Qt::Key_Tab);
            reached << focusedName();
        }
        stops.append(stops.takeFirst());
        EXPECT_EQ(reached, stops);
        for (const auto& [button, image] : withFocus) {
            button->clearFocus();
            EXPECT_TRUE(button->grab().toImage() != image) << button->objectName().toStdString();
        }
        if (form != &app->main)
            host->hideForm(*form);
    }
}

} // namespace
} // namespace tabbern::test
