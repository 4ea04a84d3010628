#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

#include "app/register_session.h"
#include "catalogue/grid_model.h"
#include "catalogue/parameter_catalogue.h"
#include "catalogue/parameter_values.h"
#include "link/priority.h"
#include "link/serial_port.h"
#include "sim/simulated_line.h"
#include "sim/simulated_link.h"
#include "sim/tables.h"
#include "support/connected_window.h"
#include "support/forwarding_port.h"
#include "support/sim_process.h"
#include "support/window_fixture.h"
#include "support/window_on_sim_program.h"
#include "text/cp1251.h"

using tabulon::GridModel;
using tabulon::MessageAnswer;
using tabulon::MessageButtons;
using tabulon::MessageIcon;
using tabulon::ScriptedDialogs;
using tabulon::TableKind;
using tabulon::testing::WindowFixture;
namespace sim = tabulon::sim;

namespace {

// A window connected to an in-process simulated register (virtual time),
// with what these tests ask of it besides.
struct ConnectedWindow : tabulon::testing::ConnectedWindow {
    explicit ConnectedWindow(sim::Model model = sim::Model::DatecsMp550T)
        : tabulon::testing::ConnectedWindow(model) {
        QVERIFY(connected);
    }
    GridModel& grid(TableKind kind) { return *fixture->window().grid(kind); }
    // Clicks a button and waits for the run it starts to end.
    void press(const char* button) { QVERIFY(tabulon::testing::ConnectedWindow::press(button)); }
    QStringList commands() {
        QStringList texts;
        for (const QByteArray& c : ecr->commands()) texts << tabulon::text::fromCp1251(c);
        return texts;
    }
    bool enabled(const char* name) { return control<QPushButton>(name)->isEnabled(); }
    // The register answers "E2;" to the commands `refused` picks; `accepted`
    // keeps the writes it took, in order.
    void refuseWhile(std::function<bool(QByteArrayView)> refused) {
        ecr->scriptReplies([this, refused](QByteArrayView command) -> std::optional<QByteArray> {
            if (refused(command)) return QByteArray("E2;");
            if (command.startsWith('W')) accepted << tabulon::text::fromCp1251(command);
            return std::nullopt;
        });
    }
    QStringList accepted;
};

// A button of the transfer error dialog, as a scripted answer.
std::function<int(QDialog&)> press(const char* button) {
    return [button](QDialog& dialog) {
        dialog.findChild<QPushButton*>(button)->click();
        return dialog.result();
    };
}

// A register that, once told, stops answering and holds the computer's
// seventh select from then on until the window has begun to close.
class HeldRegister : public sim::SimulatedRegister {
public:
    using SimulatedRegister::SimulatedRegister;
    QByteArray receive(QByteArrayView bytes) override {
        if (const std::atomic<bool>* closing = closing_.load()) {
            selects_ += int(bytes.count('\x11')) / 2;
            if (selects_ >= 7) {
                closing_ = nullptr;
                held.release();
                while (!closing->load()) QThread::msleep(1);
            }
        }
        return SimulatedRegister::receive(bytes);
    }
    void holdUntil(const std::atomic<bool>* closing) {
        faults().silent = sim::Fault::always();
        closing_ = closing;
    }
    QSemaphore held;

private:
    std::atomic<const std::atomic<bool>*> closing_{nullptr};
    int selects_ = 0;
};

// A serial port that counts the reads that came back empty: each is a read
// time-out the link waited out on the line.
class CountingPort final : public tabulon::testing::ForwardingPort {
public:
    explicit CountingPort(std::shared_ptr<std::atomic<int>> timeouts)
        : ForwardingPort(std::make_unique<tabulon::link::SerialBytePort>()),
          timeouts_(std::move(timeouts)) {}
    std::optional<std::uint8_t> readByte() override {
        const std::optional<std::uint8_t> byte = ForwardingPort::readByte();
        if (!byte) ++*timeouts_;
        return byte;
    }

private:
    std::shared_ptr<std::atomic<int>> timeouts_;
};

}  // namespace

