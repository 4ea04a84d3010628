#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/toolkit_translations.h"
#include "dialogs/widget_dialogs.h"

using tabulon::FileDialogRequest;
using tabulon::prepareFileDialog;

namespace {

FileDialogRequest departmentsRequest(const QString& directory) {
    return {"Открыть таблицу отделов", "Файлы отделов(*.otd)|*.OTD|Все файлы (*.*)|*.*", "otd",
            directory};
}

QStringList shownFilters(QFileDialog& dialog) {
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    QStringList shown;
    for (int i = 0; types && i < types->count(); ++i) shown << types->itemText(i);
    return shown;
}

}  // namespace

class FileDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void onlyTheSaveDialogAddsAnExtension();
    void noStartFolderMeansTheWorkingDirectory();
    void filtersShowTheirDescriptionsAsWritten();
    void standardDialogsSpeakRussian();
};

void FileDialogTest::initTestCase() {
    QVERIFY(tabulon::app::loadToolkitTranslations(*qApp));
}

void FileDialogTest::onlyTheSaveDialogAddsAnExtension() {
    QTemporaryDir dir;
    QFileDialog open;
    prepareFileDialog(open, departmentsRequest(dir.path()), false);
    QCOMPARE(open.defaultSuffix(), QString());
    QCOMPARE(open.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(open.windowTitle(), QString("Открыть таблицу отделов"));
    QCOMPARE(open.directory().path(), dir.path());

    QFileDialog save;
    prepareFileDialog(save, departmentsRequest(dir.path()), true);
    QCOMPARE(save.defaultSuffix(), QString("otd"));
    QCOMPARE(save.acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(save.testOption(QFileDialog::DontConfirmOverwrite));
}

void FileDialogTest::noStartFolderMeansTheWorkingDirectory() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    for (const bool save : {false, true}) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        prepareFileDialog(dialog, departmentsRequest(QString()), save);
        // The folder the list shows; without one it shows the drives.
        auto* list = dialog.findChild<QAbstractItemView*>("listView");
        QVERIFY(list);
        QCOMPARE(list->rootIndex().data(QFileSystemModel::FilePathRole).toString(),
                 QDir(dir.path()).canonicalPath());
    }
    QDir::setCurrent(previous);
}

void FileDialogTest::filtersShowTheirDescriptionsAsWritten() {
    QTemporaryDir dir;
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    prepareFileDialog(dialog, departmentsRequest(dir.path()), false);
    QCOMPARE(shownFilters(dialog), (QStringList{"Файлы отделов(*.otd)", "Все файлы (*.*)"}));
    // The patterns still choose the files, in either letter case.
    QCOMPARE(dialog.nameFilters().value(0), QString("Файлы отделов(*.otd) (*.OTD *.otd)"));
}

void FileDialogTest::standardDialogsSpeakRussian() {
    QMessageBox question(QMessageBox::Question, "Tabulon", "?", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.button(QMessageBox::Yes)->text(), QString("&Да"));
    QCOMPARE(question.button(QMessageBox::No)->text(), QString("&Нет"));

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QCOMPARE(dialog.findChild<QLabel*>("lookInLabel")->text(), QString("Перейти к:"));
    QCOMPARE(dialog.findChild<QLabel*>("fileNameLabel")->text(), QString("&Имя файла:"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QString("Отмена"));
}

QTEST_MAIN(FileDialogTest)
#include "file_dialog_test.moc"
