// The yardstick of the start-up benchmark: a bare Qt Widgets program that shows one empty
// window. With TABBERN_EXIT_WHEN_SHOWN set it ends as soon as the window's first paint has
// been processed, as the program does. With TABBERN_BARE_WITH_TEXT set the window shows one line
// of text, so that the yardstick also pays for setting up the desktop's fonts, as any window
// with a word on it does.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace {

class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(const QWidget& window) : window_(window) {}

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

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    // The main window's size, so that both programs fill as many pixels.
    window.resize(250, 514);
    QLabel text(QStringLiteral("My Groups"), &window);
    text.setVisible(qEnvironmentVariableIsSet("TABBERN_BARE_WITH_TEXT"));
    QuitAfterFirstPaint quitWhenShown(window);
    if (qEnvironmentVariableIsSet("TABBERN_EXIT_WHEN_SHOWN"))
        application.installEventFilter(&quitWhenShown);
    window.show();
    return QApplication::exec();
}
