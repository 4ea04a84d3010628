// The two SD-card buttons of the main window.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/window_font.h"
#include "catalogue/grid_model.h"
#include "sdcard/sales_window.h"
#include "sdcard_test_support.h"
#include "support/scripted_dialogs.h"

using tabulon::GridModel;
using tabulon::ScriptedDialogs;
using tabulon::TableKind;
using tabulon::sdcard::SalesWindow;
using namespace tabulon::sdcard::testing;

namespace {

// The main window on the offscreen screen, initialised in a scratch working
// directory, with scripted dialogs.
class Fixture {
public:
    Fixture() : previous_(QDir::currentPath()) {
        QDir::setCurrent(dir_.path());
        // As the program starts.
        QApplication::setFont(tabulon::app::windowFont());
        window_ = std::make_unique<tabulon::app::MainWindow>(&dialogs_);
        window_->show();
        if (!QTest::qWaitFor([this] { return window_->isInitialised(); }, 5000))
            qWarning("the main window did not initialise");
    }
    ~Fixture() {
        window_.reset();
        QDir::setCurrent(previous_);
    }

    template <class T>
    T* control(const char* name) {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* button) { control<QPushButton>(button)->click(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    void screenshot(QWidget& widget, const QString& name) {
        const QString folder = qEnvironmentVariable("TABULON_SCREENSHOTS");
        if (!folder.isEmpty()) widget.grab().save(QDir(folder).filePath(name + ".png"));
    }

    QTemporaryDir dir_;
    QString previous_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<tabulon::app::MainWindow> window_;
};

}  // namespace

class MainWindowSdCardTest : public QObject {
    Q_OBJECT
private slots:
    void goodsFileLeavesTheGridAndLaterSavesAlone();
    void goodsFileHoldsTenThousandLinesForEveryModel();
    void salesWindowIsOneWindowOpenedModally();
};

void MainWindowSdCardTest::goodsFileLeavesTheGridAndLaterSavesAlone() {
    Fixture f;
    GridModel* goods = f.window_->grid(TableKind::Goods);
    goods->setCell(1, 1, "1");
    goods->setCell(1, 2, "Хлеб белый");
    f.dialogs_.fileNames.enqueue(f.path("goodbase.art"));
    f.click("Button15");

    const auto dialog = f.dialogs_.shown.constFirst();
    QCOMPARE(dialog.kind, ScriptedDialogs::Kind::SaveFile);
    QCOMPARE(dialog.request.title, QString("Сохранить файл артикулов на SD-диск"));
    QCOMPARE(dialog.request.proposedName, QString("goodbase.art"));
    QCOMPARE(dialog.request.directory, QDir::currentPath());
    QCOMPARE(f.dialogs_.messages().size(), 0);
    QVERIFY(readFile(f.path("goodbase.art"))
                .startsWith(cp1251("1;Хлеб") + "\x96" + cp1251("белый;;;;;;;;;\r\n;;;")));
    QCOMPARE(goods->cell(1, 2), QString("Хлеб белый"));
    QCOMPARE(f.control<QProgressBar>("ProgressBar1")->value(), 0);

    // What goes to a table file afterwards keeps the space.
    f.dialogs_.fileNames.enqueue(f.path("goods.art"));
    f.click("Button2");
    QVERIFY(readFile(f.path("goods.art")).startsWith(cp1251("1;Хлеб белый;")));
}

void MainWindowSdCardTest::goodsFileHoldsTenThousandLinesForEveryModel() {
    Fixture f;
    auto* models = f.control<QComboBox>("ComboBox4");
    models->setCurrentIndex(1);
    emit models->activated(1);
    GridModel* goods = f.window_->grid(TableKind::Goods);
    QCOMPARE(goods->rowCount(), 5000);
    goods->setCell(10000, 1, "10000");
    f.dialogs_.fileNames.enqueue(f.path("goodbase.art"));
    f.click("Button15");
    const QByteArray bytes = readFile(f.path("goodbase.art"));
    QCOMPARE(bytes.count("\r\n"), 10000);
    QVERIFY(bytes.endsWith("\r\n10000;;;;;;;;;;\r\n"));
}

void MainWindowSdCardTest::salesWindowIsOneWindowOpenedModally() {
    Fixture f;
    // Made with the program, shown only by the button.
    auto* sales = f.window_->findChild<SalesWindow*>();
    QVERIFY(sales);
    QVERIFY(!sales->isVisible());

    int openings = 0;
    f.dialogs_.onModal = [&](QDialog& dialog) {
        ++openings;
        if (&dialog != sales || !sales->isVisible()) return 0;
        if (openings == 1) {
            sales->grid().setCell(3, 2, "typed");
            f.screenshot(*sales, "sales_window_in_program");
        }
        return 1;
    };
    f.click("Button14");
    QCOMPARE(f.dialogs_.shown.constLast().kind, ScriptedDialogs::Kind::Modal);
    QCOMPARE(f.dialogs_.shown.constLast().windowTitle, QString("База продаж SD-карты"));
    f.click("Button14");
    QCOMPARE(openings, 2);
    QCOMPARE(sales->grid().cell(3, 2), QString("typed"));
    QCOMPARE(sales->grid().cell(0, 1), QString("Код"));
    // The window's own controls do not stand in for the main window's.
    QCOMPARE(f.control<QPushButton>("Button1")->text(), QString("Закрыть"));
    QCOMPARE(f.control<QPushButton>("Button1")->window(), f.window_.get());
}

QTEST_MAIN(MainWindowSdCardTest)
#include "main_window_sdcard_test.moc"
