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

}  // namespace mdb
