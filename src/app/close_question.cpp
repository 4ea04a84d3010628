#include "app/close_question.h"

namespace tabulon::app {

QStringList closeQuestions(bool exchangeRunning, const QStringList& editedTables) {
    QStringList questions;
    if (exchangeRunning) questions << QStringLiteral("Идёт обмен с ЭККА. Прервать и закрыть?");
    if (editedTables.size() == 1) {
        questions << QStringLiteral("Таблица «%1» изменена. Закрыть без сохранения?")
                         .arg(editedTables.front());
    } else if (editedTables.size() > 1) {
        questions << QStringLiteral("Таблицы «%1» изменены. Закрыть без сохранения?")
                         .arg(editedTables.join(QStringLiteral("», «")));
    }
    return questions;
}

}  // namespace tabulon::app
