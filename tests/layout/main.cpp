#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

// The layout walk runs offscreen at the scale named by MDB_LAYOUT_SCALE (1 unless given) on a
// screen of 1280x800 at that scale, with the installed Japanese fonts as the program uses them,
// or with only the one MDB_LAYOUT_FONT names (noto: Noto Sans CJK JP, ipa: the IPA fonts), as
// on a desktop that has only that font; whatever the calling shell exports.
int main(int argc, char** argv) {
    for (const char* name :
         {"QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING",
          "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_USE_PHYSICAL_DPI", "QT_FONT_DPI",
          "QT_DEVICE_PIXEL_RATIO", "QT_STYLE_OVERRIDE", "QT_QPA_PLATFORMTHEME",
          "QT_QPA_PLATFORM_PLUGIN_PATH", "QT_IM_MODULE", "QT_ACCESSIBILITY"}) {
        qunsetenv(name);
    }
    QByteArray scale = qgetenv("MDB_LAYOUT_SCALE");
    if (scale.isEmpty()) scale = "1";
    qputenv("QT_SCALE_FACTOR", scale);
    QTemporaryDir setup;
    const int factor = scale.toInt() > 0 ? scale.toInt() : 1;
    QFile screen(setup.filePath(QStringLiteral("screen.json")));
    if (!screen.open(QIODevice::WriteOnly)) return 2;
    // MDB_LAYOUT_SCREEN=WIDTHxHEIGHT: another screen, in the scale's pixels
    const QList<QByteArray> asked = qgetenv("MDB_LAYOUT_SCREEN").split('x');
    const int width = asked.size() == 2 ? asked[0].toInt() : 1280;
    const int height = asked.size() == 2 ? asked[1].toInt() : 800;
    screen.write(QStringLiteral(R"({"screens": [{"name": "layout", "x": 0, "y": 0, "width": %1,
        "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                     .arg(width * factor)
                     .arg(height * factor)
                     .toUtf8());
    screen.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));

    const QByteArray font = qgetenv("MDB_LAYOUT_FONT");
    if (!font.isEmpty()) {
        const QByteArray fonts = font == "noto" ? "/usr/share/fonts/opentype/noto"
                                                : "/usr/share/fonts/opentype/ipafont-gothic";
        QFile config(setup.filePath(QStringLiteral("fonts.conf")));
        if (!config.open(QIODevice::WriteOnly)) return 2;
        config.write("<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" + fonts +
                     "</dir>\n  <cachedir>" + QFile::encodeName(setup.filePath(u"cache"_qs)) +
                     "</cachedir>\n  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n"
                     "</fontconfig>\n");
        config.close();
        qputenv("FONTCONFIG_FILE", QFile::encodeName(config.fileName()));
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
