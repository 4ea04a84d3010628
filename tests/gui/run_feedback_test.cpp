#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSemaphore>

#include "app/transfer_error_dialog.h"
#include "catalogue/grid_catalogue.h"
#include "dialogs/dialogs.h"
#include "link/result_codes.h"
#include "reports/report_catalogue.h"
#include "support/connected_window.h"

using tabulon::MessageAnswer;
using tabulon::ScriptedDialogs;
using tabulon::testing::ConnectedWindow;
using tabulon::testing::SteppingClock;
namespace sim = tabulon::sim;
using namespace std::chrono_literals;

namespace {

// Goods rows 1..rows into records 1..rows through the coding interval.
void chooseGoodsRows(ConnectedWindow& w, int rows, int firstRecord = 1) {
    w.control<QCheckBox>("CheckBox1")->setChecked(true);
    w.control<QLineEdit>("Edit2")->setText("1");
    w.control<QLineEdit>("Edit3")->setText(QString::number(rows));
    w.control<QLineEdit>("Edit4")->setText(QString::number(firstRecord));
}

}  // namespace

class RunFeedbackTest : public QObject {
    Q_OBJECT
private slots:
    void theBarSaysHowFarAndHowLongWhileTheCursorIsBusy();
    void theErrorDialogNamesTheTableTheRecordAndTheCause();
    void theReportBarIsBareAgainHoweverTheDownloadEnds();
    void theRecordLineIsReadWholeForEveryTableAndCause();
};

// The register holds the write of one record until the test has looked at
// the bar: by then every record before it has ended, each one clock step
// after the one before.
void RunFeedbackTest::theBarSaysHowFarAndHowLongWhileTheCursorIsBusy() {
    struct Case {
        const char* name;
        std::chrono::nanoseconds step;
        int rows;
        int heldRecord;
        const char* text;
        // A record the register refuses once, and how long the error
        // dialog stays open before "Повторить": the time a person reads
        // it is no time the line took.
        int refusedRecord = 0;
        std::chrono::nanoseconds inDialog{0};
    };
    const Case cases[] = {
        {"too early for a rate", 1s, 100, 5, "4 из 100"},
        {"minutes", 1s, 100, 7, "6 из 100 · ещё ≈ 2 мин"},
        {"a slow line", 355ms, 1000, 124, "123 из 1 000 · ещё ≈ 6 мин"},
        {"hours", 10s, 1000, 3, "2 из 1 000 · ещё ≈ 2 ч 47 мин"},
        {"seconds", 2s, 20, 18, "17 из 20 · ещё ≈ 10 с"},
        {"an hour in the error dialog", 1s, 100, 20, "19 из 100 · ещё ≈ 2 мин", 10, 1h},
    };
    for (const Case& c : cases) {
        ConnectedWindow w;
        QVERIFY2(w.connected, c.name);
        const auto clock = std::make_shared<SteppingClock>(c.step);
        w.window().session().setProgressClock(clock);
        chooseGoodsRows(w, c.rows);
        QSemaphore go;
        const QByteArray held = "W0;" + QByteArray::number(c.heldRecord) + ";";
        const QByteArray refused = "W0;" + QByteArray::number(c.refusedRecord) + ";";
        // Refused, retries and all, until the dialog has been answered.
        std::atomic<int> asked = 0;
        w.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (command.startsWith(held)) go.acquire();
            if (c.refusedRecord > 0 && command.startsWith(refused) && asked == 0)
                return QByteArray("E1;");
            return std::nullopt;
        });
        w.dialogs().onModal = [&](QDialog& dialog) {
            ++asked;
            clock->advance(c.inDialog);
            dialog.findChild<QPushButton*>("Button3")->click();  // "Повторить"
            return dialog.result();
        };
        QProgressBar* bar = w.control<QProgressBar>("ProgressBar1");
        w.control<QPushButton>("Button4")->click();
        const QString expected = QString::fromUtf8(c.text);
        const bool shown = QTest::qWaitFor([&] { return bar->text() == expected; }, 20000);
        const QString seen = bar->text();
        const QString described = bar->accessibleDescription();
        const bool visible = bar->isTextVisible();
        const Qt::CursorShape during = w.window().cursor().shape();
        // "Стоп" ends the run once the held record is done.
        w.control<QPushButton>("Button6")->click();
        go.release();
        QVERIFY(w.fixture->waitForLink());
        QVERIFY2(shown, qPrintable(QStringLiteral("%1: %2").arg(c.name, seen)));
        QVERIFY2(visible, c.name);
        QCOMPARE(described, expected);
        QVERIFY(bar->accessibleDescription().isEmpty());
        QCOMPARE(asked.load(), c.refusedRecord > 0 ? 1 : 0);
        QCOMPARE(during, Qt::BusyCursor);
        // The five-digit counter stays beside the bar as it was.
        QCOMPARE(w.dialogs().messages().last().text, QString("Операция прервана"));
        QVERIFY2(!bar->isTextVisible(), c.name);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(w.window().cursor().shape(), Qt::ArrowCursor);
    }
}