class TransferRunsTest : public QObject {
    Q_OBJECT
private slots:
    void writeRunWithAnIntervalAsksFirstAndCountsInFiveDigits();
    void answeringNoSendsNothing();
    void notConnectedSaysSoAndTheWindowStays();
    void aPriceThatIsNoNumberIsFoundBeforeAnythingIsSent();
    void duringTheDialogTheRunHoldsTheButtonsAndTheAnswersAct();
    void stopEndsTheRunBetweenTwoRecords();
    void everyTableGoesIntoTheRegisterAndComesBack();
    void parameterSetsGoAndComeBackOnEveryModel();
    void clearRunSaysWhichRecordsItCouldNotClear();
    void aRunThatLeftRecordsOutNamesThem();
    void emptyingTheGridDuringAWriteEmptiesTheRowsToCome();
    void theErrorDialogHasNoCancelAndOpensOnSkip();
    void aOneRowRunLeavesTheProgressBarStill();
    void anEditorOpenWhenTheWindowGoesReachesNoHalfGoneWindow();
    void writeEmptyAndReadBackThroughAPseudoTerminal();
    void theWindowAnswersWhileARunWaitsOnASilentLine();
    void closingTheWindowMidRunWaitsOutOnlyTheReadInHand();
    void verifyAsksAboutARecordKeptOtherwise();
    void theErrorDialogsTickStopsTheLaterQuestions();
};

void TransferRunsTest::writeRunWithAnIntervalAsksFirstAndCountsInFiveDigits() {
    ConnectedWindow w;
    for (int row = 101; row <= 200; ++row)
        w.grid(TableKind::Goods).setCell(row, 2, QStringLiteral("Товар %1").arg(row));
    w.control<QCheckBox>("CheckBox1")->setChecked(true);
    w.control<QLineEdit>("Edit2")->setText("101");
    w.control<QLineEdit>("Edit3")->setText("200");
    w.control<QLineEdit>("Edit4")->setText("1");
    QStringList counters;
    QObject::connect(w.control<QLineEdit>("Edit1"), &QLineEdit::textChanged,
                     [&](const QString& text) { counters << text; });
    w.press("Button4");

    const auto boxes = w.dialogs().messages();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes[0].text, QString("Таблица \"Товары\"  в ЭККА будет перезаписана. Продолжить ?"));
    QCOMPARE(boxes[0].caption, QString("Tabulon"));
    QCOMPARE(boxes[0].icon, MessageIcon::Warning);
    QCOMPARE(boxes[0].buttons, MessageButtons::YesNo);
    QCOMPARE(boxes[1].text, QString("Операция завершена успешно"));
    QCOMPARE(boxes[1].icon, MessageIcon::None);

    const QStringList sent = w.commands();
    QCOMPARE(sent.size(), 100);
    QCOMPARE(sent.front(), QString("W0;1;;Товар 101;0.00;0.000;;;;;;0;"));
    QCOMPARE(sent.back(), QString("W0;100;;Товар 200;0.00;0.000;;;;;;0;"));
    // Shown as five digits, counting up to the last record written.
    QVERIFY(counters.size() >= 2);
    for (qsizetype i = 0; i + 1 < counters.size(); ++i) {
        QCOMPARE(counters[i].size(), 5);
        QVERIFY(counters[i].toInt() >= 1 && counters[i].toInt() <= 100);
    }
    QCOMPARE(counters[counters.size() - 2], QString("00100"));
    QCOMPARE(w.control<QLineEdit>("Edit1")->text(), QString());
    QCOMPARE(w.control<QProgressBar>("ProgressBar1")->value(), 0);
    QVERIFY(!w.enabled("Button6"));
    for (const char* name : {"Button4", "Button9", "Button8", "Button2", "Button3", "Button1"})
        QVERIFY2(w.enabled(name), name);

    // A first record that would put the last one past 10000 is refused.
    w.control<QLineEdit>("Edit4")->setText("9950");
    w.control<QLineEdit>("Edit2")->setText("1");
    w.control<QLineEdit>("Edit3")->setText("100");
    w.ecr->clearCommands();
    w.press("Button4");
    QCOMPARE(w.messageTexts().last(), QString("Ошибка! Неверные границы данных!"));
    QVERIFY(w.commands().isEmpty());
}

