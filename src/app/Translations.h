#pragma once

class QObject;

namespace mdb {

// Installs Qt's own Japanese texts (the buttons of standard dialogs and message boxes: キャンセル,
// 保存, 破棄, はい, いいえ) whatever the system's language, since the rest of the interface is
// Japanese too. The translator belongs to `owner` and is removed with it. Returns false when
// the installed translation (Debian: qt6-translations-l10n) is not found; the buttons then stay
// in English.
bool installQtTranslations(QObject* owner);

}  // namespace mdb
