#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace tabulon {
class Dialogs;
}

namespace tabulon::app {

// What closing the window now would lose, as the questions to ask in turn;
// none when nothing would be lost. `editedTables` are the tab captions of
// the tables edited since they were last opened, saved, read or written.
QStringList closeQuestions(bool exchangeRunning, const QStringList& editedTables);

// Asks the questions in turn; true when the user agreed to every one. The
// edited tables are looked at once the exchange's question is answered: an
// exchange that ends while it is on the screen may have written or read the
// very tables the next one would name.
bool agreedToClose(Dialogs& dialogs, bool exchangeRunning,
                   const std::function<QStringList()>& editedTables);

}  // namespace tabulon::app