void TransferRunsTest::answeringNoSendsNothing() {
    ConnectedWindow w;
    w.showTab(1);
    w.line->clearTranscript();
    w.dialogs().answers.enqueue(MessageAnswer::No);
    w.press("Button4");
    QCOMPARE(w.dialogs().messages().size(), 1);
    QVERIFY(w.line->sent().isEmpty());
    QVERIFY(w.enabled("Button4"));
    QVERIFY(!w.enabled("Button6"));
}

void TransferRunsTest::notConnectedSaysSoAndTheWindowStays() {
    WindowFixture f;
    f.control<QPushButton>("Button4")->setEnabled(true);
    f.control<QPushButton>("Button4")->click();
    const auto boxes = f.dialogs().messages();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QString("ЭККА не подключен"));
    QCOMPARE(boxes[0].caption, QString("Tabulon"));
    QCOMPARE(boxes[0].icon, MessageIcon::None);
    QVERIFY(f.window().isVisible());
}

void TransferRunsTest::aPriceThatIsNoNumberIsFoundBeforeAnythingIsSent() {
    ConnectedWindow w;
    w.grid(TableKind::Goods).setCell(1, 3, "1.00");
    w.grid(TableKind::Goods).setCell(4321, 3, "12,50");
    w.line->clearTranscript();
    w.press("Button4");
    QCOMPARE(w.messageTexts().last(),
             QString("'12,50' is not a valid floating point value\n"
                     "Строка 4321 таблицы \"Товары\", столбец \"Цена\": \"12,50\" не число."));
    QVERIFY(w.line->sent().isEmpty());
    QVERIFY(w.enabled("Button4"));
    QVERIFY(!w.enabled("Button6"));
    QCOMPARE(w.control<QProgressBar>("ProgressBar1")->value(), 0);
    QVERIFY(w.control<QTableView>("StringGrid1")->editTriggers() !=
            QAbstractItemView::NoEditTriggers);
}

void TransferRunsTest::duringTheDialogTheRunHoldsTheButtonsAndTheAnswersAct() {
    ConnectedWindow w;
    w.showTab(3);
    for (int row = 1; row <= 20; ++row) w.grid(TableKind::Departments).setCell(row, 1, "D");
    // Department 3 is refused, "E" every time, until the dialog is answered.
    bool refuse = true;
    w.refuseWhile([&](QByteArrayView command) { return refuse && command.startsWith("W10;3;"); });
    QString counterDuringDialog, dialogTitle;
    bool stopDuringDialog = false, writeDuringDialog = true, editingDuringDialog = true;
    const int closesBefore = w.line->closes();
    w.dialogs().onModal = [&](QDialog& dialog) {
        counterDuringDialog = w.control<QLineEdit>("Edit1")->text();
        stopDuringDialog = w.enabled("Button6") && !w.enabled("Button5");
        writeDuringDialog = w.enabled("Button4");
        editingDuringDialog = w.control<QTableView>("StringGrid4")->editTriggers() !=
                              QAbstractItemView::NoEditTriggers;
        // A tab switch during the run leaves the transfer buttons off.
        w.showTab(1);
        writeDuringDialog = writeDuringDialog || w.enabled("Button4") || w.enabled("Button9") ||
                            w.enabled("Button8");
        w.showTab(3);
        dialogTitle = dialog.windowTitle();
        w.fixture->screenshot("run-held-by-dialog");
        if (const QString folder = qEnvironmentVariable("TABULON_SCREENSHOTS"); !folder.isEmpty())
            dialog.grab().save(folder + "/transfer-error-dialog.png");
        refuse = false;  // "Повторить" then succeeds
        return press("Button3")(dialog);
    };
    w.press("Button4");
    QCOMPARE(dialogTitle, QString("Ошибка чтения/записи"));
    QCOMPARE(counterDuringDialog, QString("00002"));
    QVERIFY(stopDuringDialog);
    QVERIFY(!writeDuringDialog);
    QVERIFY(!editingDuringDialog);
    QCOMPARE(w.line->closes() - closesBefore, 1);  // reopened for the retry
    QCOMPARE(w.accepted.size(), 20);
    QCOMPARE(w.accepted[2], QString("W10;3;D;"));
    QCOMPARE(w.messageTexts().last(), QString("Операция завершена успешно"));

    // "Пропустить": that record stays out, the port is reopened, the run goes on.
    refuse = true;
    w.accepted.clear();
    w.dialogs().onModal = press("Button1");
    w.press("Button4");
    QCOMPARE(w.accepted.size(), 19);
    QCOMPARE(w.accepted[2], QString("W10;4;D;"));
    QCOMPARE(w.messageTexts().last(), QString("Операция завершена: 1 зап. пропущено (записи 3)."));

    // "Завершить операцию": the run ends there.
    w.accepted.clear();
    w.dialogs().onModal = press("Button2");
    w.press("Button4");
    QCOMPARE(w.accepted.size(), 2);
    QCOMPARE(w.messageTexts().last(), QString("Операция прервана"));
    QVERIFY(w.enabled("Button4"));
    QVERIFY(!w.enabled("Button6"));

    // Closed from the title bar: no flag, the run goes on, the port stays.
    w.accepted.clear();
    const int closes = w.line->closes();
    w.dialogs().onModal = [](QDialog& dialog) {
        dialog.reject();
        return dialog.result();
    };
    w.press("Button4");
    QCOMPARE(w.accepted.size(), 19);
    QCOMPARE(w.line->closes(), closes);
    QCOMPARE(w.messageTexts().last(), QString("Операция завершена: 1 зап. пропущено (записи 3)."));
}

