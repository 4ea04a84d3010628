#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "catalogue/grid_model.h"
#include "support/file_bytes.h"
#include "support/window_fixture.h"

using tabulon::GridModel;
using tabulon::ScriptedDialogs;
using tabulon::TableKind;
using tabulon::testing::readFile;
using tabulon::testing::WindowFixture;

class TableFilesTest : public QObject {
    Q_OBJECT
private slots:
    void goodsTableGoesToAFileAndBack();
    void serviceTabOfNeonLeavesItsEleventhFieldAlone();
    void cancelledDialogsChangeNothing();
};

void TableFilesTest::goodsTableGoesToAFileAndBack() {
    WindowFixture f;
    GridModel* goods = f.window().grid(TableKind::Goods);
    const QStringList row{"1", "Товар1", "0.00", "0.000", "1", "1", "1", "1", "0", "0"};
    for (int c = 0; c < 10; ++c) goods->setCell(1, c + 1, row[c]);
    goods->setCell(10000, 2, "Последний");
    const QString path = f.directory() + "/goods.art";

    f.dialogs().fileNames.enqueue(path);
    f.control<QPushButton>("Button2")->click();
    const QByteArray bytes = readFile(path);
    QVERIFY(
        bytes.startsWith("1;\xD2\xEE\xE2\xE0\xF0\x31;0.00;0.000;1;1;1;1;0;0;\r\n;;;;;;;;;;\r\n"));
    QCOMPARE(bytes.count("\r\n"), 10000);
    QVERIFY(bytes.endsWith(";\xCF\xEE\xF1\xEB\xE5\xE4\xED\xE8\xE9;;;;;;;;;\r\n"));
    const auto save = f.dialogs().shown.constFirst();
    QCOMPARE(save.kind, ScriptedDialogs::Kind::SaveFile);
    QCOMPARE(save.request.title, QString("Сохранить файл артикулов"));
    QCOMPARE(save.request.defaultExtension, QString("art"));
    QCOMPARE(save.request.directory, QDir::currentPath());
    QCOMPARE(f.control<QLabel>("Label5")->text(), QString("   "));

    for (int c = 1; c <= 10; ++c) goods->setCell(1, c, "x");
    goods->setCell(10000, 2, QString());
    f.dialogs().fileNames.enqueue(path);
    f.control<QPushButton>("Button3")->click();
    QCOMPARE(goods->rowCells(1, 10), row);
    QCOMPARE(goods->cell(10000, 2), QString("Последний"));
    QCOMPARE(f.control<QLabel>("Label5")->text(), QDir::toNativeSeparators(path));
    QCOMPARE(f.control<QProgressBar>("ProgressBar1")->value(), 0);
    QVERIFY(f.dialogs().messages().isEmpty());
}

void TableFilesTest::serviceTabOfNeonLeavesItsEleventhFieldAlone() {
    WindowFixture f;
    auto* models = f.control<QComboBox>("ComboBox4");
    models->setCurrentIndex(2);
    emit models->activated(2);
    f.control<QTabWidget>("PageControl1")->setCurrentIndex(7);
    for (int n = 25; n <= 37; ++n)
        if (auto* edit = f.control<QLineEdit>(qPrintable(QString("Edit%1").arg(n))))
            edit->setText(QString::number(n));
    const QString path = f.directory() + "/service.slu";
    f.dialogs().fileNames.enqueue(path);
    f.control<QPushButton>("Button2")->click();
    QCOMPARE(readFile(path), QByteArray("25;26;27;28;29;30;31;32;33;34;;\r\n"));

    f.control<QLineEdit>("Edit25")->setText("x");
    f.control<QLineEdit>("Edit36")->setText("kept");
    f.dialogs().fileNames.enqueue(path);
    f.control<QPushButton>("Button3")->click();
    QCOMPARE(f.control<QLineEdit>("Edit25")->text(), QString("25"));
    QCOMPARE(f.control<QLineEdit>("Edit36")->text(), QString("kept"));
    QCOMPARE(f.dialogs().shown.at(1).request.title, QString("Открыть файл служебной информации"));
}

void TableFilesTest::cancelledDialogsChangeNothing() {
    WindowFixture f;
    f.window().grid(TableKind::Departments)->setCell(1, 1, "Відділ 1");
    f.control<QTabWidget>("PageControl1")->setCurrentIndex(3);
    f.control<QPushButton>("Button3")->click();
    f.control<QPushButton>("Button2")->click();
    QCOMPARE(f.dialogs().shown.size(), 2);
    QCOMPARE(f.window().grid(TableKind::Departments)->cell(1, 1), QString("Відділ 1"));
    QCOMPARE(QDir(f.directory()).entryList(QDir::Files), QStringList{"Tabulon.ini"});

    f.control<QTabWidget>("PageControl1")->setCurrentIndex(9);
    f.control<QPushButton>("Button3")->click();
    f.control<QPushButton>("Button2")->click();
    QCOMPARE(f.dialogs().shown.size(), 2);
}

QTEST_MAIN(TableFilesTest)
#include "table_files_test.moc"
