#include "ui/commands/StatusLine.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

constexpr int kGap = 12;  // between the message and the folder

}  // namespace

StatusLine::StatusLine(const QString& folder, QWidget* parent)
    : QWidget(parent),
      messageLabel_(new QLabel(this)),
      folderLabel_(new QLabel(this)),
      folder_(folder) {
    setObjectName(u"statusLine"_s);
    messageLabel_->setObjectName(u"statusMessage"_s);
    folderLabel_->setObjectName(u"statusFolder"_s);
    folderLabel_->setToolTip(folder_);
    folderLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    messageLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // the bar never asks the window for more width than the designed views have
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    arrange();
}

void StatusLine::setMessage(const QString& text) {
    message_ = text;
    toolTip_.clear();
    arrange();
}

void StatusLine::setMessageToolTip(const QString& text) {
    toolTip_ = text;
    arrange();
}

QSize StatusLine::sizeHint() const {
    return {0, std::max(messageLabel_->sizeHint().height(), folderLabel_->sizeHint().height())};
}

QSize StatusLine::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

void StatusLine::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange();
}

void StatusLine::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) arrange();
}

void StatusLine::arrange() {
    const QFontMetrics metrics = fontMetrics();
    const int width = std::max(this->width(), 0);
    const int height = this->height();
    // a label draws its text inside its margins; one more pixel keeps the last glyph whole
    const int pad = messageLabel_->margin() * 2 + 2;

    const int messageNeeds = message_.isEmpty() ? 0 : metrics.horizontalAdvance(message_) + pad;
    const int messageWidth = std::min(messageNeeds, width);
    if (messageNeeds > width) {
        messageLabel_->setText(metrics.elidedText(message_, Qt::ElideRight, width - pad));
        messageLabel_->setToolTip(toolTip_.isEmpty() ? message_ : toolTip_);
    } else {
        messageLabel_->setText(message_);
        messageLabel_->setToolTip(toolTip_);
    }
    messageLabel_->setGeometry(0, 0, messageWidth, height);

    const QString prefix = u"フォルダ: "_s;
    const int room = width - messageWidth - (messageWidth > 0 ? kGap : 0);
    const int pathRoom = room - pad - metrics.horizontalAdvance(prefix);
    if (pathRoom <= metrics.horizontalAdvance(u"…"_s) * 2) {
        folderLabel_->clear();  // no room for a path worth reading: the message comes first
    } else {
        folderLabel_->setText(prefix + metrics.elidedText(folder_, Qt::ElideLeft, pathRoom));
    }
    folderLabel_->setGeometry(width - std::max(room, 0), 0, std::max(room, 0), height);
}

}  // namespace mdb