void TransferRunsTest::stopEndsTheRunBetweenTwoRecords() {
    ConnectedWindow w;
    // The register takes its time with record 3 of the header text: the
    // test presses "Стоп" while the run is held in the dialog for it.
    w.showTab(4);
    w.refuseWhile([](QByteArrayView command) { return command.startsWith("W6;3;"); });
    w.dialogs().onModal = [&](QDialog& dialog) {
        w.control<QPushButton>("Button6")->click();
        return press("Button1")(dialog);  // skip; the stop then ends the run
    };
    w.line->clearTranscript();
    w.press("Button4");
    QCOMPARE(w.messageTexts().last(), QString("Операция прервана"));
    QCOMPARE(w.accepted.size(), 2);
    // The release sequence went out between record 3 and the end.
    QVERIFY(w.line->sent().endsWith(QByteArray(8, '\xFF') + "\x13\x13" + QByteArray(8, '\xFF')));
    QVERIFY(!w.enabled("Button6"));
    QVERIFY(w.enabled("Button4"));
}

void TransferRunsTest::everyTableGoesIntoTheRegisterAndComesBack() {
    ConnectedWindow w;
    const QList<QStringList> rows{
        {"7", "Молоко", "12.50", "3.000", "1", "2", "3", "0", "0", "4820000000017"},
        {"1234", "Оксана", "1"},
        {"1", "1", "Безготівка", "0", "0"},
        {"Бакалія"},
        {"ТОВ \"Ромашка\""}};
    const int rowOf[] = {1, 7, 3, 5, 2};
    for (int tab = 0; tab < 5; ++tab) {
        GridModel& grid = w.grid(TableKind(tab));
        for (int c = 0; c < rows[tab].size(); ++c) grid.setCell(rowOf[tab], c + 1, rows[tab][c]);
        w.showTab(tab);
        w.press("Button4");
        for (int c = 0; c < rows[tab].size(); ++c) grid.setCell(rowOf[tab], c + 1, QString());
        w.press("Button9");
        QCOMPARE(w.messageTexts().last(), QString("Операция завершена успешно"));
        for (int c = 0; c < rows[tab].size(); ++c)
            QCOMPARE(grid.cell(rowOf[tab], c + 1), rows[tab][c]);
    }
    QVERIFY(!w.messageTexts().contains(
        "Приняты некорректные данные из ЭККА! Ошибка! Операция прерана!"));
}

