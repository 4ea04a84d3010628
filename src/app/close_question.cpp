#include "app/close_question.h"

#include "dialogs/dialogs.h"

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

bool agreedToClose(Dialogs& dialogs, bool exchangeRunning,
                   const std::function<QStringList()>& editedTables) {
    // Enter keeps the window open: closing is what loses the work.
    const auto agreed = [&dialogs](const QString& question) {
        return dialogs.message(question, messageCaption(), MessageIcon::Warning,
                               MessageButtons::YesNo, MessageAnswer::No) == MessageAnswer::Yes;
    };
    for (const QString& question : closeQuestions(exchangeRunning, {}))
        if (!agreed(question)) return false;
    for (const QString& question : closeQuestions(false, editedTables()))
        if (!agreed(question)) return false;
    return true;
}

}  // namespace tabulon::app
