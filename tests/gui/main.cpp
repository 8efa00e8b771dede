// The GUI tests need a QApplication alive for the whole run, so they bring their own main.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Offscreen under CTest and by hand alike, so that no window appears.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