void TransferRunsTest::parameterSetsGoAndComeBackOnEveryModel() {
    for (sim::Model model :
         {sim::Model::DatecsMp550T, sim::Model::DatecsMp50Junior, sim::Model::Neon}) {
        ConnectedWindow w(model);
        w.showTab(6);
        auto& fields = w.fixture->window().parameterValues();
        const QStringList edits =
            tabulon::parameterFieldNames(tabulon::ParameterSet::ReceiptParameters);
        for (const QString& edit : edits) fields.setFieldText(edit, edit.mid(4));
        w.press("Button4");
        QCOMPARE(w.messageTexts().last(), QString("Операция завершена успешно!"));
        QCOMPARE(w.commands().last(),
                 "W5;1;" + QStringList(edits).replaceInStrings("Edit", "").join(';') + ';');
        for (const QString& edit : edits) fields.setFieldText(edit, "");
        w.press("Button9");
        QCOMPARE(w.messageTexts().last(), QString("Операция завершена успешно!"));
        for (const QString& edit : edits) QCOMPARE(fields.fieldText(edit), edit.mid(4));
        QVERIFY(w.enabled("Button4"));
        QVERIFY(!w.enabled("Button8"));
    }
}

void TransferRunsTest::clearRunSaysWhichRecordsItCouldNotClear() {
    ConnectedWindow w(sim::Model::Neon);
    w.showTab(2);
    w.press("Button8");
    QCOMPARE(w.commands(),
             (QStringList{"W9;2;1;1;Чек;0;0;", "W9;3;1;1;Кредит;0;0;", "W9;4;1;1;Картка;0;0;"}));
    QCOMPARE(w.messageTexts().last(), QString("Операция завершена успешно"));

    w.showTab(3);
    w.refuseWhile([](QByteArrayView command) {
        return command.startsWith("W10;7;") || command.startsWith("W10;9;");
    });
    w.press("Button8");
    QCOMPARE(w.messageTexts().last(),
             QString("Операция завершена с ошибками: 2 зап. не очищено и осталось в ЭККА без "
                     "изменений (записи 7, 9)."));
}

void TransferRunsTest::aRunThatLeftRecordsOutNamesThem() {
    struct Row {
        const char* button;  // write, read or clear
        QList<int> refused;  // departments the register refuses until skipped
        QString end;
    };
    QList<int> twelve;
    for (int record = 4; record <= 15; ++record) twelve << record;
    const QList<int> ten = twelve.mid(0, 10);
    const Row rows[] = {
        {"Button4", {}, "Операция завершена успешно"},
        {"Button9", {}, "Операция завершена успешно"},
        {"Button4", {5}, "Операция завершена: 1 зап. пропущено (записи 5)."},
        {"Button9", {5}, "Операция завершена: 1 зап. пропущено (записи 5)."},
        {"Button4", {5, 9, 20}, "Операция завершена: 3 зап. пропущено (записи 5, 9, 20)."},
        {"Button9", {1, 9}, "Операция завершена: 2 зап. пропущено (записи 1, 9)."},
        {"Button4", ten,
         "Операция завершена: 10 зап. пропущено (записи 4, 5, 6, 7, 8, 9, 10, 11, 12, 13)."},
        {"Button4", twelve,
         "Операция завершена: 12 зап. пропущено (записи 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, …)."},
        {"Button9", twelve,
         "Операция завершена: 12 зап. пропущено (записи 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, …)."},
        {"Button8", twelve,
         "Операция завершена с ошибками: 12 зап. не очищено и осталось в ЭККА без изменений "
         "(записи 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, …)."},
    };
    ConnectedWindow w;
    w.showTab(3);
    w.dialogs().onModal = press("Button1");
    for (const Row& row : rows) {
        w.refuseWhile([&row](QByteArrayView command) {
            for (int record : row.refused) {
                const QByteArray tail = "10;" + QByteArray::number(record) + ';';
                if (command.sliced(1).startsWith(tail)) return true;
            }
            return false;
        });
        w.dialogs().shown.clear();
        w.press(row.button);
        QCOMPARE(w.messageTexts().last(), row.end);
        // Clearing goes on by itself; the others asked once per record.
        int asked = 0;
        for (const auto& shown : w.dialogs().shown)
            asked += shown.kind == ScriptedDialogs::Kind::Modal;
        QCOMPARE(asked, row.button == QByteArray("Button8") ? 0 : int(row.refused.size()));
    }
}

