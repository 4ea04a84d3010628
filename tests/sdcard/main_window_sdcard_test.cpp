// The two SD-card buttons of the main window.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/window_font.h"
#include "catalogue/grid_model.h"
#include "sdcard/sales_window.h"
#include "sdcard_test_support.h"
#include "support/window_fixture.h"

using tabulon::GridModel;
using tabulon::ScriptedDialogs;
using tabulon::TableKind;
using tabulon::sdcard::SalesWindow;
using tabulon::testing::WindowFixture;
using namespace tabulon::sdcard::testing;

class MainWindowSdCardTest : public QObject {
    Q_OBJECT
private slots:
    // As the program starts: the sales window's grid headers take the
    // application's font.
    void initTestCase() { QApplication::setFont(tabulon::app::windowFont()); }
    void goodsFileLeavesTheGridAndLaterSavesAlone();
    void goodsFileHoldsTenThousandLinesForEveryModel();
    void salesWindowIsOneWindowOpenedModally();
};

void MainWindowSdCardTest::goodsFileLeavesTheGridAndLaterSavesAlone() {
    WindowFixture f;
    GridModel* goods = f.window().grid(TableKind::Goods);
    goods->setCell(1, 1, "1");
    goods->setCell(1, 2, "Хлеб белый");
    f.dialogs().fileNames.enqueue(f.path("goodbase.art"));
    f.control<QPushButton>("Button15")->click();

    const auto dialog = f.dialogs().shown.constFirst();
    QCOMPARE(dialog.kind, ScriptedDialogs::Kind::SaveFile);
    QCOMPARE(dialog.request.title, QString("Сохранить файл артикулов на SD-диск"));
    QCOMPARE(dialog.request.proposedName, QString("goodbase.art"));
    QCOMPARE(dialog.request.directory, QDir::currentPath());
    QCOMPARE(f.dialogs().messages().size(), 0);
    QVERIFY(readFile(f.path("goodbase.art"))
                .startsWith(cp1251("1;Хлеб") + "\x96" + cp1251("белый;;;;;;;;;\r\n;;;")));
    QCOMPARE(goods->cell(1, 2), QString("Хлеб белый"));
    QCOMPARE(f.control<QProgressBar>("ProgressBar1")->value(), 0);

    // What goes to a table file afterwards keeps the space.
    f.dialogs().fileNames.enqueue(f.path("goods.art"));
    f.control<QPushButton>("Button2")->click();
    QVERIFY(readFile(f.path("goods.art")).startsWith(cp1251("1;Хлеб белый;")));
}

void MainWindowSdCardTest::goodsFileHoldsTenThousandLinesForEveryModel() {
    WindowFixture f;
    auto* models = f.control<QComboBox>("ComboBox4");
    models->setCurrentIndex(1);
    emit models->activated(1);
    GridModel* goods = f.window().grid(TableKind::Goods);
    QCOMPARE(goods->rowCount(), 5000);
    goods->setCell(10000, 1, "10000");
    f.dialogs().fileNames.enqueue(f.path("goodbase.art"));
    f.control<QPushButton>("Button15")->click();
    const QByteArray bytes = readFile(f.path("goodbase.art"));
    QCOMPARE(bytes.count("\r\n"), 10000);
    QVERIFY(bytes.endsWith("\r\n10000;;;;;;;;;;\r\n"));
}

void MainWindowSdCardTest::salesWindowIsOneWindowOpenedModally() {
    WindowFixture f;
    // Made with the program, shown only by the button.
    auto* sales = f.window().findChild<SalesWindow*>();
    QVERIFY(sales);
    QVERIFY(!sales->isVisible());

    int openings = 0;
    f.dialogs().onModal = [&](QDialog& dialog) {
        ++openings;
        if (&dialog != sales || !sales->isVisible()) return 0;
        if (openings == 1) {
            sales->grid().setCell(3, 2, "typed");
            f.screenshot("sales_window_in_program", sales);
        }
        return 1;
    };
    f.control<QPushButton>("Button14")->click();
    QCOMPARE(f.dialogs().shown.constLast().kind, ScriptedDialogs::Kind::Modal);
    QCOMPARE(f.dialogs().shown.constLast().windowTitle, QString("База продаж SD-карты"));
    f.control<QPushButton>("Button14")->click();
    QCOMPARE(openings, 2);
    QCOMPARE(sales->grid().cell(3, 2), QString("typed"));
    QCOMPARE(sales->grid().cell(0, 1), QString("Код"));
    // The window's own controls do not stand in for the main window's.
    QCOMPARE(f.control<QPushButton>("Button1")->text(), QString("Закрыть"));
    QCOMPARE(f.control<QPushButton>("Button1")->window(), &f.window());
}

QTEST_MAIN(MainWindowSdCardTest)
#include "main_window_sdcard_test.moc"
