#pragma once

#include "dialogs/dialogs.h"

namespace tabulon::app {

// The window's dialogs with a memory for folders: a file dialog opens in the
// folder that the last dialog for the same kind of file took its file from
// (kept in Tabulon.ini), else where it was asked to open. Everything else
// goes to the dialogs it wraps as it is.
class RememberedFolders final : public Dialogs {
public:
    explicit RememberedFolders(Dialogs& dialogs) : dialogs_(dialogs) {}

    MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                          MessageButtons buttons,
                          std::optional<MessageAnswer> defaultAnswer = std::nullopt) override {
        return dialogs_.message(text, caption, icon, buttons, defaultAnswer);
    }
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<QString> directoryName(const QString& title, const QString& start) override {
        return dialogs_.directoryName(title, start);
    }
    int showModal(QDialog& dialog) override { return dialogs_.showModal(dialog); }
    int showRecordFailure(QDialog& dialog, const RecordFailure& failure) override {
        return dialogs_.showRecordFailure(dialog, failure);
    }

private:
    template <class Ask>
    std::optional<QString> fileName(FileDialogRequest request, Ask ask);

    Dialogs& dialogs_;
};

// The kind of file a dialog is for, as the folders are kept by: its default
// extension, else that of its first filter ("art", "bmp"); empty for none.
QString fileKind(const FileDialogRequest& request);

}  // namespace tabulon::app
