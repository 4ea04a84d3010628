#pragma once

#include <QtGlobal>

#include "dialogs/dialogs.h"

class QFileDialog;
class QMessageBox;
class QWidget;

namespace tabulon {

// Sets up a file dialog for a request: title, start folder, filters, and for
// a save dialog its default extension.
void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save);

// A file's size in the file list: "512 байт", "3.00 КиБ", "1.50 МиБ".
QString russianDataSize(qint64 bytes);

// How wide a window must be for its title bar to show `caption` whole.
int titleFitWidth(const QWidget& window, const QString& caption);
// Widens a message box to its title where its text alone would not.
void makeRoomForTitle(QMessageBox& box, const QString& caption);

// The dialogs on the screen: QMessageBox and QFileDialog over a parent window.
class WidgetDialogs : public Dialogs {
public:
    explicit WidgetDialogs(QWidget* parent) : parent_(parent) {}

    MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                          MessageButtons buttons,
                          std::optional<MessageAnswer> defaultAnswer = std::nullopt) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<QString> directoryName(const QString& title, const QString& start) override;
    int showModal(QDialog& dialog) override;
    int showRecordFailure(QDialog& dialog, const RecordFailure& failure) override;

private:
    std::optional<QString> fileName(const FileDialogRequest& request, bool save);
    QWidget* parent_;
};

}  // namespace tabulon
