#include "ui/controls/JapaneseFont.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace mdb {

void preferJapaneseFont(QWidget* widget) {
    const QStringList installed = QFontDatabase::families(QFontDatabase::Japanese);
    if (installed.isEmpty()) return;
    QString chosen = installed.first();
    // proportional faces first: they read like the designed window's font
    for (const QString& family :
         {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
          QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")}) {
        if (installed.contains(family)) {
            chosen = family;
            break;
        }
    }
    QFont font = widget->font();
    if (font.families().contains(chosen)) return;
    font.setFamilies({font.family(), chosen});
    widget->setFont(font);
}

}  // namespace mdb
