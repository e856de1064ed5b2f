#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // The tests see the same window system whatever the calling shell exports: no screen, no
    // scaling, no desktop style, theme or input method.
    // a screen that holds the largest view whole (the offscreen default is 800x600)
    QTemporaryDir setup;
    QFile screen(setup.filePath(QStringLiteral("screen.json")));
    if (!screen.open(QIODevice::WriteOnly)) return 2;
    screen.write(R"({"screens": [{"name": "tests", "x": 0, "y": 0, "width": 1920,
        "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screen.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));
    for (const char* name :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
          "QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_USE_PHYSICAL_DPI",
          "QT_FONT_DPI", "QT_DEVICE_PIXEL_RATIO", "QT_STYLE_OVERRIDE", "QT_QPA_PLATFORMTHEME",
          "QT_QPA_PLATFORM_PLUGIN_PATH", "QT_IM_MODULE", "QT_ACCESSIBILITY"}) {
        qunsetenv(name);
    }
    // what the editor keeps between runs goes to a folder of this run, not the user's home
    QTemporaryDir stateHome;
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
    QApplication app(argc, argv);
    // tests close main windows one after another; none of them ends the test program
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
