#include "dialogs/widget_dialogs.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace tabulon {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return QMessageBox::NoIcon;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

}  // namespace

MessageAnswer WidgetDialogs::message(const QString& text, const QString& caption, MessageIcon icon,
                                     MessageButtons buttons) {
    QMessageBox box(boxIcon(icon), caption, text, boxButtons(buttons), parent_);
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Ok;
    }
}

void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save) {
    dialog.setWindowTitle(request.title);
    // Given no folder, Qt's dialog shows the drives rather than any folder;
    // a dialog of this program starts in the working directory then.
    dialog.setDirectory(request.directory.isEmpty() ? QDir::currentPath() : request.directory);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialog takes a typed name of a file that does not exist; the
    // command then reports that it cannot open it. The save dialog replaces an
    // existing file without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // The descriptions already name their patterns, as the user knows them;
    // the patterns Qt matches with stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtNameFilters(request.filterList);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    // A name typed without an extension gets one only when saving; opening
    // takes the name as typed.
    dialog.setDefaultSuffix(save ? request.defaultExtension : QString());
}

std::optional<QString> WidgetDialogs::fileName(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_);
    prepareFileDialog(dialog, request, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> WidgetDialogs::openFileName(const FileDialogRequest& request) {
    return fileName(request, false);
}

std::optional<QString> WidgetDialogs::saveFileName(const FileDialogRequest& request) {
    return fileName(request, true);
}

std::optional<QString> WidgetDialogs::directoryName(const QString& title, const QString& start) {
    const QString chosen = QFileDialog::getExistingDirectory(parent_, title, start);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

int WidgetDialogs::showModal(QDialog& dialog) {
    return dialog.exec();
}

int WidgetDialogs::showRecordFailure(QDialog& dialog, const RecordFailure&) {
    return dialog.exec();
}

}  // namespace tabulon
