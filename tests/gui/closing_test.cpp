#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <utility>

#include "catalogue/grid_model.h"
#include "support/connected_window.h"

using tabulon::MessageAnswer;
using tabulon::MessageButtons;
using tabulon::MessageIcon;
using tabulon::TableKind;
using tabulon::testing::ConnectedWindow;
using tabulon::testing::WindowFixture;

namespace {

// A cell changed as the grid's editor changes it when the user types.
void typeIntoGrid(WindowFixture& f, TableKind kind, int row, int column, const QString& text) {
    tabulon::GridModel& model = *f.window().grid(kind);
    model.setData(model.index(row - 1, column - 1), text);
}

}  // namespace

class ClosingTest : public QObject {
    Q_OBJECT
private slots:
    void closingAsksOnlyWhenEditsWouldBeLost();
    void closingDuringAnExchangeAsksFirst();
    void aRunThatEndsWhileTheQuestionIsOpenLeavesNothingToAskAbout();
    void aWholeTableWrittenOrReadIsNoLongerEdited();
};

void ClosingTest::closingAsksOnlyWhenEditsWouldBeLost() {
    const QString goodsQuestion = "Таблица «Товары» изменена. Закрыть без сохранения?";
    struct Case {
        const char* name;
        std::function<void(WindowFixture&)> before;
        QList<MessageAnswer> answers;  // to the close questions
        QStringList asked;
        bool closed;
        bool modified;  // before closing
    };
    const Case cases[] = {
        {"nothing edited", [](WindowFixture&) {}, {}, {}, true, false},
        {"the program's own writes: a model picked",
         [](WindowFixture& f) {
             f.control<QComboBox>("ComboBox4")->setCurrentIndex(2);
             f.control<QComboBox>("ComboBox4")->activated(2);
         },
         {},
         {},
         true,
         false},
        {"a cell typed again as it was",
         [](WindowFixture& f) { typeIntoGrid(f, TableKind::Goods, 3, 2, QString()); },
         {},
         {},
         true,
         false},
        {"a goods cell typed, kept open",
         [](WindowFixture& f) { typeIntoGrid(f, TableKind::Goods, 3, 2, "Хліб"); },
         {MessageAnswer::No},
         {goodsQuestion},
         false,
         true},
        {"a goods cell typed, closed anyway",
         [](WindowFixture& f) { typeIntoGrid(f, TableKind::Goods, 3, 2, "Хліб"); },
         {MessageAnswer::Yes},
         {goodsQuestion},
         true,
         true},
        {"three tables: grids, a parameter field; an empty grid emptied is no edit",
         [](WindowFixture& f) {
             typeIntoGrid(f, TableKind::Departments, 1, 1, "7");
             typeIntoGrid(f, TableKind::Goods, 1, 2, "Хліб");
             f.control<QTabWidget>("PageControl1")->setCurrentIndex(5);
             QTest::keyClicks(f.control<QLineEdit>("Edit5"), "2");
             f.control<QTabWidget>("PageControl1")->setCurrentIndex(4);
             f.control<QPushButton>("Button16")->click();
         },
         {MessageAnswer::No},
         {"Таблицы «Товары», «Отделы», «Параметры кассы» изменены. "
          "Закрыть без сохранения?"},
         false,
         true},
        {"edited, then saved",
         [](WindowFixture& f) {
             typeIntoGrid(f, TableKind::Goods, 3, 2, "Хліб");
             f.dialogs().fileNames.enqueue(f.directory() + "/goods.art");
             f.control<QPushButton>("Button2")->click();
         },
         {},
         {},
         true,
         false},
        {"edited, then a file opened into it",
         [](WindowFixture& f) {
             f.dialogs().fileNames.enqueue(f.directory() + "/saved.art");
             f.control<QPushButton>("Button2")->click();
             typeIntoGrid(f, TableKind::Goods, 3, 2, "Хліб");
             f.dialogs().fileNames.enqueue(f.directory() + "/saved.art");
             f.control<QPushButton>("Button3")->click();
         },
         {},
         {},
         true,
         false},
        {"saving one table leaves the other edited",
         [](WindowFixture& f) {
             typeIntoGrid(f, TableKind::Operators, 1, 1, "5");
             typeIntoGrid(f, TableKind::Goods, 3, 2, "Хліб");
             f.dialogs().fileNames.enqueue(f.directory() + "/goods.art");
             f.control<QPushButton>("Button2")->click();
         },
         {MessageAnswer::No},
         {"Таблица «Операторы» изменена. Закрыть без сохранения?"},
         false,
         true},
    };
    for (const Case& c : cases) {
        WindowFixture f;
        c.before(f);
        QCOMPARE(f.window().isWindowModified(), c.modified);
        const qsizetype shownBefore = f.dialogs().messages().size();
        for (MessageAnswer answer : c.answers) f.dialogs().answers.enqueue(answer);
        f.control<QPushButton>("Button1")->click();
        const auto boxes = f.dialogs().messages().mid(shownBefore);
        QStringList asked;
        for (const auto& box : boxes) {
            asked << box.text;
            QCOMPARE(box.caption, QString("Tabulon"));
            QCOMPARE(box.buttons, MessageButtons::YesNo);
            QCOMPARE(box.icon, MessageIcon::Warning);
            QCOMPARE(box.defaultAnswer, std::optional(MessageAnswer::No));
        }
        QVERIFY2(asked == c.asked, qPrintable(QString(c.name) + ": " + asked.join(" | ")));
        QVERIFY2(f.window().isVisible() != c.closed, c.name);
    }
}

