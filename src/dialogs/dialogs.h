#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;

namespace tabulon {

enum class MessageIcon { None, Information, Warning, Stop, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The caption of the program's message boxes: its name.
inline QString messageCaption() {
    return QStringLiteral("Tabulon");
}

// What a file dialog is asked to show. The filter list is written as
// description and pattern pairs separated by "|" ("Файлы (*.art)|*.ART|...").
struct FileDialogRequest {
    QString title;
    QString filterList;
    QString defaultExtension;   // without the dot; empty for none
    QString directory;          // where the dialog starts; empty: the working directory
    QString proposedName = {};  // the file name offered; empty for none
};

// The record a transfer gave up on after its attempts, for the line under
// the transfer error dialog's text.
struct RecordFailure {
    QString table;  // as its tab names it
    int record = 0;
    QString cause;  // in words
};

// "Товары, запись 4 321: нет ответа".
QString recordFailureLine(const RecordFailure& failure);

// Every message box, file dialog and modal window of the program goes
// through here, so that the commands can be driven and checked without a
// person at the screen.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // `defaultAnswer` is the button Enter presses; none: the first one. A
    // question whose Yes throws work away makes No the default.
    virtual MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                                  MessageButtons buttons,
                                  std::optional<MessageAnswer> defaultAnswer = std::nullopt) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> directoryName(const QString& title, const QString& start) = 0;
    // Shows a window of the program modally and returns when it closes.
    virtual int showModal(QDialog& dialog) = 0;
    // The transfer error dialog, its line already naming `failure`.
    virtual int showRecordFailure(QDialog& dialog, const RecordFailure& failure) = 0;
};

// "desc|pat|desc|pat" as Qt name filters ("desc (pat)"). Patterns are given in
// both letter cases: the register's files come from Windows, where *.ART also
// finds x.art, and a Linux file system would otherwise hide them.
QStringList qtNameFilters(const QString& filterList);

}  // namespace tabulon
