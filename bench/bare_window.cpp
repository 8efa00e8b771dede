// The yardstick of the start-up benchmark: a bare Qt Widgets program that shows one empty
// window. With TABBERN_EXIT_WHEN_SHOWN set it ends as soon as the window's first paint has
// been processed, as the program does. With TABBERN_BARE_WITH_TEXT set the window shows one line
// of text, so that the yardstick also pays for setting up the desktop's fonts, as any window
// with a word on it does.
#include "platform/qt/QuitAfterFirstPaint.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    // The main window's size, so that both programs fill as many pixels.
    window.resize(250, 514);
    QLabel text(QStringLiteral("My Groups"), &window);
    text.setVisible(qEnvironmentVariableIsSet("TABBERN_BARE_WITH_TEXT"));
    tabbern::QuitAfterFirstPaint quitWhenShown(window);
    quitWhenShown.installIfRequested();
    window.show();
    return QApplication::exec();
}
