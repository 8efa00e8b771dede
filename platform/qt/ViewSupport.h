// Small helpers shared by the views: text and colour conversion, list comparison, key tests.
#pragma once

#include "ui/Controls.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QComboBox;
class QEvent;
class QListWidget;

namespace tabbern {

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A colour of the model in the desktop's terms; the default keeps the design colour (an
// invalid colour stands for the palette's own).
QColor ResolveColour(Colour c, const QColor& design);

QStringList ToQStrings(const std::vector<std::string>& items);
bool SameItems(const QListWidget& list, const QStringList& items);
bool SameItems(const QComboBox& combo, const QStringList& items);

// A plain Enter or Return key press (no Ctrl, Alt or Meta).
bool IsEnter(const QEvent* e);

} // namespace tabbern
