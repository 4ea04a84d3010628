#include "sdcard/sales_window.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "catalogue/grid_model.h"
#include "sdcard_test_support.h"
#include "support/scripted_dialogs.h"

using tabulon::GridModel;
using tabulon::ScriptedDialogs;
using tabulon::sdcard::SalesWindow;
using namespace tabulon::sdcard::testing;

namespace {

// A sales window shown on the offscreen screen, in a scratch working
// directory, with scripted dialogs.
class Fixture {
public:
    Fixture() : previous_(QDir::currentPath()), window_(dialogs_) {
        QDir::setCurrent(dir_.path());
        window_.show();
    }
    ~Fixture() { QDir::setCurrent(previous_); }

    template <class T>
    T* control(const char* name) {
        return window_.findChild<T*>(QString::fromLatin1(name));
    }
    QTableView* view() { return control<QTableView>("StringGrid1"); }
    // Widths of grid columns 0 to 16 as the view has them.
    QList<int> columnWidths() {
        QList<int> widths{view()->verticalHeader()->width()};
        for (int c = 0; c < 16; ++c) widths << view()->columnWidth(c);
        return widths;
    }
    // The frame the window manager adds around the window.
    QSize frame() const { return window_.frameGeometry().size() - window_.size(); }
    // Resizes as the user would, to an outer size.
    void resizeOuter(int width, int height) {
        window_.resize(width - frame().width(), height - frame().height());
    }
    int outerWidth() const { return window_.frameGeometry().width(); }
    // Saves a picture of the window when TABULON_SCREENSHOTS names a folder.
    void screenshot(const QString& name) {
        const QString folder = qEnvironmentVariable("TABULON_SCREENSHOTS");
        if (!folder.isEmpty()) window_.grab().save(QDir(folder).filePath(name + ".png"));
    }
    int outerHeight() const { return window_.frameGeometry().height(); }

    QTemporaryDir dir_;
    QString previous_;
    ScriptedDialogs dialogs_;
    SalesWindow window_;
};

}  // namespace

class SalesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensAsDesigned();
    void reopeningKeepsTheRowsAndWritesTheFixedCellsAgain();
    void resizingFollowsTheWindowRule();
    void loadsTheCardAndSavesItAsOneFile();
    void folderPickerFillsTheDirectoryField();
};

void SalesWindowTest::opensAsDesigned() {
    Fixture f;
    QCOMPARE(f.window_.windowTitle(), QString("База продаж SD-карты"));
    QVERIFY(f.window_.isModal());
    QCOMPARE(f.window_.size(), QSize(916, 679));

    const struct {
        const char* name;
        QRect geometry;
    } places[] = {
        {"StringGrid1", {8, 4, 897, 605}},       {"ProgressBar1", {8, 616, 897, 17}},
        {"DirectoryEdit1", {280, 642, 177, 21}}, {"Button1", {464, 640, 177, 25}},
        {"Button3", {648, 640, 177, 25}},        {"Button2", {832, 640, 75, 25}},
    };
    for (const auto& place : places)
        QCOMPARE(f.control<QWidget>(place.name)->geometry(), place.geometry);
    QCOMPARE(f.control<QLabel>("Label1")->pos(), QPoint(88, 647));
    QCOMPARE(f.control<QLabel>("Label1")->text(), QString("Выбрать местонахождение файлов:"));
    QCOMPARE(f.control<QPushButton>("Button1")->text(), QString("Загрузить продажи с SD карты"));
    QCOMPARE(f.control<QPushButton>("Button3")->text(), QString("Сохранить продажи в файл"));
    QCOMPARE(f.control<QPushButton>("Button2")->text(), QString("Закрыть"));
    auto* progress = f.control<QProgressBar>("ProgressBar1");
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);
    QCOMPARE(progress->value(), 0);

#ifndef Q_OS_WIN
    // Columns as wide as their headers in the Linux font engine's metrics; on
    // Windows the fit test sees the headers whole in that engine's.
    QCOMPARE(f.columnWidths(),
             (QList<int>{40, 40, 75, 51, 78, 44, 49, 42, 40, 31, 74, 40, 69, 60, 66, 56, 51}));
#endif
    QTableView* view = f.view();
    QCOMPARE(view->model()->columnCount(), 16);
    QCOMPARE(view->model()->rowCount(), 10000);
    QCOMPARE(view->verticalHeader()->sectionSize(9999), 16);
    QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(), QString("Код"));
    QCOMPARE(view->model()->headerData(15, Qt::Horizontal).toString(), QString("Скидки"));
    QCOMPARE(view->model()->headerData(9999, Qt::Vertical).toString(), QString("10000"));
    QCOMPARE(f.window_.grid().cell(0, 0), QString("Ряд"));
    QVERIFY(view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable);
    QCOMPARE(f.control<QLineEdit>("DirectoryEdit1")->text(),
             QDir::toNativeSeparators(QDir::currentPath()));
}