void RunFeedbackTest::theErrorDialogNamesTheTableTheRecordAndTheCause() {
    struct Case {
        const char* name;
        int tab;
        const char* button;
        int firstRecord;  // goods only: where the one row goes
        std::function<void(sim::Faults&)> fault;
        const char* line;
    };
    const Case cases[] = {
        {"silent register", 3, "Button4", 0,
         [](sim::Faults& f) { f.silent = sim::Fault::always(); },
         "Отделы, запись 1: нет ответа за 300 мс"},
        {"\"E\" replies", 0, "Button4", 4321,
         [](sim::Faults& f) { f.errorReplies = sim::Fault::always(); },
         "Товары, запись 4 321: ЭККА отвечает «E0»"},
        {"frames refused", 1, "Button9", 0,
         [](sim::Faults& f) { f.refuseFrames = sim::Fault::always(); },
         "Операторы, запись 1: ЭККА не принял команду"},
        {"check bytes", 2, "Button9", 0,
         [](sim::Faults& f) { f.wrongCheckBytes = sim::Fault::always(); },
         "Типы оплат, запись 1: контрольные байты не сходятся"},
        {"a parameter set", 5, "Button9", 0,
         [](sim::Faults& f) { f.silent = sim::Fault::always(); },
         "Параметры кассы, запись 1: нет ответа за 300 мс"},
    };
    for (const Case& c : cases) {
        ConnectedWindow w;
        QVERIFY2(w.connected, c.name);
        w.showTab(c.tab);
        if (c.firstRecord > 0) chooseGoodsRows(w, 1, c.firstRecord);
        c.fault(w.ecr->faults());
        QString lineOnScreen;
        QRect buttonPlace;
        QSize dialogSize;
        w.dialogs().onModal = [&](QDialog& dialog) {
            lineOnScreen = dialog.findChild<QLabel*>("Label2")->text();
            buttonPlace = dialog.findChild<QPushButton*>("Button2")->geometry();
            dialogSize = dialog.size();
            dialog.findChild<QPushButton*>("Button2")->click();  // "Завершить операцию"
            return dialog.result();
        };
        QVERIFY2(w.press(c.button), c.name);
        const auto failures = [&] {
            QList<ScriptedDialogs::Shown> shown;
            for (const auto& s : w.dialogs().shown)
                if (!s.failure.table.isEmpty()) shown << s;
            return shown;
        }();
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0].windowTitle, QString("Ошибка чтения/записи"));
        QCOMPARE(tabulon::recordFailureLine(failures[0].failure), QString::fromUtf8(c.line));
        QCOMPARE(lineOnScreen, QString::fromUtf8(c.line));
        // The dialog is as wide as its italic line and grew by the record's
        // line; its tick box under the buttons makes it 20 pixels higher.
        QCOMPARE(dialogSize, QSize(425, 150));
        QCOMPARE(buttonPlace, QRect(270, 92, 139, 25));
    }
}

