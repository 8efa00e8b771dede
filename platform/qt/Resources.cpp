#include "platform/qt/Resources.h"

#include <QString>

// The resources live in a static library: nothing would pull their object file into the
// program unless something refers to it, so the first use registers them explicitly.
static void RegisterTabbernResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tabbern {

namespace {

void EnsureResources() {
    static const bool registered = [] {
        RegisterTabbernResources();
        return true;
    }();
    (void)registered;
}

} // namespace

QPixmap tabbernBitmap(int number) {
    EnsureResources();
    switch (number) {
    case 101:
    case 102:
    case 104:
    case 106:
    case 107:
        return QPixmap(QStringLiteral(":/tabbern/bitmap%1.png").arg(number));
    default:
        return {};
    }
}

QIcon tabbernIcon() {
    EnsureResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/tabbern/icon101/%1.png").arg(size), QSize(size, size));
    return icon;
}

QIcon tabbernIcon(int number) {
    return number == 101 ? tabbernIcon() : QIcon();
}

} // namespace tabbern
