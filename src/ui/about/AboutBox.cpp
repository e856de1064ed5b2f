#include "ui/about/AboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QWindow>
#include <algorithm>

#include "ui/about/SystemInfo.h"
#include "ui/about/VersionText.h"
#include "ui/controls/JapaneseFont.h"
#include "ui/controls/MessageSink.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

QLabel* namedLabel(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

QFrame* separatorLine(int index, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName(indexed(u"Line1"_s, index));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QString descriptionText() {
    return MessageSink::joinLines(
        {u"C++20 と Qt 6 で作成、Linux（Debian 12）で動作します。"_s, u"2004年12月16日作成"_s,
         u"2005年4月15日更新"_s, u"制作：Tornak MonsterDatabase Editor II 開発者"_s, QString(),
         u"本プログラムの使用によって生じたいかなる損害についても、作者は責任を負いません。"
         u"データベースファイルは編集の前にバックアップして下さい。"_s});
}

}  // namespace

AboutBox::AboutBox(const KeyValueStore& store, ProgramLauncher& launcher, MessageSink& messages,
                   QWidget* parent)
    : QDialog(parent), store_(store), launcher_(launcher), messages_(messages) {
    build();
    load();
}

void AboutBox::build() {
    setObjectName(u"frmAbout"_s);
    // a fixed dialog: no minimise or maximise buttons
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(u"ﾊﾞｰｼﾞｮﾝ情報"_s);

    picIcon = namedLabel(u"picIcon"_s, QString(), this);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    picIcon->setPixmap(icon.pixmap(32, 32));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle = namedLabel(u"lblTitle"_s, applicationTitle(), this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = namedLabel(u"lblVersion"_s, u"Version"_s, this);
    Label1 = namedLabel(u"Label1"_s, QString(), this);
    lblDescription = namedLabel(u"lblDescription"_s, descriptionText(), this);
    lblDescription->setWordWrap(true);
    preferJapaneseFont(lblDescription);
    Line1[0] = separatorLine(0, this);
    Line1[1] = separatorLine(1, this);

    cmdOK = makeButton(u"cmdOK"_s, u"OK"_s, this, 0, 0, 0);
    cmdOK->setDefault(true);
    cmdSysInfo = makeButton(u"cmdSysInfo"_s, u"ｼｽﾃﾑ情報(&S)..."_s, this, 0, 0, 0);
    for (QPushButton* button : {cmdOK, cmdSysInfo}) button->setMinimumWidth(120);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, 3, 1);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(Label1, 2, 1);
    grid->addWidget(Line1[0], 3, 0, 1, 2);
    grid->addWidget(lblDescription, 4, 1);
    grid->addWidget(Line1[1], 5, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    grid->addLayout(buttons, 6, 0, 1, 2);
    fitWidth(0);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this,
            [this] { StartSysInfo(store_, launcher_, messages_); });
}

void AboutBox::fitWidth(int widest) {
    // as wide as the description's longest line, so that no line breaks where it need not
    int needed = 420;
    for (const QString& line : lblDescription->text().split(u"\r\n"_s)) {
        needed = std::max(needed, lblDescription->fontMetrics().horizontalAdvance(line) + 2);
    }
    if (widest > 0) {
        // what the box needs beside the description: its margins and the icon's column
        const auto* grid = static_cast<QGridLayout*>(layout());
        const QMargins margins = grid->contentsMargins();
        const int beside = margins.left() + margins.right() + picIcon->sizeHint().width() +
                           std::max(grid->horizontalSpacing(), 0);
        needed = std::min(needed, widest - beside);
    }
    // a fixed width, so that the box's height follows the lines the description wraps into
    lblDescription->setFixedWidth(needed);
}

void AboutBox::load() {
    setWindowTitle(applicationTitle() + u"のﾊﾞｰｼﾞｮﾝ情報"_s);
    lblVersion->setText(versionText(MDB_VERSION_MAJOR, MDB_VERSION_MINOR, MDB_VERSION_PATCH));
    Label1->setText(u"最終更新日　2005年5月2日"_s);
}

AboutCommand::AboutCommand(QWidget* window, MessageSink& messages,
                           std::unique_ptr<KeyValueStore> store,
                           std::unique_ptr<ProgramLauncher> launcher)
    : QObject(window),
      window_(window),
      messages_(messages),
      store_(store ? std::move(store) : std::make_unique<NoKeyValueStore>()),
      launcher_(launcher ? std::move(launcher) : std::make_unique<DetachedProgramLauncher>()) {}

AboutCommand::~AboutCommand() = default;

void AboutCommand::ShowAbout() {
    if (!box_) {
        box_ = std::make_unique<AboutBox>(*store_, *launcher_, messages_);
        if (widest_) box_->fitWidth(widest_());
        box_->setWindowModality(Qt::ApplicationModal);
        // placed over the main window, as its dialog
        box_->winId();
        if (QWindow* main = window_->windowHandle()) box_->windowHandle()->setTransientParent(main);
    }
    box_->show();
    box_->raise();
    box_->activateWindow();
}

}  // namespace mdb