void SalesWindowTest::reopeningKeepsTheRowsAndWritesTheFixedCellsAgain() {
    Fixture f;
    GridModel& grid = f.window_.grid();
    QVERIFY(grid.setData(grid.index(4, 1), "typed"));
    grid.setCell(10000, 16, "loaded");
    grid.setCell(0, 3, "changed");
    grid.setCell(7, 0, "changed");
    f.control<QPushButton>("Button2")->click();
    QVERIFY(!f.window_.isVisible());

    f.control<QLineEdit>("DirectoryEdit1")->setText("elsewhere");
    QDir(f.dir_.path()).mkdir("later");
    QDir::setCurrent(f.dir_.filePath("later"));
    f.window_.show();
    QCOMPARE(grid.cell(5, 2), QString("typed"));
    QCOMPARE(grid.cell(10000, 16), QString("loaded"));
    QCOMPARE(grid.cell(0, 3), QString("Цена"));
    QCOMPARE(grid.cell(7, 0), QString("7"));
    QCOMPARE(f.control<QLineEdit>("DirectoryEdit1")->text(),
             QDir::toNativeSeparators(f.dir_.filePath("later")));
}

void SalesWindowTest::resizingFollowsTheWindowRule() {
    Fixture f;
    QTableView* view = f.view();
    f.resizeOuter(800, 706);
    QCOMPARE(f.outerWidth(), 931);
    QCOMPARE(view->width(), 931 * 577 / 601);

    f.resizeOuter(925, 706);
    QCOMPARE(f.outerWidth(), 925);
    QCOMPARE(view->width(), 925 * 577 / 601);

    f.resizeOuter(1000, 300);
    QCOMPARE(f.outerWidth(), 1000);
    QCOMPARE(f.outerHeight(), 380);
    QCOMPARE(view->geometry(), QRect(8, 4, 960, 605));
    f.screenshot("sales_window_1000_wide");
#ifndef Q_OS_WIN
    QCOMPARE(f.columnWidths(),
             (QList<int>{32, 49, 144, 54, 78, 44, 49, 42, 28, 31, 74, 27, 69, 60, 66, 60, 58}));
#endif
    // Nothing along the bottom moves.
    QCOMPARE(f.control<QWidget>("ProgressBar1")->geometry(), QRect(8, 616, 897, 17));
    QCOMPARE(f.control<QWidget>("Button2")->geometry(), QRect(832, 640, 75, 25));
}

void SalesWindowTest::loadsTheCardAndSavesItAsOneFile() {
    Fixture f;
    QDir(f.dir_.path()).mkdir("card");
    writeFile(f.dir_.filePath("card/upload.art"),
              uploadLines(10000, cp1251("1;1;Хлеб–белый;2.50;1.000;1;2;1;0;0;4820;")));
    writeFile(f.dir_.filePath("card/sales.art"), salesLines(10000));
    f.control<QLineEdit>("DirectoryEdit1")->setText(f.dir_.filePath("card"));
    f.control<QPushButton>("Button1")->click();
    QVERIFY(f.dialogs_.shown.isEmpty());
    QCOMPARE(f.window_.grid().cell(1, 2), QString("Хлеб белый"));
    f.screenshot("sales_window_loaded");
    auto* progress = f.control<QProgressBar>("ProgressBar1");
    QCOMPARE(progress->maximum(), 10000);
    QCOMPARE(progress->value(), 0);

    const QString saved = f.dir_.filePath("saved.art");
    f.dialogs_.fileNames.enqueue(saved);
    f.control<QPushButton>("Button3")->click();
    QCOMPARE(f.dialogs_.shown.size(), 1);
    const QByteArray bytes = readFile(saved);
    QVERIFY(
        bytes.startsWith(cp1251("1;Хлеб белый;2.50;1.000;1;2;1;0;0;4820;1;1;1.00;0;0.00;0.50;\r\n"
                                "2;G2;1.00;2.000;1;2;1;0;0;482;1;2;2.00;0;0.00;0.50;\r\n")));
    QCOMPARE(bytes.count("\r\n"), 10000);
    QCOMPARE(progress->value(), 0);
}

void SalesWindowTest::folderPickerFillsTheDirectoryField() {
    Fixture f;
    auto* picker = f.window_.findChild<QAction*>("DirectoryEdit1Picker");
    QVERIFY(picker);
    f.dialogs_.fileNames.enqueue(std::nullopt);
    picker->trigger();
    QCOMPARE(f.control<QLineEdit>("DirectoryEdit1")->text(),
             QDir::toNativeSeparators(QDir::currentPath()));
    f.dialogs_.fileNames.enqueue(QString("/media/card"));
    picker->trigger();
    QCOMPARE(f.control<QLineEdit>("DirectoryEdit1")->text(),
             QDir::toNativeSeparators("/media/card"));
    QCOMPARE(f.dialogs_.shown.size(), 2);
    const auto shown = f.dialogs_.shown[1];
    QCOMPARE(shown.kind, ScriptedDialogs::Kind::Directory);
    QCOMPARE(shown.request.directory, QDir::toNativeSeparators(QDir::currentPath()));
}

QTEST_MAIN(SalesWindowTest)
#include "sales_window_test.moc"
