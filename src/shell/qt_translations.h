#pragma once

class QCoreApplication;

namespace quoinry::shell {

// Qt's own texts (standard buttons, the file dialog) in Simplified Chinese, from Debian's
// qt6-translations-l10n, whatever the desktop's language: the program's own texts are Chinese.
// False when the translations are not installed; Qt then speaks English.
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace quoinry::shell
