#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "catalogue/grid_model.h"
#include "support/file_bytes.h"
#include "support/grid_marks.h"
#include "support/window_fixture.h"

using tabulon::GridModel;
using tabulon::TableKind;
using tabulon::testing::cellMarks;
using tabulon::testing::readFile;
using tabulon::testing::WindowFixture;
using tabulon::testing::writeFile;

class SpreadsheetFilesTest : public QObject {
    Q_OBJECT
private slots:
    void priceListGoesThroughThePreviewAndBackOut();
    void tableFileInUtf8IsNamed();
};

namespace {

QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

// Picks a table column for a file column as the user does.
void choose(QDialog& preview, int fileColumn, int tableColumn) {
    auto* box = preview.findChild<QComboBox*>(QString("ComboBoxColumn%1").arg(fileColumn));
    box->setCurrentIndex(box->findData(tableColumn));
    emit box->activated(box->currentIndex());
}

}  // namespace

void SpreadsheetFilesTest::priceListGoesThroughThePreviewAndBackOut() {
    WindowFixture f;
    GridModel* goods = f.window().grid(TableKind::Goods);
    const QStringList kept{"1", "Старое", "1.00", "5.000", "2", "3", "1", "0", "1", "111"};
    goods->setRowCells(1, kept);
    // A price list as Excel saves "CSV UTF-8" in a Russian locale: one
    // column the table does not know, and a name longer than the register keeps.
    const QString csv = f.path("prices.csv");
    writeFile(csv,
              "\xEF\xBB\xBF"
              "Артикул;Товар;Цена продажи;Склад;Штрихкод\r\n"
              "1;Хлеб;12,50;7;4600000000011\r\n"
              "3;Сок яблочный осветлённый, пакет 1 литр;48,90;2;4600000000028\r\n");

    f.dialogs().onModal = [&](QDialog& preview) {
        f.screenshot("import_preview", &preview);
        [&] {
            QCOMPARE(preview.findChild<QComboBox*>("ComboBoxEncoding")->currentText(),
                     QString("UTF-8"));
            QVERIFY(
                preview.findChild<QComboBox*>("ComboBoxDelimiter")->currentText().startsWith(';'));
            QVERIFY(preview.findChild<QCheckBox*>("CheckBoxHeader")->isChecked());
            QCOMPARE(preview.findChild<QComboBox*>("ComboBoxRows")->currentIndex(), 0);
            QCOMPARE(items(preview.findChild<QListWidget*>("ListBoxProblems")),
                     QStringList{"Предупреждение: Строка 3, столбец 2 (Товар): 38 символов, "
                                 "останется 32: \"Сок яблочный осветлённый, пакет \"."});
            QCOMPARE(preview.findChild<QComboBox*>("ComboBoxColumn4")->currentData().toInt(), -1);
            choose(preview, 5, 1);
            QVERIFY(!preview.findChild<QPushButton*>("ButtonOk")->isEnabled());
            choose(preview, 5, 10);
            choose(preview, 4, 4);
            QCOMPARE(preview.findChild<QLabel*>("LabelMissing")->text(),
                     QString("Нет в файле: Отдел, Группа, Налог, Тип, КНЛ. Их значения берутся "
                             "из таблицы (строк: 1), а в пустых строках - как в очищенной кассе "
                             "(строк: 1)."));
        }();
        preview.findChild<QPushButton*>("ButtonOk")->click();
        return preview.result();
    };
    f.dialogs().fileNames.enqueue(csv);
    f.control<QPushButton>("Button3")->click();

    QCOMPARE(f.dialogs().shown.constFirst().request.filterList,
             QString("Файлы артикулов(*.art)|*.ART|CSV (*.csv *.txt)|*.CSV;*.TXT|"
                     "Все файлы (*.*)|*.*"));
    QCOMPARE(goods->rowCells(1, 10),
             (QStringList{"1", "Хлеб", "12.50", "7", "2", "3", "1", "0", "1", "4600000000011"}));
    QCOMPARE(goods->rowCells(2, 10), QStringList(10));
    QCOMPARE(goods->rowCells(3, 10),
             (QStringList{"3", "Сок яблочный осветлённый, пакет 1 литр", "48.90", "2", "1", "1",
                          "1", "1", "0", "4600000000028"}));
    QCOMPARE(cellMarks(*goods, 3),
             (QStringList{"1.2e", "1.3e", "1.4e", "1.10e", "3.1e", "3.2e", "3.3e", "3.4e", "3.5e",
                          "3.6e", "3.7e", "3.8e", "3.9e", "3.10e"}));
    QCOMPARE(goods->marks().changedForRegister(), (QList<int>{1, 3}));
    // After what the window writes at start-up and the folder of the file.
    QVERIFY(f.iniBytes().endsWith("\r\n[Import]\r\n805d4626=1,2,3,4,10\r\n"));

    // The same headings again: the columns chosen last time are offered;
    // "Отмена" leaves the grid as it was.
    const QList<QStringList> before{goods->rowCells(1, 10), goods->rowCells(3, 10)};
    int offered = 0;
    f.dialogs().onModal = [&](QDialog& preview) {
        offered = preview.findChild<QComboBox*>("ComboBoxColumn4")->currentData().toInt();
        preview.findChild<QPushButton*>("ButtonCancel")->click();
        return preview.result();
    };
    f.dialogs().fileNames.enqueue(csv);
    f.control<QPushButton>("Button3")->click();
    QCOMPARE(offered, 4);
    QCOMPARE((QList<QStringList>{goods->rowCells(1, 10), goods->rowCells(3, 10)}), before);
    QCOMPARE(goods->marks().changedForRegister(), (QList<int>{1, 3}));

    const QString out = f.path("out.csv");
    f.dialogs().fileNames.enqueue(out);
    f.control<QPushButton>("Button2")->click();
    QCOMPARE(f.dialogs().shown.last().request.filterList,
             QString("Файлы артикулов(*.art)|*.ART|CSV UTF-8 (*.csv)|*.CSV|Все файлы (*.*)|*.*"));
    QCOMPARE(readFile(out), QByteArray("\xEF\xBB\xBF"
                                       "Код;Название;Цена;Количество;Отдел;Группа;Налог;Тип;КНЛ;"
                                       "Штрих-код\r\n"
                                       "1;Хлеб;12,50;7;2;3;1;0;1;4600000000011\r\n"
                                       "3;Сок яблочный осветлённый, пакет 1 литр;48,90;2;1;1;1;1;"
                                       "0;4600000000028\r\n"));

    // Headings the departments know too: the goods' columns are none of theirs.
    writeFile(f.path("codes.csv"), "Код;Название\r\n5;Хлеб\r\n");
    f.dialogs().onModal = [&](QDialog& preview) {
        offered = preview.findChild<QComboBox*>("ComboBoxColumn1")->currentData().toInt();
        choose(preview, 1, offered);
        preview.findChild<QPushButton*>("ButtonOk")->click();
        return preview.result();
    };
    for (int tab : {0, 3}) {
        f.control<QTabWidget>("PageControl1")->setCurrentIndex(tab);
        f.dialogs().fileNames.enqueue(f.path("codes.csv"));
        f.control<QPushButton>("Button3")->click();
    }
    QCOMPARE(offered, 0);
    QVERIFY(f.dialogs().messages().isEmpty());
}

void SpreadsheetFilesTest::tableFileInUtf8IsNamed() {
    WindowFixture f;
    f.control<QTabWidget>("PageControl1")->setCurrentIndex(7);
    const QString path = f.path("service.slu");
    writeFile(path, "Сервис;26;27;28;29;30;31;32;33;34;;\r\n");
    f.dialogs().fileNames.enqueue(path);
    f.control<QPushButton>("Button3")->click();
    QCOMPARE(f.dialogs().messages().size(), 1);
    QCOMPARE(f.dialogs().messages().constFirst().text,
             QString("Файл service.slu прочитан в кодировке UTF-8, а не Windows-1251."));
    QCOMPARE(f.dialogs().messages().constFirst().caption, QString("Кодировка файла"));
}

QTEST_MAIN(SpreadsheetFilesTest)
#include "spreadsheet_files_test.moc"
