// Small helpers shared by the views: text and colour conversion, list comparison, key tests.
#pragma once

#include "ui/Controls.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QComboBox;
class QEvent;
class QListWidget;
class QWidget;

namespace tabbern {

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A colour of the model in the desktop's terms; the default keeps the design colour (an
// invalid colour stands for the palette's own).
QColor ResolveColour(Colour c, const QColor& design);

// Renders what every control shares: enabled, visible (only while `shown`) and the tooltip.
void RenderCommon(const Control& model, QWidget* w, bool shown = true);
// Gives the widget what a screen reader says of its control: the name and description that the
// core takes from the captions beside it.
void RenderAccessibleText(const Control& model, QWidget* w);
// Sets one palette role to the colour, or back to the desktop's with an invalid colour, leaving
// the rest of the palette alone. Without allGroups the disabled text keeps the desktop's grey.
void SetRole(QWidget* w, QPalette::ColorRole role, const QColor& colour, bool allGroups);

// A multi-line text as a widget shows it: the model's lines end in CR LF, a widget's in LF.
QString QMultiLine(const std::string& text);

QStringList ToQStrings(const std::vector<std::string>& items);
bool SameItems(const QListWidget& list, const QStringList& items);
bool SameItems(const QComboBox& combo, const QStringList& items);

// A plain Enter or Return key press (no Ctrl, Alt or Meta).
bool IsEnter(const QEvent* e);

// Gives the focus to the control of the window that the form's model names, the way Tab does:
// a text or group box reached so has its whole text selected, and typing replaces it. Views
// call it after rendering the controls, so that the selection covers the text just set.
void ApplyFocusRequest(const Form& form, QWidget* window);

} // namespace tabbern