void TransferRunsTest::emptyingTheGridDuringAWriteEmptiesTheRowsToCome() {
    ConnectedWindow w;
    w.showTab(1);
    for (int row = 1; row <= 20; ++row)
        w.grid(TableKind::Operators).setCell(row, 2, QStringLiteral("Op%1").arg(row));
    w.refuseWhile([](QByteArrayView command) { return command.startsWith("W3;5;"); });
    w.dialogs().onModal = [&](QDialog& dialog) {
        w.control<QPushButton>("Button16")->click();
        return press("Button1")(dialog);
    };
    w.press("Button4");
    const QStringList sent = w.accepted;
    QCOMPARE(sent.size(), 19);
    QCOMPARE(sent[3], QString("W3;4;;Op4;;0;"));
    QCOMPARE(sent[4], QString("W3;6;;;;0;"));
    QCOMPARE(w.grid(TableKind::Operators).cell(1, 0), QString());
}

void TransferRunsTest::theErrorDialogHasNoCancelAndOpensOnSkip() {
    ConnectedWindow w;
    w.showTab(3);
    w.refuseWhile([](QByteArrayView command) { return command.startsWith("W10;2;"); });
    QStringList focused;
    bool visibleAfterEscape = false;
    w.dialogs().onModal = [&](QDialog& dialog) {
        focused << (dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        visibleAfterEscape = dialog.isVisible();
        // Leave the focus on "Повторить" and take it: the next opening
        // starts on "Пропустить" again.
        dialog.findChild<QPushButton*>("Button3")->setFocus();
        if (focused.size() == 1) return press("Button3")(dialog);
        return press("Button1")(dialog);
    };
    w.press("Button4");
    QVERIFY(visibleAfterEscape);
    QCOMPARE(focused, (QStringList{"Button1", "Button1"}));
}

void TransferRunsTest::aOneRowRunLeavesTheProgressBarStill() {
    ConnectedWindow w;
    w.control<QCheckBox>("CheckBox1")->setChecked(true);
    w.control<QLineEdit>("Edit2")->setText("5");
    w.control<QLineEdit>("Edit3")->setText("5");
    w.control<QLineEdit>("Edit4")->setText("5");
    w.press("Button4");
    QCOMPARE(w.commands(), QStringList{"W0;5;;;0.00;0.000;;;;;;0;"});
    QProgressBar* bar = w.control<QProgressBar>("ProgressBar1");
    QVERIFY(bar->maximum() > bar->minimum());  // 0..0 would draw a busy bar
    QCOMPARE(bar->value(), 0);
}

void TransferRunsTest::anEditorOpenWhenTheWindowGoesReachesNoHalfGoneWindow() {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        tabulon::app::MainWindow window(&dialogs);
        window.show();
        QVERIFY(QTest::qWaitFor([&] { return window.isInitialised(); }, 5000));
        auto* grid = window.findChild<QTableView*>("StringGrid1");
        grid->setCurrentIndex(grid->model()->index(0, 1));
        grid->edit(grid->currentIndex());
        auto* editor = grid->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("a;b");  // refused once committed
        dialogs.shown.clear();
    }
    QDir::setCurrent(previous);
    QVERIFY(dialogs.messages().isEmpty());
}

