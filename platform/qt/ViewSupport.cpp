#include "platform/qt/ViewSupport.h"

#include "ui/Layout.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QWidget>

namespace tabbern {

QColor ResolveColour(Colour c, const QColor& design) {
    const QPalette pal = QApplication::palette();
    switch (c.kind) {
    case Colour::Kind::Default:
        return design;
    case Colour::Kind::Rgb:
        return QColor((c.rgb >> 16) & 0xFF, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF);
    case Colour::Kind::Highlight:
    case Colour::Kind::ActiveTitleBar: // Qt has no title-bar colour; the accent stands in
        return pal.color(QPalette::Highlight);
    case Colour::Kind::ButtonFace:
        return pal.color(QPalette::Button);
    }
    return design;
}

void RenderCommon(const Control& model, QWidget* w, bool shown) {
    if (w->isEnabled() != model.enabled())
        w->setEnabled(model.enabled());
    w->setVisible(shown && model.visible());
    const QString tip = Q(model.toolTip());
    if (w->toolTip() != tip)
        w->setToolTip(tip);
}

void RenderAccessibleText(const Control& model, QWidget* w) {
    const QString name = Q(AccessibleName(model));
    const QString description = Q(AccessibleDescription(model));
    // Qt names a combo box on Linux by the text it holds (and by its buddy's relation): the
    // box typed in, which a screen reader follows into it, carries the name too.
    auto* combo = qobject_cast<QComboBox*>(w);
    for (QWidget* named : {w, combo ? static_cast<QWidget*>(combo->lineEdit()) : nullptr}) {
        if (!named)
            continue;
        if (named->accessibleName() != name)
            named->setAccessibleName(name);
        if (named->accessibleDescription() != description)
            named->setAccessibleDescription(description);
    }
}

void SetRole(QWidget* w, QPalette::ColorRole role, const QColor& colour, bool allGroups) {
    QPalette pal = w->palette();
    const QColor wanted = colour.isValid() ? colour : QApplication::palette(w).color(role);
    if (allGroups) {
        pal.setColor(role, wanted);
    } else {
        pal.setColor(QPalette::Active, role, wanted);
        pal.setColor(QPalette::Inactive, role, wanted);
    }
    if (pal != w->palette())
        w->setPalette(pal);
}

QString QMultiLine(const std::string& text) {
    QString s = Q(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QStringList ToQStrings(const std::vector<std::string>& items) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& s : items)
        out << Q(s);
    return out;
}

bool SameItems(const QListWidget& list, const QStringList& items) {
    if (list.count() != items.size())
        return false;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text() != items.at(i))
            return false;
    return true;
}

bool SameItems(const QComboBox& combo, const QStringList& items) {
    if (combo.count() != items.size())
        return false;
    for (int i = 0; i < combo.count(); ++i)
        if (combo.itemText(i) != items.at(i))
            return false;
    return true;
}

bool IsEnter(const QEvent* e) {
    if (e->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(e);
    const bool plain =
        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    return plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
}

void ApplyFocusRequest(const Form& form, QWidget* window) {
    if (form.focusedControl().empty())
        return;
    auto* target = window->findChild<QWidget*>(Q(form.focusedControl()));
    if (!target)
        return;
    target->setFocus(Qt::TabFocusReason);
    // A box selects its text itself only when the focus event arrives now; the window may not
    // be active yet, or the box may have had the focus already.
    QLineEdit* edit = qobject_cast<QLineEdit*>(target);
    if (auto* combo = qobject_cast<QComboBox*>(target))
        edit = combo->lineEdit();
    if (edit)
        edit->selectAll();
}

} // namespace tabbern
