#pragma once

#include <QString>
#include <QStringList>

namespace tabulon::app {

// What closing the window now would lose, as the questions to ask in turn;
// none when nothing would be lost. `editedTables` are the tab captions of
// the tables edited since they were last opened, saved, read or written.
QStringList closeQuestions(bool exchangeRunning, const QStringList& editedTables);

}  // namespace tabulon::app
