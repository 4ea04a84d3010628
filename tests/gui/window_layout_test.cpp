#include "app/window_layout.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/about_box.h"
#include "support/window_fixture.h"

using tabulon::app::mainWindowLayout;
using tabulon::app::MainWindowLayout;
using tabulon::testing::WindowFixture;

namespace {

using Widths = QVector<int>;

// The widths of a grid's columns as shown, the label column first.
Widths shownWidths(QTableView* view) {
    Widths widths{view->verticalHeader()->width()};
    for (int c = 0; c < view->model()->columnCount(); ++c) widths << view->columnWidth(c);
    return widths;
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void smallSizesAreRaisedToTheMinimum();
    void columnsAndRowsFollowTheOuterSize();
    void theWindowShowsTheLayoutOfItsDesignedSize();
    void neitherWindowOffersCloseMinimiseOrMaximise();
};

void WindowLayoutTest::smallSizesAreRaisedToTheMinimum() {
    const MainWindowLayout small = mainWindowLayout(500, 300);
    QCOMPARE(small.outer, QSize(601, 380));
    QCOMPARE(small.goodsGridWidth, 577);
    QCOMPARE(small.columnWidths[0], (Widths{29, 45, 134, 50, 54, 39, 39, 39, 26, 23, 69}));
    QCOMPARE(small.thirdButtonRowTop, 380 - 56);
    // Exactly at the minimum nothing is raised.
    QCOMPARE(mainWindowLayout(601, 380).outer, QSize(601, 380));
    QCOMPARE(mainWindowLayout(602, 381).outer, QSize(602, 381));
}

void WindowLayoutTest::columnsAndRowsFollowTheOuterSize() {
    const MainWindowLayout wide = mainWindowLayout(1000, 700);
    QCOMPARE(wide.outer, QSize(1000, 700));
    // 1000 x 577 / 601 = 960.06: the remainder is dropped.
    QCOMPARE(wide.goodsGridWidth, 960);
    QCOMPARE(wide.columnWidths[0], (Widths{49, 76, 223, 84, 91, 66, 66, 66, 44, 39, 115}));
    QCOMPARE(wide.columnWidths[1], (Widths{99, 165, 446, 165}));
    QCOMPARE(wide.columnWidths[2], (Widths{66, 142, 177, 321, 107, 107}));
    QCOMPARE(wide.columnWidths[3], (Widths{66, 827}));
    QCOMPARE(wide.columnWidths[4], (Widths{148, 744}));
    QCOMPARE(wide.progressTop, 528);
    QCOMPARE(wide.counterTop, 560);
    QCOMPARE(wide.firstButtonRowTop, 562);
    QCOMPARE(wide.secondButtonRowTop, 592);
    QCOMPARE(wide.thirdButtonRowTop, 644);
    // The connection group ends 6 pixels above the client area's bottom.
    QCOMPARE(wide.connectionGroupTop + 161, 700 - 25 - 6);
}

void WindowLayoutTest::theWindowShowsTheLayoutOfItsDesignedSize() {
    WindowFixture f;
    QCOMPARE(f.window().size(), QSize(769, 511));
    auto* goods = f.control<QTableView>("StringGrid1");
    QCOMPARE(goods->width(), 744);
    QCOMPARE(shownWidths(goods), (Widths{38, 59, 173, 65, 70, 51, 51, 51, 34, 30, 89}));
    QCOMPARE(shownWidths(f.control<QTableView>("StringGrid2")), (Widths{76, 128, 346, 128}));
    QCOMPARE(shownWidths(f.control<QTableView>("StringGrid3")),
             (Widths{51, 110, 137, 248, 83, 83}));
    QCOMPARE(shownWidths(f.control<QTableView>("StringGrid4")), (Widths{51, 641}));
    QCOMPARE(shownWidths(f.control<QTableView>("StringGrid5")), (Widths{115, 577}));

    QCOMPARE(f.control<QGroupBox>("GroupBox1")->geometry(), QRect(8, 344, 273, 161));
    QCOMPARE(f.control<QProgressBar>("ProgressBar1")->geometry(), QRect(288, 364, 377, 16));
    QCOMPARE(f.control<QLineEdit>("Edit1")->geometry(), QRect(672, 396, 89, 21));
    const struct {
        const char* name;
        QRect place;
    } buttons[] = {
        {"Button6", {432, 398, 75, 25}},   {"Button9", {512, 398, 137, 25}},
        {"Button14", {288, 398, 137, 25}}, {"Button4", {512, 428, 137, 25}},
        {"Button8", {656, 428, 75, 25}},   {"Button3", {432, 428, 75, 25}},
        {"Button15", {288, 428, 137, 25}}, {"Button1", {680, 480, 75, 25}},
        {"Button2", {432, 480, 75, 25}},   {"Button16", {288, 480, 137, 25}},
        {"Button10", {600, 480, 75, 25}},
    };
    for (const auto& b : buttons) {
        auto* button = f.control<QPushButton>(b.name);
        QVERIFY2(button->geometry() == b.place, b.name);
        QVERIFY2(f.window().rect().contains(button->geometry()), b.name);
    }
}

void WindowLayoutTest::neitherWindowOffersCloseMinimiseOrMaximise() {
    WindowFixture f;
    const Qt::WindowFlags buttons = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                    Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint;
    const Qt::WindowFlags main = f.window().windowFlags();
    // A plain window keeps its task bar entry; a tool window would lose it.
    QCOMPARE(main & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(main & Qt::CustomizeWindowHint);
    QVERIFY(main & Qt::WindowTitleHint);
    QCOMPARE(main & buttons, Qt::WindowFlags());

    auto* about = f.window().findChild<tabulon::app::AboutBox*>();
    QVERIFY(about);
    const Qt::WindowFlags box = about->windowFlags();
    QCOMPARE(box & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(box & Qt::CustomizeWindowHint);
    QCOMPARE(box & buttons, Qt::WindowFlags());
    QCOMPARE(about->minimumSize(), QSize(343, 163));
    QCOMPARE(about->maximumSize(), QSize(343, 163));
}

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
