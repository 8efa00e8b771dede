// The program's icon and bitmap resources, by the numbers the core uses for them.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tabbern {

// A bitmap resource: 101 the main window's background, 102 the dialogs' background, 104 the
// find button's face, 106 and 107 the dialogs' cancel and save faces. A number without an image
// gives a null pixmap.
QPixmap tabbernBitmap(int number);

// Icon resource 101, the program's icon, at every size it is drawn in.
QIcon tabbernIcon();

// An icon resource by number (a form's icon); a number without an image gives a null icon.
QIcon tabbernIcon(int number);

} // namespace tabbern