// The register holds the job's record until the window has gone: closing
// asks first; a report being read when the user closes anyway is dropped and
// the earlier file kept.
void ClosingTest::closingDuringAnExchangeAsksFirst() {
    const struct {
        int tab;
        const char* button;
        QByteArray heldAt;
    } cases[] = {{3, "Button4", "W10;1;"}, {9, "Button19", "R65;3;"}};
    for (const auto& c : cases) {
        QTemporaryDir reports;
        QFile art(reports.filePath("RepArt.dat"));
        QVERIFY(art.open(QIODevice::WriteOnly) && art.write("earlier") == 7);
        art.close();
        ConnectedWindow w;
        QVERIFY(w.connected);
        const std::atomic<bool>& cancelled = w.window().session().control().cancelled;
        QSemaphore held;
        w.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (command.startsWith(c.heldAt)) {
                held.release();
                for (int wait = 0; !cancelled && wait < 2000; ++wait) QThread::msleep(10);
            }
            return std::nullopt;
        });
        w.showTab(c.tab);
        w.control<QLineEdit>("DirectoryEdit1")->setText(reports.path() + "/");
        w.control<QPushButton>("Button17")->click();
        w.control<QPushButton>(c.button)->click();
        QVERIFY(QTest::qWaitFor([&] { return held.available() > 0; }, 20000));
        const qsizetype shownBefore = w.dialogs().messages().size();

        // Kept open: the job goes on.
        w.dialogs().answers.enqueue(MessageAnswer::No);
        QVERIFY(!w.window().close());
        QCOMPARE(w.dialogs().messages().mid(shownBefore).size(), 1);
        QCOMPARE(w.dialogs().messages().last().text,
                 QString("Идёт обмен с ЭККА. Прервать и закрыть?"));
        QVERIFY(w.window().isVisible());
        QVERIFY(w.window().isLinkBusy());

        // Closed: once asked, nothing more.
        w.dialogs().answers.enqueue(MessageAnswer::Yes);
        QVERIFY(w.window().close());
        QCOMPARE(w.dialogs().messages().mid(shownBefore).size(), 2);
        QVERIFY(!w.window().isVisible());
        w.fixture.reset();
        QVERIFY(art.open(QIODevice::ReadOnly));
        QCOMPARE(art.readAll(), QByteArray("earlier"));
    }
}

namespace {

// Message boxes that, like a real one, let the window go on with its events
// while the first question of closing is on the screen.
struct BusyWhileAsking : tabulon::ScriptedDialogs {
    std::function<void()> whileAsked;
    MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                          MessageButtons buttons,
                          std::optional<MessageAnswer> defaultAnswer = std::nullopt) override {
        if (buttons == MessageButtons::YesNo && whileAsked) std::exchange(whileAsked, {})();
        return ScriptedDialogs::message(text, caption, icon, buttons, defaultAnswer);
    }
};

}  // namespace

