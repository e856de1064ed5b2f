#include "check/CheckCommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "check/CrossReferences.h"
#include "check/DatabaseCheck.h"
#include "model/TableDescriptor.h"

namespace mdb::check {

using namespace Qt::StringLiterals;

namespace {

const QString kHelp =
    uR"(使い方: monster-db-check [オプション] [フォルダ]

モンスターデータベースの 10 ファイル（モンスターの 7 ファイルとアイテムの 3 ファイル）を
エディタと同じ読み込み処理で読み、エディタが読み込みを拒むファイルについて、原因の場所を
「ファイル名:行:桁:」の形で示します。フォルダを省略すると現在のフォルダを、
ファイルを指定するとそのファイルのあるフォルダを調べます。
アイテムの 3 ファイルは、エディタでは「アイテムDBを読込」のときに読まれます。

エラー（エディタが読み込みを拒む原因）:
  1 レコードの項目数に合わない行（1 行が 1 レコードです）、空白行、//で始まる行
  （コメントではなくデータです）、閉じられていない「"」、Shift_JIS（コードページ932）
  として読めないバイト、ファイルがない・開けない・通常のファイルでない・大きすぎる、
  起動に必要なレコードがない。
警告（読み込めるが注意が必要なもの）:
  エディタが書き戻せない値（「,」「"」改行など。その項目を編集すると保存が拒否されます）、
  項目数の合う//で始まる行、閉じる「"」の後で読み捨てられる文字、
  編集して保存すると別のバイトになる文字（NEC・IBM 拡張などで 2 つのコードを持つ文字）。
参照の警告（モンスターの 7 ファイルが読み込めるとき。--no-refs で省略）:
  ドロップ・MVP のアイテム ID がアイテムの 3 ファイルにない（アイテムの 3 ファイルが
  読み込めるときだけ）、変態・取り巻き・召喚のモンスター名やドロップ・MVP・変態・感情・
  召喚・取り巻きのレコードのモンスター名が mob_stat_db.txt にない（または 1 行目の
  ダミー行の名前）、同じモンスター名のレコードが 2 つ以上ある（エディタは最初の
  レコードしか表示しません）、同じモンスター名や ID のモンスターが 2 体以上いる。
  名前と ID は大文字・小文字を区別せずに比べます（エディタと同じ）。
注記（正しいデータだが、エディタでは扱えないもの。--notes で一覧）:
  同じモンスターの、状況（State）の違う感情のレコード（サーバーには別のレコードですが、
  エディタが表示し書き換えるのは最初のレコードだけです）。

オプション:
  --strict       警告があっても終了コードを 1 にする
  --refs         ファイル間の参照を確かめる（既定）
  --no-refs      ファイル間の参照を確かめない
  --notes        注記も 1 件ずつ表示する（既定ではファイルごとの件数だけ）
  -h, --help     この説明を表示して終了する
  -v, --version  バージョンを表示して終了する

終了コード:
  0  10 ファイルすべてをエディタが読み込める（警告だけなら 0 のまま）
  1  読み込めないファイルがある（--strict では警告がある場合も）
  2  コマンドラインが正しくない、またはフォルダがない
)"_s;

// by Severity
const QString kSeverityWords[] = {u": エラー: "_s, u": 警告: "_s, u": 注記: "_s};

QString location(const FileReport& file, const Finding& f) {
    QString where = file.fileName;
    if (f.line > 0) where += u':' + QString::number(f.line);
    if (f.column > 0) where += u':' + QString::number(f.column);
    return where;
}

// Qt's own wording of a command-line mistake is English; the checker speaks Japanese throughout.
QString commandLineMistake(const QCommandLineParser& parser, const QStringList& arguments) {
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString name = unknown.first();
        return u"不明なオプションです: "_s + (name.size() == 1 ? u"-"_s : u"--"_s) + name;
    }
    for (const QString& argument : arguments.mid(1)) {
        if (argument.startsWith(u'-') && argument.contains(u'=')) {
            return u"このオプションは値を取りません: "_s + argument;
        }
    }
    return u"コマンドラインが正しくありません"_s;
}

