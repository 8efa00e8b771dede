#include "platform/qt/Resources.h"

#include <QHash>
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

// Decoding the images is most of what start-up spends on them, so each is decoded once and
// then shared (QPixmap and QIcon copies share their data).
QPixmap tabbernBitmap(int number) {
    EnsureResources();
    // Every number from 101 to 112 has its image.
    if (number < 101 || number > 112)
        return {};
    static QHash<int, QPixmap> cache;
    auto it = cache.find(number);
    if (it == cache.end())
        // The main window's background is the one large picture every start shows; it is kept
        // as an uncompressed bitmap, which reads in a third of the time its PNG decodes in.
        it = cache.insert(number, QPixmap(QStringLiteral(":/tabbern/bitmap%1.%2")
                                              .arg(number)
                                              .arg(number == 101 ? u"bmp" : u"png")));
    return *it;
}

QIcon tabbernIcon() {
    EnsureResources();
    // The sizes a title bar, task bar and tray ask for. Larger views (menus of the desktop,
    // software centres) take the installed theme icon, so the program does not decode them.
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 24, 32, 48, 64})
            i.addFile(QStringLiteral(":/tabbern/icon101/%1.png").arg(size), QSize(size, size));
        return i;
    }();
    return icon;
}

QIcon tabbernIcon(int number) {
    return number == 101 ? tabbernIcon() : QIcon();
}

} // namespace tabbern