void TransferRunsTest::writeEmptyAndReadBackThroughAPseudoTerminal() {
    tabulon::testing::WindowOnSimProgram onSim("neon", 2);
    QVERIFY2(onSim.connected, qPrintable(onSim.ecr.path()));
    WindowFixture& f = onSim.fixture;

    GridModel& goods = *f.window().grid(TableKind::Goods);
    for (int row = 11; row <= 15; ++row) {
        goods.setCell(row, 1, QString::number(row));
        goods.setCell(row, 2, QStringLiteral("Хліб %1").arg(row));
        goods.setCell(row, 3, "9.5");
    }
    f.control<QCheckBox>("CheckBox1")->setChecked(true);
    f.control<QLineEdit>("Edit2")->setText("11");
    f.control<QLineEdit>("Edit3")->setText("15");
    f.control<QLineEdit>("Edit4")->setText("11");
    f.control<QPushButton>("Button4")->click();
    QVERIFY(f.waitForLink(60000));
    f.control<QPushButton>("Button16")->click();
    QCOMPARE(goods.cell(12, 2), QString());
    f.control<QPushButton>("Button9")->click();
    QVERIFY(f.waitForLink(60000));
    for (int row = 11; row <= 15; ++row) {
        QCOMPARE(goods.cell(row, 1), QString::number(row));
        QCOMPARE(goods.cell(row, 2), QStringLiteral("Хліб %1").arg(row));
        QCOMPARE(goods.cell(row, 3), QString("9.50"));
    }

    // Payment types cleared on Neon and read back.
    f.control<QTabWidget>("PageControl1")->setCurrentIndex(2);
    f.control<QPushButton>("Button8")->click();
    QVERIFY(f.waitForLink(60000));
    f.control<QPushButton>("Button9")->click();
    QVERIFY(f.waitForLink(60000));
    GridModel& payments = *f.window().grid(TableKind::PaymentTypes);
    QCOMPARE(payments.cell(2, 3), QString("Чек"));
    QCOMPARE(payments.cell(4, 3), QString("Картка"));
    for (const auto& box : f.dialogs().messages())
        QVERIFY2(
            box.text.startsWith("Операция завершена успешно") || box.text.startsWith("Таблица"),
            qPrintable(box.text));
}

void TransferRunsTest::theWindowAnswersWhileARunWaitsOnASilentLine() {
    const SimProcess ecr({"--model", "mp-550t", "--register", "1"});
    const QString& device = ecr.path();
    QVERIFY2(device.startsWith("/dev/"), qPrintable(device));
    auto timeouts = std::make_shared<std::atomic<int>>(0);
    tabulon::link::RegisterLink::Parts parts;
    parts.port = std::make_unique<CountingPort>(timeouts);
    parts.deviceFor = [device](int) { return device; };
    auto f = std::make_unique<WindowFixture>(
        QByteArray(), std::make_unique<tabulon::link::RegisterLink>(std::move(parts)));
    f->control<QPushButton>("Button5")->click();
    QVERIFY(!f->control<QPushButton>("Button5")->isEnabled());  // one connect at a time
    QVERIFY(f->waitForLink(20000));
    QVERIFY(f->window().Connected);
    // The runs now speak to a number nobody on the line answers to.
    f->window().RegisterNumber = 2;
    f->control<QTabWidget>("PageControl1")->setCurrentIndex(1);
    f->control<QPushButton>("Button4")->click();
    QVERIFY(f->window().isLinkBusy());

    // Each select waits out 300 ms a try, and a record ten of them before the
    // error dialog: a window that waited on the line would take these events
    // only once the run had come to an end. Each time the run has waited out
    // another read on the line, the window takes an event while it goes on.
    for (int i = 0; i < 5; ++i) {
        const int waited = timeouts->load();
        QVERIFY(QTest::qWaitFor([&] { return timeouts->load() > waited; }, 20000));
        bool handledMidRun = false;
        QTimer::singleShot(0, [&] { handledMidRun = f->window().isLinkBusy(); });
        QVERIFY(QTest::qWaitFor([&] { return handledMidRun; }, 20000));
    }
    QVERIFY(f->control<QPushButton>("Button6")->isEnabled());
    // Closing the window mid-run ends the run (how soon, in the waits on the
    // line, closingTheWindowMidRunWaitsOutOnlyTheReadInHand measures).
    f.reset();
}

