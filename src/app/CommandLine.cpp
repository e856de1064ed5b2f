#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

const QString kHelp =
    uR"(使い方: monster-db-editor [オプション] [フォルダ]

モンスターデータベースのエディタ Tornak MonsterDatabase Editor II を開きます。
フォルダを指定するとそのフォルダのデータベースファイルを、省略すると現在のフォルダの
ファイルを読み書きします。ファイルを指定すると、そのファイルのあるフォルダを開きます。
省略して現在のフォルダにデータベースファイルが 1 つもないときは、フォルダを選ぶ
ダイアログを前回使ったフォルダから開きます（キャンセルすると何もせずに終了します）。

起動時に「データベースファイル形式が不正です」と表示されたときは、
monster-db-check [フォルダ] で不正な箇所（ファイル名と行）を調べられます。

オプション:
  -h, --help     この説明を表示して終了する
  -v, --version  バージョンを表示して終了する
)"_s;

CommandLine failure(const QString& text) {
    CommandLine line;
    line.action = CommandLine::Action::Error;
    line.text = text;
    return line;
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    parser.addOptions({help, version});
    parser.addPositionalArgument(u"folder"_s, {});
    if (!parser.parse(arguments)) return failure(parser.errorText());

    CommandLine line;
    if (parser.isSet(help)) {
        line.action = Action::Help;
        line.text = kHelp;
        return line;
    }
    if (parser.isSet(version)) {
        line.action = Action::Version;
        line.text = u"monster-db-editor "_s + QStringLiteral(MDB_VERSION) + u'\n';
        return line;
    }

    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) return failure(u"フォルダは 1 つだけ指定できます"_s);
    if (folders.isEmpty()) {
        line.databaseDir = QDir::current();
        return line;
    }
    const QFileInfo named(folders.first());
    if (!named.exists()) return failure(u"フォルダがありません: "_s + folders.first());
    line.databaseDir = QDir(named.isDir() ? named.absoluteFilePath() : named.absolutePath());
    line.folderNamed = true;
    return line;
}

bool CommandLine::holdsQtOption(const QStringList& arguments) {
    // the options of QGuiApplication, QApplication and the X11 platform; Qt takes them with one
    // dash or two
    static const QStringList kQtOptions{u"platform"_s,
                                        u"platformpluginpath"_s,
                                        u"platformtheme"_s,
                                        u"plugin"_s,
                                        u"qwindowgeometry"_s,
                                        u"qwindowtitle"_s,
                                        u"qwindowicon"_s,
                                        u"display"_s,
                                        u"geometry"_s,
                                        u"title"_s,
                                        u"name"_s,
                                        u"style"_s,
                                        u"stylesheet"_s,
                                        u"session"_s,
                                        u"reverse"_s,
                                        u"widgetcount"_s,
                                        u"testability"_s,
                                        u"nograb"_s,
                                        u"dograb"_s,
                                        u"qmljsdebugger"_s,
                                        u"sync"_s,
                                        u"visual"_s,
                                        u"ncols"_s,
                                        u"cmap"_s,
                                        u"fn"_s,
                                        u"font"_s,
                                        u"bg"_s,
                                        u"background"_s,
                                        u"fg"_s,
                                        u"foreground"_s,
                                        u"btn"_s,
                                        u"button"_s,
                                        u"im"_s,
                                        u"inputstyle"_s};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QStringView arg = arguments[i];
        if (arg == u"--") break;
        if (!arg.startsWith(u'-')) continue;
        arg = arg.mid(arg.startsWith(u"--") ? 2 : 1);
        arg = arg.left(arg.indexOf(u'='));
        if (kQtOptions.contains(arg)) return true;
    }
    return false;
}

}  // namespace mdb
