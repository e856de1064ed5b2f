#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // widget tests never need a screen
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // tests close main windows one after another; none of them ends the test program
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
