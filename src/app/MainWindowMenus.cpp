// The menu bar: every entry with its object name, caption and key, and the keys' reach.
#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "app/MainWindow.h"
#include "ui/controls/MenuKeys.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

QAction* addMenuAction(QMenu* menu, const QString& objectName, const QString& caption,
                       const QKeySequence& shortcut = {}) {
    auto* action = menu->addAction(caption);
    action->setObjectName(objectName);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

}  // namespace

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();

    fileMenu_ = bar->addMenu(u"ファイル(&F)"_s);
    fileMenu_->setObjectName(u"MunFile"_s);
    saveAsEntry_ = addMenuAction(fileMenu_, u"mnuFileSaveAsItem"_s, u"名前を付けて保存(&A)"_s,
                                 QKeySequence(u"Ctrl+A"_s));
    saveAsEntry_->setEnabled(false);
    saveEntry_ =
        addMenuAction(fileMenu_, u"MunFileSave"_s, u"上書き保存(&W)"_s, QKeySequence(u"Ctrl+W"_s));
    fileMenu_->addSeparator();
    quitEntry_ =
        addMenuAction(fileMenu_, u"MunFileQuit"_s, u"終了(&X)"_s, QKeySequence(u"Ctrl+Q"_s));

    functionsMenu_ = bar->addMenu(u"機能(&E)"_s);
    functionsMenu_->setObjectName(u"mnuEdit"_s);
    itemLoadEntry_ = addMenuAction(functionsMenu_, u"mnuIdbLoad"_s, u"アイテムDBを読込"_s,
                                   QKeySequence(u"Ctrl+L"_s));
    nextEntry_ =
        addMenuAction(functionsMenu_, u"mnuNext"_s, u"次の候補へ移動"_s, QKeySequence(u"Ctrl+F"_s));
    backEntry_ =
        addMenuAction(functionsMenu_, u"mnuBack"_s, u"前の候補へ移動"_s, QKeySequence(u"Ctrl+D"_s));
    updateEntry_ = addMenuAction(functionsMenu_, u"mnuRenw"_s, u"現在の編集結果を反映させる(&S)"_s,
                                 QKeySequence(u"Ctrl+S"_s));
    mnuGrid_ = addMenuAction(functionsMenu_, u"mnuGrid"_s, u"一覧"_s, QKeySequence(u"Ctrl+T"_s));
    functionsMenu_->addSeparator();
    viewMenu_ = functionsMenu_->addMenu(u"メニュー"_s);
    viewMenu_->setObjectName(u"mnuMenu"_s);
    statusOnlyEntry_ = addMenuAction(viewMenu_, u"mnuStatMenu"_s, u"ステータス編集のみ"_s,
                                     QKeySequence(Qt::Key_F1));
    statusOnlyEntry_->setCheckable(true);
    statusOnlyEntry_->setChecked(true);
    fullViewEntry_ = addMenuAction(viewMenu_, u"mnuMenu2"_s, u"変態、取り巻き、召喚編集"_s,
                                   QKeySequence(Qt::Key_F2));
    fullViewEntry_->setCheckable(true);
    skillEditEntry_ = addMenuAction(viewMenu_, u"mnuMenuMobSkill"_s, u"モンスタースキルDB編集"_s,
                                    QKeySequence(Qt::Key_F5));
    skillEditEntry_->setEnabled(false);

    professionalMenu_ = bar->addMenu(u"for &Professional"_s);
    professionalMenu_->setObjectName(u"mnuFPro"_s);
    advancedModeEntry_ = addMenuAction(professionalMenu_, u"mnuProf"_s, u"上級モード(&P)"_s,
                                       QKeySequence(u"Ctrl+P"_s));
    advancedModeEntry_->setCheckable(true);
    addMenu_ = professionalMenu_->addMenu(u"DB項目追加"_s);
    addMenu_->setObjectName(u"mnuInsMaster"_s);
    addMenu_->setEnabled(false);
    addDropEntry_ = addMenuAction(addMenu_, u"mnuDdrIns"_s, u"ドロップDBへ項目を追加"_s,
                                  QKeySequence(u"Ctrl+I"_s));
    addMvpEntry_ = addMenuAction(addMenu_, u"mnuMvpIns"_s, u"ＭＶＰ DBへ項目を追加"_s,
                                 QKeySequence(u"Ctrl+J"_s));
    addEmoteEntry_ = addMenuAction(addMenu_, u"mnuEmoIns"_s, u"エモーションDBへ項目を追加"_s,
                                   QKeySequence(u"Ctrl+N"_s));
    addMorphEntry_ = addMenuAction(addMenu_, u"mnuMorpIns"_s, u"変態DBへ項目を追加"_s,
                                   QKeySequence(u"Ctrl+K"_s));
    addSlaveEntry_ = addMenuAction(addMenu_, u"mnuSlaveIns"_s, u"取り巻きDBへ項目を追加"_s,
                                   QKeySequence(u"Ctrl+U"_s));
    addSummonEntry_ =
        addMenuAction(addMenu_, u"mnuSumIns"_s, u"召喚DBへ項目を追加"_s, QKeySequence(u"Ctrl+O"_s));
    for (QAction* add : {addDropEntry_, addMvpEntry_, addEmoteEntry_, addMorphEntry_,
                         addSlaveEntry_, addSummonEntry_}) {
        add->setEnabled(false);
    }
    professionalMenu_->addSeparator();
    debugWindow1Entry_ = addMenuAction(professionalMenu_, u"mnuDbwin1"_s,
                                       u"DebugWindow#1 表示/消去"_s, QKeySequence(u"Ctrl+F1"_s));
    debugWindow2Entry_ = addMenuAction(professionalMenu_, u"mnuDbwin2"_s,
                                       u"DebugWindow#2 表示/消去"_s, QKeySequence(u"Ctrl+F2"_s));
    debugWindow3Entry_ = addMenuAction(professionalMenu_, u"mnuDbwin3"_s,
                                       u"DebugWindow#3 表示/消去"_s, QKeySequence(u"Ctrl+F3"_s));

    otherMenu_ = bar->addMenu(u"その他(&O)"_s);
    otherMenu_->setObjectName(u"mnuOther"_s);
    helpEntry_ =
        addMenuAction(otherMenu_, u"mnuHelp"_s, u"ヘルプ(&H)"_s, QKeySequence(Qt::Key_F11));
    helpEntry_->setEnabled(false);
    aboutEntry_ = addMenuAction(otherMenu_, u"mnuHelpAbout"_s, u"バージョン(&V)"_s,
                                QKeySequence(Qt::Key_F12));

    // the window's actions must work while the focus is anywhere in it
    for (QAction* action : findChildren<QAction*>()) action->setShortcutContext(Qt::WindowShortcut);
    // and whatever control has the focus: a text box must not take a shortcut as its own key
    MenuKeys::install(this);
    MenuKeys::traceActions(this);
    connect(quitEntry_, &QAction::triggered, this, &QWidget::close);
}