// The departments report: the bar counts it, and once the download is over,
// whichever way, the bar is plain again and the pointer an arrow.
void RunFeedbackTest::theReportBarIsBareAgainHoweverTheDownloadEnds() {
    struct Case {
        const char* name;
        bool folderIsAFile;
        std::function<void(sim::Faults&)> fault;
        const char* message;
    };
    const Case cases[] = {
        {"read to the end", false, [](sim::Faults&) {}, "Успешно!"},
        {"a folder that is a file", true, [](sim::Faults&) {}, "Ошибка открытия файла"},
        {"a silent register, ended in the dialog", false,
         [](sim::Faults& f) { f.silent = sim::Fault::always(); }, nullptr},
    };
    for (const Case& c : cases) {
        ConnectedWindow w;
        QVERIFY2(w.connected, c.name);
        w.showTab(9);
        if (c.folderIsAFile) {
            const QString file = QDir(w.fixture->directory()).filePath("taken");
            QFile taken(file);
            QVERIFY(taken.open(QIODevice::WriteOnly));
            w.control<QLineEdit>("DirectoryEdit1")->setText(file);
        }
        w.control<QPushButton>("Button18")->click();
        w.control<QCheckBox>("CheckBox4")->setChecked(true);
        c.fault(w.ecr->faults());
        int dialogHeight = 0;  // a skip ends the download: no tick box for later ones
        w.dialogs().onModal = [&](QDialog& dialog) {
            dialogHeight = dialog.height();
            dialog.findChild<QPushButton*>("Button2")->click();  // "Завершить операцию"
            return dialog.result();
        };
        QVERIFY2(w.press("Button19"), c.name);
        QCOMPARE(dialogHeight, c.message ? 0 : 130);
        const QProgressBar* bar = w.control<QProgressBar>("ProgressBar2");
        QVERIFY2(!bar->isTextVisible(), qPrintable(QString(c.name) + ": " + bar->text()));
        QCOMPARE(w.window().cursor().shape(), Qt::ArrowCursor);
        if (c.message) QCOMPARE(w.dialogs().messages().last().text, QString(c.message));
    }
}

// The longest table names with the widest record number and each cause in
// words: the line is read to its end, and the buttons keep their place.
void RunFeedbackTest::theRecordLineIsReadWholeForEveryTableAndCause() {
    using tabulon::link::ResultCause;
    QStringList tables = tabulon::tabCaptions();
    for (const auto& report : tabulon::reports::reportList()) tables << report.caption;
    const QString widestCode = QString(16, u'W') + u';';
    const struct {
        ResultCause cause;
        QByteArray refusal;
    } causes[] = {
        {ResultCause::NoAnswer, {}},
        {ResultCause::RefusedFrame, {}},
        {ResultCause::AwaitedByteMissing, {}},
        {ResultCause::CommandTooLong, {}},
        {ResultCause::ReplyTooLong, {}},
        {ResultCause::DamagedReplyLine, {}},
        {ResultCause::CheckBytesDiffer, {}},
        {ResultCause::PortNotOpen, {}},
        {ResultCause::DeviceDidNotOpen, {}},
        {ResultCause::RegisterRefused, {}},
        {ResultCause::RegisterRefused, widestCode.toLatin1()},
    };
    tabulon::app::TransferErrorDialog dialog(nullptr);
    for (const QString& table : tables) {
        for (const auto& c : causes) {
            const tabulon::RecordFailure failure{table, 65535,
                                                 tabulon::app::causeInWords(c.cause, c.refusal)};
            const QString line = tabulon::recordFailureLine(failure);
            dialog.setRecordLine(line);
            const QLabel* label = dialog.findChild<QLabel*>("Label2");
            const QRect room = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(
                room, Qt::TextWordWrap | int(label->alignment()), line);
            QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(),
                     qPrintable(line));
            const QPushButton* button = dialog.findChild<QPushButton*>("Button2");
            QCOMPARE(dialog.height() - (button->y() + button->height()), 33);
            QVERIFY2(label->geometry().bottom() < button->y(), qPrintable(line));
        }
    }
}

QTEST_MAIN(RunFeedbackTest)
#include "run_feedback_test.moc"
