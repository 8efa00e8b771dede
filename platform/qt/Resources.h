// The program's icon and bitmap resources, by the numbers the core uses for them.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tabbern {

// A bitmap resource: 101 the main window's background, 102 the small dialogs' and the about
// box's background, 103 the import confirmation's background, 104 the find button's face, 105
// the about box's OK face, 106 and 107 the small dialogs' cancel and save faces, 108 and 109 the
// import confirmation's import and cancel faces, 110 to 112 the assign, skip and cancel faces of
// the naming of imported links. A number without an image gives a null pixmap.
QPixmap tabbernBitmap(int number);

// Icon resource 101, the program's icon, at every size it is drawn in.
QIcon tabbernIcon();

// An icon resource by number (a form's icon); a number without an image gives a null icon.
QIcon tabbernIcon(int number);

} // namespace tabbern