// The menus and the search boxes from the keyboard, with keys the menus leave free (once the
// status form is built). The top
// menus' mnemonics follow their captions as "(&F)", the usual form for Japanese captions.
void MainWindow::addKeyboardAccess() {
    QMenuBar* bar = menuBar();
    // F10 opens the first menu with its first usable entry chosen; the arrows go on from there
    auto* openMenus = new QAction(this);
    openMenus->setObjectName(u"keyMenuBar"_s);
    openMenus->setShortcut(QKeySequence(Qt::Key_F10));
    connect(openMenus, &QAction::triggered, this, [bar] {
        QAction* first = bar->actions().value(0);
        QMenu* menu = first ? first->menu() : nullptr;
        if (!menu) return;
        bar->setActiveAction(first);
        for (QAction* entry : menu->actions()) {
            if (entry->isEnabled() && entry->isVisible() && !entry->isSeparator()) {
                menu->setActiveAction(entry);
                break;
            }
        }
    });
    addAction(openMenus);

    const auto jumpTo = [this](const QString& name, const QKeySequence& key, QLineEdit* box,
                               const QString& tip) {
        auto* jump = new QAction(this);
        jump->setObjectName(name);
        jump->setShortcut(key);
        connect(jump, &QAction::triggered, box, [box] { box->setFocus(Qt::ShortcutFocusReason); });
        addAction(jump);
        box->setToolTip(tip + u" ("_s + key.toString(QKeySequence::NativeText) + u')');
    };
    jumpTo(u"keyNameSearch"_s, QKeySequence(Qt::Key_F3), findChild<QLineEdit*>(u"Text10"_s),
           u"名前の先頭を入力すると、そのモンスターを表示します"_s);
    jumpTo(u"keyIdSearch"_s, QKeySequence(u"Ctrl+G"_s), findChild<QLineEdit*>(u"Text9"_s),
           u"IDを入力すると、そのモンスターを表示します"_s);
}

// What each command writes, where the caption alone cannot say it: the update changes only
// what the editor holds, the save writes the files.
void MainWindow::explainCommands() {
    updateButton_->setToolTip(
        u"表示中の編集内容をメモリ上のデータベースへ反映します（ファイルは変わりません）。"
        u"ファイルへの書き込みは「上書き保存」(Ctrl+W) で行います。(Ctrl+S)"_s);
    saveEntry_->setToolTip(
        u"「更新」で反映した内容を、７つのモンスターデータベースファイルへ書き込みます"_s);
    fileMenu_->setToolTipsVisible(true);
    itemLoadButton_->setToolTip(
        u"アイテムデータベース（item_consume_db.txt, item_drop_db.txt, item_equip_db.txt）を"
        u"読み込み、アイテムを名前で選べるようにします (Ctrl+L)"_s);
    unlockButton_->setToolTip(
        u"表示中のモンスターに項目が無いため使えない編集欄を、全て入力できるようにします"
        u"（新しい項目を追加するため）。ファイルは変わりません"_s);
}

}  // namespace mdb
