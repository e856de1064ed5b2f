// The walk of every widget of a view: each text that does not show whole, each control that
// covers another, each control of an enabled frame outside the window, a view that does not fit
// the screen.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionGroupBox>
#include <iostream>

#include "../ui/WindowFixture.h"
#include "ui/layout/WindowLayout.h"
#include "ui/status/StatusEditor.h"

namespace mdb::test {

using namespace Qt::StringLiterals;

namespace layout_walk {

inline QString nameOf(const QWidget* widget) {
    QString name = widget->objectName();
    if (name.isEmpty()) name = QString::fromLatin1(widget->metaObject()->className());
    const QVariant text = widget->property("text");
    if (text.isValid() && !text.toString().isEmpty()) name += u" \""_s + text.toString() + u'"';
    if (auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        name += u" ["_s + frame->title().trimmed() + u']';
    }
    return name;
}

// The width a button's or label's text needs, as its style draws it.
inline int textWidth(const QWidget* widget, QString text) {
    text.remove(u'&');
    int width = 0;
    for (const QString& line : text.split(u'\n')) {
        width = std::max(width, widget->fontMetrics().horizontalAdvance(line));
    }
    return width;
}

// The title's rectangle of a frame, in the frame's coordinates, and the part the text takes.
inline QRect titleRect(const QGroupBox* frame) {
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = frame->alignment();
    return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel,
                                          frame);
}

class Walk {
public:
    Walk(QWidget* client, QString view) : client_(client), view_(std::move(view)) {}

    void report(const QWidget* widget, const QString& what) {
        problems << view_ + u": "_s + nameOf(widget) + u" — "_s + what;
    }

    QRect inClient(const QWidget* widget) const {
        return QRect(widget->mapTo(client_, QPoint(0, 0)), widget->size());
    }

    void run() {
        const auto frames = client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* frame : frames) {
            if (!frame->isVisibleTo(client_)) continue;
            const bool shown = frame->isEnabled();
            checkSiblings(frames, frame);
            if (!shown) continue;  // a disabled frame may lie outside the view's window
            checkWidget(frame);
            for (QWidget* child : frame->findChildren<QWidget*>()) {
                if (!child->isVisibleTo(client_) || child->isWindow()) continue;
                checkWidget(child);
                if (child->parentWidget()) {
                    checkSiblings(
                        child->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly),
                        child);
                }
            }
        }
        checkClearOfDropFrame();
    }

    QStringList problems;