// In virtual time, which counts the waits on the line and nothing else: once
// the window begins to close, the run waits out at most the read it is in,
// not the rest of its record's attempts on a register that has gone silent.
void TransferRunsTest::closingTheWindowMidRunWaitsOutOnlyTheReadInHand() {
    auto clock = std::make_shared<tabulon::link::VirtualClock>();
    auto line = std::make_shared<sim::SimulatedLine>(clock);
    auto ecr = std::make_shared<HeldRegister>(sim::Model::DatecsMp550T);
    line->attach(ecr);
    tabulon::link::RegisterLink::Parts parts;
    parts.port = std::make_unique<sim::SimulatedPort>(line);
    parts.clock = clock;
    parts.priority = std::make_shared<tabulon::link::CountingPriority>();
    auto f = std::make_unique<WindowFixture>(
        QByteArray(), std::make_unique<tabulon::link::RegisterLink>(std::move(parts)));
    f->control<QPushButton>("Button5")->click();
    QVERIFY(f->waitForLink());
    QVERIFY(f->window().Connected);

    ecr->holdUntil(&f->window().session().control().cancelled);
    f->control<QTabWidget>("PageControl1")->setCurrentIndex(1);
    f->control<QPushButton>("Button4")->click();
    QVERIFY(QTest::qWaitFor([&] { return ecr->held.tryAcquire(); }, 20000));
    const auto held = clock->now();
    f.reset();
    QVERIFY2(clock->now() - held <= line->readTimeout(),
             qPrintable(QString::number((clock->now() - held).count())));
}

void TransferRunsTest::verifyAsksAboutARecordKeptOtherwise() {
    ConnectedWindow w;
    w.showTab(3);
    const QByteArray ini = w.fixture->iniBytes();
    w.control<QCheckBox>("CheckBoxVerify")->click();
    QCOMPARE(w.fixture->iniBytes(),
             QByteArray(ini).replace("SerialPort=COM1\r\n", "SerialPort=COM1\r\nVerify=1\r\n"));
    // The register keeps the first department with "#".
    w.ecr->faults().alterStored = sim::Fault::times(1);
    w.ecr->clearCommands();
    QStringList asked;
    w.dialogs().onModal = [&](QDialog& dialog) {
        asked << dialog.findChild<QLabel*>("Label2")->text();
        return press("Button1")(dialog);
    };
    w.press("Button4");
    QCOMPARE(w.commands().mid(0, 4), (QStringList{"W10;1;;", "R10;1;", "W10;2;;", "R10;2;"}));
    QCOMPARE(asked, QStringList{"Отделы, запись 1"});
    QCOMPARE(w.messageTexts().last(), QString("Операция завершена: 1 зап. пропущено (записи 1)."));
    WindowFixture restarted(w.fixture->iniBytes());
    QVERIFY(restarted.control<QCheckBox>("CheckBoxVerify")->isChecked());
}

void TransferRunsTest::theErrorDialogsTickStopsTheLaterQuestions() {
    ConnectedWindow w;
    w.showTab(3);
    w.refuseWhile([](QByteArrayView c) {
        return c.startsWith("W10;3;") || c.startsWith("W10;5;") || c.startsWith("W10;9;");
    });
    QList<bool> tickedWhenShown;
    w.dialogs().onModal = [&](QDialog& dialog) {
        auto* tick = dialog.findChild<QCheckBox*>("CheckBox1");
        tickedWhenShown << tick->isChecked();
        tick->click();
        return press("Button1")(dialog);
    };
    // Once a run: the next run asks again, its box cleared.
    for (int run = 0; run < 2; ++run) {
        w.press("Button4");
        QCOMPARE(w.messageTexts().last(),
                 QString("Операция завершена: 3 зап. пропущено (записи 3, 5, 9)."));
    }
    QCOMPARE(tickedWhenShown, (QList<bool>{false, false}));
}

QTEST_MAIN(TransferRunsTest)
#include "transfer_runs_test.moc"
