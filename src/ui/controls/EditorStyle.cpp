#include "ui/controls/EditorStyle.h"

#include <QApplication>
#include <QFontInfo>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QWidget>
#include <cmath>

namespace mdb {

namespace {

class Style : public QProxyStyle {
public:
    explicit Style(QStyle* base) : QProxyStyle(base) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && item && widget && widget->hasFocus() &&
            (item->state & State_Selected)) {
            // the menu bar has the keyboard: its chosen entry looks as an open one does
            QStyleOptionMenuItem shown(*item);
            shown.state |= State_Sunken;
            QProxyStyle::drawControl(element, &shown, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override {
        QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        switch (type) {
            case CT_LineEdit:
            case CT_ComboBox:
            case CT_PushButton:
            case CT_CheckBox:
            case CT_RadioButton:
            case CT_SpinBox:
                if (widget) {
                    const int spare = EditorStyle::spareLine(option->fontMetrics.height(),
                                                             QFontInfo(widget->font()).pixelSize());
                    size.setHeight(size.height() - spare);
                    // a button at the menu bar's end is no taller than the menus' captions
                    if (type == CT_PushButton && qobject_cast<QMenuBar*>(widget->parentWidget())) {
                        size.setHeight(std::min(size.height(), option->fontMetrics.height() + 4));
                    }
                }
                break;
            default:
                break;
        }
        return size;
    }
};

}  // namespace

int EditorStyle::spareLine(int lineHeight, int pixelSize) {
    if (pixelSize <= 0) return 0;
    const int needed = int(std::ceil(pixelSize * 1.15));
    return std::max(0, lineHeight - needed);
}

void EditorStyle::install() {
    if (dynamic_cast<Style*>(QApplication::style())) return;
    // a fresh style of the application's kind, which the proxy owns
    QApplication::setStyle(new Style(QStyleFactory::create(QApplication::style()->name())));
}

}  // namespace mdb
