#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLocale>
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
    void theFileListSpeaksRussianToo();
    void messageBoxesAreWideEnoughForTheirTitles();
    void sizesInRussianUnits();
};

void FileDialogTest::sizesInRussianUnits() {
    const std::pair<qint64, const char*> cases[] = {
        {0, "0 байт"},
        {1023, "1023 байт"},
        {1024, "1.00 КиБ"},
        {1536, "1.50 КиБ"},
        {1024 * 1024 - 1, "1024.00 КиБ"},
        {1024 * 1024, "1.00 МиБ"},
        {5LL * 1024 * 1024 * 1024, "5.00 ГиБ"},
        {3LL * 1024 * 1024 * 1024 * 1024 * 1024, "3072.00 ТиБ"},
    };
    for (const auto& [bytes, text] : cases)
        QCOMPARE(tabulon::russianDataSize(bytes), QString::fromUtf8(text));
}

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

// Column names, types and sizes come from the toolkit's locale.
void FileDialogTest::theFileListSpeaksRussianToo() {
    const QLocale previous;
    tabulon::app::useRussianLocale();
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Таблицы");
    QFile file(dir.filePath("goods.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(3 * 1024, 'x'));
    file.close();

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    prepareFileDialog(dialog, departmentsRequest(dir.path()), false);
    dialog.setNameFilter("*");
    dialog.setViewMode(QFileDialog::Detail);
    auto* model = dialog.findChild<QFileSystemModel*>();
    QVERIFY(model);
    QStringList headers;
    for (int column = 0; column < 4; ++column)
        headers << model->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{"Имя", "Размер", "Тип", "Дата изменения"}));
    const QModelIndex folder = model->index(dir.filePath("Таблицы"));
    const QModelIndex text = model->index(dir.filePath("goods.txt"));
    QVERIFY(QTest::qWaitFor(
        [&] { return !model->data(text.siblingAtColumn(1)).toString().isEmpty(); }, 5000));
    QCOMPARE(model->data(folder.siblingAtColumn(2)).toString(), QString("Папка"));
    const QModelIndex shownText = dialog.proxyModel()->mapFromSource(text);
    QCOMPARE(shownText.siblingAtColumn(1).data().toString(), QString("3.00 КиБ"));
    QCOMPARE(model->data(text.siblingAtColumn(2)).toString(), QString("Текстовый документ"));
    // "08.12.2026 16:11", not "12/8/26 4:11 PM", whatever the system's
    // regional settings say.
    const QString date = shownText.siblingAtColumn(3).data().toString();
    const QDateTime modified = QFileInfo(file).lastModified();
    const auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    QCOMPARE(date, QStringLiteral("%1.%2.%3 %4:%5")
                       .arg(two(modified.date().day()), two(modified.date().month()))
                       .arg(modified.date().year())
                       .arg(two(modified.time().hour()), two(modified.time().minute())));
    QLocale::setDefault(previous);
}

void FileDialogTest::messageBoxesAreWideEnoughForTheirTitles() {
    struct Case {
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"Предупреждение", "Ок?"},
        {"Незаполненные поля файла", "Поле 3"},
        {"Ошибка работы с файлом", "Ошибка открытия файла"},
        {"Tabulon", "Таблица \"Товары\"  в ЭККА будет перезаписана. Продолжить ?"},
    };
    for (const Case& c : cases) {
        QMessageBox box(QMessageBox::Warning, c.caption, c.text, QMessageBox::Ok);
        tabulon::makeRoomForTitle(box, c.caption);
        box.show();
        QVERIFY2(box.width() >= tabulon::titleFitWidth(box, c.caption), c.caption);
        box.hide();
    }
}

int main(int argc, char* argv[]) {
    // As the program starts.
    tabulon::app::useRussianSystemLocale();
    QApplication application(argc, argv);
    FileDialogTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "file_dialog_test.moc"
