#include "reports/report_messages.h"

#include "reports/report_line.h"

namespace tabulon::reports {

QString separatorProblem(const QString& field) {
    if (field.isEmpty()) return QStringLiteral("Не задан разделитель между полями.");
    if (!separatorByte(field))
        return QStringLiteral(
                   "Разделитель «%1» нельзя записать в файл отчета: "
                   "его нет в кодировке Windows-1251.")
            .arg(field);
    return QString();
}

QString endedEarlyText(const DownloadEnd& end) {
    QString why;
    switch (end.how) {
        case DownloadEnd::How::WriteFailed:
            // Nothing of this report went in: the earlier file is as it was.
            return QStringLiteral(
                       "Ошибка записи в файл %1: %2\nЧтение отчетов прервано: файл %1 "
                       "не записан.")
                .arg(end.file.path, end.fileError);
        case DownloadEnd::How::NoSeparator:
            why = separatorProblem(QString()) + u'\n';
            break;
        case DownloadEnd::How::RecordFailed:
            why = QStringLiteral("Запись %1 отчета не прочитана.\n").arg(end.record);
            break;
        case DownloadEnd::How::Stopped:
            // Stopped between two reports: no file of it was begun.
            if (end.file.path.isEmpty()) return QStringLiteral("Чтение отчетов прервано.");
            break;
        default:
            break;
    }
    return why + QStringLiteral("Чтение отчетов прервано: файл %1 неполный, строк в нем %2 из %3.")
                     .arg(end.file.path)
                     .arg(end.lines)
                     .arg(end.file.records);
}

}  // namespace tabulon::reports
