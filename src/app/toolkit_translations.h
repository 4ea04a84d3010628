#pragma once

class QCoreApplication;

namespace tabulon::app {

// Loads Qt's own Russian texts (qtbase_ru, from Debian's
// qt6-translations-l10n) so that the file dialogs and the buttons of the
// message boxes speak the window's language. False when they are not
// installed; the toolkit then keeps its English.
bool loadToolkitTranslations(QCoreApplication& application);

}  // namespace tabulon::app
