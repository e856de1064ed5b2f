#include <gtest/gtest.h>

#include <QApplication>

// The layout walk runs offscreen at the scale named by MDB_LAYOUT_SCALE (1 unless given), with
// the installed Japanese font as the program uses it, whatever the calling shell exports.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* name :
         {"QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING",
          "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_USE_PHYSICAL_DPI", "QT_FONT_DPI",
          "QT_DEVICE_PIXEL_RATIO", "QT_STYLE_OVERRIDE", "QT_QPA_PLATFORMTHEME",
          "QT_QPA_PLATFORM_PLUGIN_PATH", "QT_IM_MODULE", "QT_ACCESSIBILITY"}) {
        qunsetenv(name);
    }
    const QByteArray scale = qgetenv("MDB_LAYOUT_SCALE");
    qputenv("QT_SCALE_FACTOR", scale.isEmpty() ? QByteArray("1") : scale);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