private:
    void checkWidget(QWidget* widget) {
        const QRect place = inClient(widget);
        if (!client_->rect().contains(place)) {
            report(widget, u"lies outside the window (%1,%2 %3x%4 in %5x%6)"_s.arg(place.x())
                               .arg(place.y())
                               .arg(place.width())
                               .arg(place.height())
                               .arg(client_->width())
                               .arg(client_->height()));
        }
        // (a button's least width is a style's taste; its text is checked below. A table's
        // header is sized by its table from its own hint, not by the least size it inherits
        // as a scroll area.)
        const QSize minimum = widget->minimumSizeHint();
        const bool button = qobject_cast<QPushButton*>(widget) != nullptr;
        if (minimum.isValid() && !qobject_cast<QGroupBox*>(widget) &&
            !qobject_cast<QHeaderView*>(widget) &&
            ((!button && widget->width() < minimum.width()) ||
             widget->height() < minimum.height())) {
            report(widget, u"is squeezed to %1x%2 below its least size %3x%4"_s.arg(widget->width())
                               .arg(widget->height())
                               .arg(minimum.width())
                               .arg(minimum.height()));
        }
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
            const int needed = textWidth(label, label->text()) + 2 * label->margin();
            if (!label->wordWrap() && needed > label->contentsRect().width()) {
                report(widget, u"text needs %1 px, has %2"_s.arg(needed).arg(
                                   label->contentsRect().width()));
            }
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            if (box->sizeHint().width() > box->width()) {
                report(
                    widget,
                    u"text needs %1 px, has %2"_s.arg(box->sizeHint().width()).arg(box->width()));
            }
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            // the style draws the text inside the button's frame
            const int needed =
                textWidth(button, button->text()) +
                2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
            if (needed > button->width()) {
                report(widget, u"text needs %1 px, has %2"_s.arg(needed).arg(button->width()));
            }
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            const QRect title = titleRect(frame);
            // (the style's title rectangle is a pixel short of its text with the IPA fonts'
            // Latin letters, and draws it unclipped: a pixel is rounding, not a cut)
            const int needed = textWidth(frame, frame->title()) - 1;
            if (title.width() < needed || title.left() < 0 || title.right() >= frame->width()) {
                report(widget, u"title needs %1 px, has %2 from %3 in a frame of %4"_s.arg(needed)
                                   .arg(title.width())
                                   .arg(title.left())
                                   .arg(frame->width()));
            }
        } else if (auto* text = qobject_cast<QLineEdit*>(widget)) {
            const int room = text->width() - 2 * text->fontMetrics().averageCharWidth();
            if (!text->hasFocus() && text->cursorPosition() != 0 &&
                text->fontMetrics().horizontalAdvance(text->text()) > room) {
                report(widget, u"shows the tail of its text, not its start"_s);
            }
        }
    }

    // Siblings that share pixels: one covers the other. The drop frame lies over the emotion
    // frame by design; that pair is checked by checkClearOfDropFrame.
    void checkSiblings(const QList<QWidget*>& siblings, QWidget* widget) {
        for (QWidget* other : siblings) {
            if (other <= widget || !other->isVisibleTo(client_) || other->isWindow()) continue;
            const QString pair = widget->objectName() + u'/' + other->objectName();
            if (pair == u"Frame2/Frame1A"_s || pair == u"Frame1A/Frame2"_s) continue;
            // a disabled frame outside the view is not seen; one inside it still is
            if (!client_->rect().intersects(inClient(widget)) ||
                !client_->rect().intersects(inClient(other))) {
                continue;
            }
            if (widget->geometry().intersects(other->geometry())) {
                report(widget, u"overlaps "_s + nameOf(other));
            }
        }
    }

    // What the emotion frame shows (its title, its controls, its pictures) stays clear of the
    // drop frame that covers its corner.
    void checkClearOfDropFrame() {
        auto* drop = client_->findChild<QWidget*>(u"Frame2"_s);
        auto* emote = client_->findChild<QGroupBox*>(u"Frame1A"_s);
        if (!drop || !emote || !emote->isEnabled()) return;
        const QRect covered = inClient(drop);
        const QRect title = titleRect(emote).translated(inClient(emote).topLeft());
        const int textLeft = title.right() + 1 - textWidth(emote, emote->title().trimmed());
        if (QRect(QPoint(textLeft, title.top()), title.bottomRight()).intersects(covered)) {
            report(emote, u"title lies under the drop frame"_s);
        }
        for (QWidget* child : emote->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisibleTo(client_) && inClient(child).intersects(covered)) {
                report(child, u"lies under the drop frame"_s);
            }
        }
    }

    QWidget* client_;
    QString view_;
};

}  // namespace layout_walk

class LayoutWalkTest : public WindowFixture {
protected:
    // `asAView`: the window has the view's size, which must fit the screen with its frame
    QStringList walk(const QString& view, bool asAView = true) {
        QApplication::processEvents();
        layout_walk::Walk walker(WindowLayout::client(*window), view);
        walker.run();
        QStringList problems = walker.problems;
        // the whole view on the screen, with room for the window manager's title bar and
        // borders and for a desktop panel, and nothing scrolled away
        const QRect room = window->screen()->availableGeometry();
        const QSize outer = window->size() + QSize(kFrameWidth, kTitleAndBorders + kPanel);
        if (asAView && (outer.width() > room.width() || outer.height() > room.height())) {
            problems << view +
                            u": the window needs %1x%2 with its frame and a panel, the "
                            u"screen has %3x%4"_s.arg(outer.width())
                                .arg(outer.height())
                                .arg(room.width())
                                .arg(room.height());
        }
        // advanced mode's unlock button, at the menu bar's end: whole, beside the menus
        auto* unlock = control<QPushButton>(u"Command8"_s);
        if (unlock->isVisible()) {
            const QMenuBar* bar = window->menuBar();
            const QRect lastMenu = bar->actionGeometry(bar->actions().constLast());
            const int needed = layout_walk::textWidth(unlock, unlock->text());
            if (unlock->geometry().left() <= lastMenu.right() || unlock->width() < needed ||
                unlock->geometry().right() >= bar->width()) {
                problems << view +
                                u": the unlock button (%1 px, needs %2) does not stand whole "
                                u"beside the menus"_s.arg(unlock->width())
                                    .arg(needed);
            }
        }
        auto* scroll = control<QScrollArea>(u"clientScroll"_s);
        if (asAView && (scroll->horizontalScrollBar()->isVisible() ||
                        scroll->verticalScrollBar()->isVisible())) {
            problems << view + u": the view scrolls"_s;
        }
        return problems;
    }
    int sliderWidth() const { return control<QWidget>(u"Slider1"_s)->width(); }
    static constexpr int kFrameWidth = 2;
    static constexpr int kTitleAndBorders = 30;
    static constexpr int kPanel = 32;
    void press(const QString& action) {
        control<QAction>(action)->trigger();
        QApplication::processEvents();
    }
};

}  // namespace mdb::test