// The departments are edited and being written when the window is closed; the
// write ends while the question about it is open, and with it the edits are
// in the register: the answer Yes closes without asking about them.
void ClosingTest::aRunThatEndsWhileTheQuestionIsOpenLeavesNothingToAskAbout() {
    QTemporaryDir dir;
    const QString previousDirectory = QDir::currentPath();
    QDir::setCurrent(dir.path());
    auto simulated = tabulon::sim::makeSimulatedLink(tabulon::sim::Model::DatecsMp550T);
    BusyWhileAsking dialogs;
    {
        tabulon::app::MainWindow window(&dialogs, std::move(simulated.link));
        window.show();
        QVERIFY(QTest::qWaitFor([&] { return window.isInitialised(); }, 5000));
        const auto idle = [&] {
            const bool done = QTest::qWaitFor([&] { return !window.isLinkBusy(); }, 20000);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            return done;
        };
        window.findChild<QPushButton*>("Button5")->click();
        QVERIFY(idle());
        QVERIFY(window.Connected);

        QSemaphore go;
        QSemaphore held;
        simulated.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (command.startsWith("W10;1;")) {
                held.release();
                go.acquire();
            }
            return std::nullopt;
        });
        window.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(3);
        tabulon::GridModel& model = *window.grid(TableKind::Departments);
        model.setData(model.index(0, 0), "7");
        window.findChild<QPushButton*>("Button4")->click();
        QVERIFY(QTest::qWaitFor([&] { return held.available() > 0; }, 20000));
        QVERIFY(window.isWindowModified());

        dialogs.whileAsked = [&] {
            go.release(1000);
            QVERIFY(idle());
        };
        const qsizetype shownBefore = dialogs.messages().size();
        QVERIFY(window.close());
        QStringList asked;
        for (const auto& box : dialogs.messages().mid(shownBefore))
            if (box.buttons == MessageButtons::YesNo) asked << box.text;
        QVERIFY2(asked == QStringList{"Идёт обмен с ЭККА. Прервать и закрыть?"},
                 qPrintable(asked.join(" | ")));
        QVERIFY(!window.isWindowModified());
    }
    QDir::setCurrent(previousDirectory);
}

// A whole table written or read is what the register holds: nothing to lose;
// a part of it through the coding interval leaves the rest edited.
void ClosingTest::aWholeTableWrittenOrReadIsNoLongerEdited() {
    struct Case {
        const char* name;
        int tab;
        const char* button;
        bool interval;
        bool modified;
        // Typed into the table while the register holds the first record.
        bool typedMeanwhile = false;
    };
    const Case cases[] = {
        {"departments written", 3, "Button4", false, false},
        {"departments read", 3, "Button9", false, false},
        {"departments cleared in the register", 3, "Button8", false, true},
        {"goods written through the interval", 0, "Button4", true, true},
        {"a parameter set written", 5, "Button4", false, false},
        {"a parameter set read", 5, "Button9", false, false},
        {"a parameter set written while a field was typed into", 5, "Button4", false, true, true},
    };
    for (const Case& c : cases) {
        ConnectedWindow w;
        QVERIFY(w.connected);
        w.showTab(c.tab);
        if (c.tab == 5) {
            QTest::keyClicks(w.control<QLineEdit>("Edit5"), "1");
        } else {
            tabulon::GridModel& model = *w.window().grid(TableKind(c.tab));
            model.setData(model.index(0, 0), "7");
        }
        if (c.interval) {
            w.control<QCheckBox>("CheckBox1")->setChecked(true);
            // Rows 2 and 3: the edited row 1 is left out.
            w.control<QLineEdit>("Edit2")->setText("2");
            w.control<QLineEdit>("Edit3")->setText("3");
            w.control<QLineEdit>("Edit4")->setText("2");
        }
        QVERIFY2(w.window().isWindowModified(), c.name);
        QSemaphore go;
        QSemaphore held;
        std::atomic<bool> holding = c.typedMeanwhile;
        w.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (command.startsWith("W") && holding.exchange(false)) {
                held.release();
                go.acquire();
            }
            return std::nullopt;
        });
        w.control<QPushButton>(c.button)->click();
        if (c.typedMeanwhile) {
            QVERIFY2(QTest::qWaitFor([&] { return held.available() > 0; }, 20000), c.name);
            const QString before = w.control<QLineEdit>("Edit5")->text();
            QTest::keyClicks(w.control<QLineEdit>("Edit5"), "2");
            go.release();
            QVERIFY2(w.control<QLineEdit>("Edit5")->text() != before, c.name);
        }
        QVERIFY2(w.fixture->waitForLink(), c.name);
        QVERIFY2(w.window().isWindowModified() == c.modified, c.name);
    }
}

QTEST_MAIN(ClosingTest)
#include "closing_test.moc"
