#pragma once

#include <QString>

#include "reports/report_download.h"

namespace tabulon::reports {

// The reports tab's messages. Plain boxes without an icon, titled as the
// program (messageCaption()), apart from a file that cannot be created.

inline QString doneText() {
    return QStringLiteral("Успешно!");
}
inline QString notCreatedText() {
    return QStringLiteral("Ошибка открытия файла");
}
inline QString fileErrorCaption() {
    return QStringLiteral("Ошибка работы с файлом");
}

// Why the separator field cannot be used; empty when it can.
QString separatorProblem(const QString& field);

// What the user is told when a download ends before its last report is
// whole (not for a file that was not created, which has a message of its
// own): which file is incomplete and how many lines it holds.
QString endedEarlyText(const DownloadEnd& end);

}  // namespace tabulon::reports
