#include "dialogs/widget_dialogs.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QIdentityProxyModel>
#include <QMessageBox>
#include <iterator>

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

// Qt's Russian texts lack the file list's words for folders and drives;
// the file types come from the shared MIME data in the locale's language.
class RussianFileTypes final : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        if (info.isRoot()) return QStringLiteral("Диск");
        if (info.isDir()) return QStringLiteral("Папка");
        return QFileIconProvider::type(info);
    }
};

// The toolkit's Russian locale still gives sizes in English units, and its
// dates follow the system's own locale (on Windows, the user's regional
// settings, whatever the program asks): the file list shows both in Russian,
// numbers with "." as everywhere else.
class RussianSizesAndDates final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (files && role == Qt::DisplayRole) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == 1 && !files->isDir(source))
                return russianDataSize(files->size(source));
            if (index.column() == 3)
                return files->lastModified(source).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
        }
        return QIdentityProxyModel::data(index, role);
    }
};

}  // namespace

QString russianDataSize(qint64 bytes) {
    static const char16_t* const units[] = {u"КиБ", u"МиБ", u"ГиБ", u"ТиБ"};
    if (bytes < 1024) return QStringLiteral("%1 байт").arg(bytes);
    double value = double(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit + 1 < int(std::size(units))) {
        value /= 1024;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(QString::number(value, 'f', 2),
                                       QString::fromUtf16(units[unit]));
}

int titleFitWidth(const QWidget& window, const QString& caption) {
    // The title bar's font is the window manager's; a bold one of the
    // window's size is the widest it is likely to be. The buttons at the
    // bar's ends (icon, close) take about as much again as two letters each.
    QFont bold = window.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(caption) + 4 * metrics.height() + 48;
}

void makeRoomForTitle(QMessageBox& box, const QString& caption) {
    // A message box takes the width of its text; a short text under a long
    // title ("Незаполненные поля файла") would cut the title. A spacer
    // across the box's grid keeps it as wide as the title needs.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(
        new QSpacerItem(titleFitWidth(box, caption), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
        grid->rowCount(), 0, 1, grid->columnCount());
}

namespace {

QMessageBox::StandardButton boxButton(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return QMessageBox::Ok;
        case MessageAnswer::Cancel:
            return QMessageBox::Cancel;
        case MessageAnswer::Yes:
            return QMessageBox::Yes;
        case MessageAnswer::No:
            return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

}  // namespace

MessageAnswer WidgetDialogs::message(const QString& text, const QString& caption, MessageIcon icon,
                                     MessageButtons buttons,
                                     std::optional<MessageAnswer> defaultAnswer) {
    QMessageBox box(boxIcon(icon), caption, text, boxButtons(buttons), parent_);
    if (defaultAnswer) box.setDefaultButton(boxButton(*defaultAnswer));
    makeRoomForTitle(box, caption);
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
    static RussianFileTypes fileTypes;
    dialog.setIconProvider(&fileTypes);
    dialog.setProxyModel(new RussianSizesAndDates(&dialog));
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
