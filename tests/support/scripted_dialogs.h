#pragma once

#include <QList>
#include <QQueue>
#include <functional>

#include "dialogs/dialogs.h"

namespace tabulon {

// Dialogs for tests: records everything shown and answers from a script.
// With nothing scripted a message box answers Ok (Yes for Yes/No boxes) and a
// file dialog is cancelled.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, OpenFile, SaveFile, Directory, Modal };
    struct Shown {
        Kind kind;
        QString text;     // message text
        QString caption;  // message caption or dialog title
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        FileDialogRequest request;
        QString windowTitle;                              // of a modal window
        tabulon::RecordFailure failure = {};              // of the transfer error dialog
        std::optional<MessageAnswer> defaultAnswer = {};  // of a message box
    };

    QList<Shown> shown;
    QQueue<MessageAnswer> answers;
    QQueue<std::optional<QString>> fileNames;
    // Runs while a modal window would be on the screen (the window is shown,
    // not executed); its result is what showModal returns.
    std::function<int(QDialog&)> onModal;

    MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                          MessageButtons buttons,
                          std::optional<MessageAnswer> defaultAnswer = std::nullopt) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<QString> directoryName(const QString& title, const QString& start) override;
    int showModal(QDialog& dialog) override;
    // A modal window like any other, recorded with the record it names.
    int showRecordFailure(QDialog& dialog, const RecordFailure& failure) override;

    // Only the message boxes, in order.
    QList<Shown> messages() const;

private:
    int runModal(QDialog& dialog);
};

}  // namespace tabulon