// Adds the reference findings to the reports of their files, by line among the findings there;
// returns what to tell about the references as a whole.
QString addReferenceFindings(const QDir& dir, std::vector<FileReport>& reports) {
    const auto loads = [&](size_t first, size_t end) {
        return std::all_of(reports.begin() + qsizetype(first), reports.begin() + qsizetype(end),
                           [](const FileReport& r) { return r.loads; });
    };
    // the reports come in the order of databaseFiles(): the monster files, then the item files
    const size_t kMonsterFiles = Tables::monsterTables().size();
    if (!loads(0, kMonsterFiles)) {
        return u"参照: 読み込めないモンスターのファイルがあるため、参照は確かめていません"_s;
    }
    const bool withItems = loads(kMonsterFiles, reports.size());
    const std::vector<ReferenceFinding> found = checkReferences(dir, withItems);
    for (FileReport& report : reports) {
        for (const ReferenceFinding& f : found) {
            if (f.fileName == report.fileName) report.findings.push_back(f.finding);
        }
        std::stable_sort(report.findings.begin(), report.findings.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
    }
    const auto notes = std::count_if(found.begin(), found.end(), [](const ReferenceFinding& f) {
        return f.finding.severity == Severity::Note;
    });
    const auto warnings = qsizetype(found.size()) - notes;
    QString note = warnings == 0 ? u"参照: 見つからない参照や重複はありません"_s
                                 : u"参照: 見つからない参照や重複が %1 件あります"_s.arg(warnings);
    if (notes > 0) note += u"（ほかに注記が %1 件あります）"_s.arg(notes);
    if (!withItems) {
        note += u"（アイテムのファイルを読み込めないため、アイテム ID は確かめていません）"_s;
    }
    return note;
}

}  // namespace

int runChecker(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    const QCommandLineOption strict(u"strict"_s);
    const QCommandLineOption refs(u"refs"_s);
    const QCommandLineOption noRefs(u"no-refs"_s);
    const QCommandLineOption notes(u"notes"_s);
    parser.addOptions({help, version, strict, refs, noRefs, notes});
    parser.addPositionalArgument(u"folder"_s, {});
    if (!parser.parse(arguments) || parser.positionalArguments().size() > 1) {
        const QString reason = parser.errorText().isEmpty() ? u"フォルダは 1 つだけ指定できます"_s
                                                            : commandLineMistake(parser, arguments);
        err << u"monster-db-check: "_s << reason << u"\n詳しくは --help を見てください\n"_s;
        return 2;
    }
    if (parser.isSet(help)) {
        out << kHelp;
        return 0;
    }
    if (parser.isSet(version)) {
        out << u"monster-db-check "_s << QStringLiteral(MDB_VERSION) << u'\n';
        return 0;
    }

    // a file stands for the folder it lies in, as for the editor
    const QString folder = parser.positionalArguments().value(0, u"."_s);
    const QFileInfo named(folder);
    if (!named.exists()) {
        err << u"monster-db-check: フォルダがありません: "_s << folder << u'\n';
        return 2;
    }
    const QDir dir(named.isDir() ? named.absoluteFilePath() : named.absolutePath());
    std::vector<FileReport> reports;
    for (const TableDescriptor* shape : databaseFiles()) reports.push_back(checkFile(dir, *shape));
    // the later of --refs and --no-refs wins, as a user repeating an option would expect
    const bool withRefs = !parser.isSet(noRefs) || arguments.lastIndexOf(u"--refs"_s) >
                                                       arguments.lastIndexOf(u"--no-refs"_s);
    const QString refsNote = withRefs ? addReferenceFindings(dir, reports) : QString();

    QStringList refused;
    bool warned = false;
    for (const FileReport& file : reports) {
        if (file.loads) {
            out << file.fileName << u": 読み込めます（"_s << file.records << u" レコード）\n"_s;
        } else {
            out << file.fileName << u": 読み込めません — "_s << file.verdict << u'\n';
            refused << file.fileName;
        }
        for (const Finding& f : file.findings) {
            if (f.severity == Severity::Note && !parser.isSet(notes)) continue;
            out << u"  "_s << location(file, f) << kSeverityWords[int(f.severity)] << f.text
                << u'\n';
        }
        if (file.omitted > 0) out << u"  ほかに "_s << file.omitted << u" 件あります\n"_s;
        if (const int count = file.noteCount(); count > 0 && !parser.isSet(notes)) {
            out << u"  注記 "_s << count << u" 件（--notes で表示します）\n"_s;
        }
        warned = warned || file.hasWarnings();
    }
    if (!refsNote.isEmpty()) out << refsNote << u'\n';

    if (refused.isEmpty()) {
        out << u"結果: 10 ファイルすべてを読み込めます"_s
            << (warned ? u"（警告があります）\n"_s : u"\n"_s);
    } else {
        out << u"結果: 読み込めないファイルがあります: "_s << refused.join(u", "_s) << u'\n';
    }
    out.flush();
    return !refused.isEmpty() || (warned && parser.isSet(strict)) ? 1 : 0;
}

}  // namespace mdb::check
