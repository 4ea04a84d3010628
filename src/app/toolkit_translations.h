#pragma once

class QCoreApplication;

namespace tabulon::app {

// The toolkit's own texts in Russian: the standard dialogs' sizes, dates,
// file types and column names follow the default locale. The program's
// numbers never go through a locale (text/decimal_number.h), so they keep
// their "." whatever this says.
void useRussianLocale();

// The same for what the toolkit takes from the system's locale (the file
// list's sizes and dates): Russian words and dates, numbers still with ".".
// Before the application object exists: the system locale is read once.
void useRussianSystemLocale();

// Loads Qt's own Russian texts (qtbase_ru, from Debian's
// qt6-translations-l10n) so that the file dialogs and the buttons of the
// message boxes speak the window's language. False when they are not
// installed; the toolkit then keeps its English.
bool loadToolkitTranslations(QCoreApplication& application);

}  // namespace tabulon::app
