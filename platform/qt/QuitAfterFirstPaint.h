// For start-up measurements: with TABBERN_EXIT_WHEN_SHOWN set, a program's event loop ends as
// soon as its window's first paint has been processed, and the program returns normally. The
// program and the bare window it is measured against use this one definition.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace tabbern {

class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(const QWidget& window) : window_(window) {}

    // Installs the watch when the environment asks for it.
    void installIfRequested() {
        if (qEnvironmentVariableIsSet("TABBERN_EXIT_WHEN_SHOWN"))
            QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return false;
    }

private:
    const QWidget& window_;
};

} // namespace tabbern
