#include "support/scripted_dialogs.h"

#include <QDialog>

namespace tabulon {

MessageAnswer ScriptedDialogs::message(const QString& text, const QString& caption,
                                       MessageIcon icon, MessageButtons buttons,
                                       std::optional<MessageAnswer> defaultAnswer) {
    shown.append({Kind::Message, text, caption, icon, buttons, {}, {}, {}, defaultAnswer});
    if (!answers.isEmpty()) return answers.dequeue();
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
               ? MessageAnswer::Yes
               : MessageAnswer::Ok;
}

std::optional<QString> ScriptedDialogs::openFileName(const FileDialogRequest& request) {
    shown.append({Kind::OpenFile,
                  {},
                  request.title,
                  MessageIcon::None,
                  MessageButtons::Ok,
                  request,
                  {},
                  {}});
    return fileNames.isEmpty() ? std::nullopt : fileNames.dequeue();
}

std::optional<QString> ScriptedDialogs::saveFileName(const FileDialogRequest& request) {
    shown.append({Kind::SaveFile,
                  {},
                  request.title,
                  MessageIcon::None,
                  MessageButtons::Ok,
                  request,
                  {},
                  {}});
    return fileNames.isEmpty() ? std::nullopt : fileNames.dequeue();
}

std::optional<QString> ScriptedDialogs::directoryName(const QString& title, const QString& start) {
    shown.append({Kind::Directory,
                  {},
                  title,
                  MessageIcon::None,
                  MessageButtons::Ok,
                  {title, {}, {}, start},
                  {},
                  {}});
    return fileNames.isEmpty() ? std::nullopt : fileNames.dequeue();
}

int ScriptedDialogs::showModal(QDialog& dialog) {
    shown.append(
        {Kind::Modal, {}, {}, MessageIcon::None, MessageButtons::Ok, {}, dialog.windowTitle(), {}});
    return runModal(dialog);
}

int ScriptedDialogs::showRecordFailure(QDialog& dialog, const RecordFailure& failure) {
    shown.append({Kind::Modal,
                  {},
                  {},
                  MessageIcon::None,
                  MessageButtons::Ok,
                  {},
                  dialog.windowTitle(),
                  failure});
    return runModal(dialog);
}

int ScriptedDialogs::runModal(QDialog& dialog) {
    if (!onModal) return QDialog::Rejected;
    dialog.show();
    const int result = onModal(dialog);
    dialog.hide();
    return result;
}

QList<ScriptedDialogs::Shown> ScriptedDialogs::messages() const {
    QList<Shown> boxes;
    for (const auto& s : shown)
        if (s.kind == Kind::Message) boxes << s;
    return boxes;
}

}  // namespace tabulon
