#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <atomic>

#include "sim/simulated_link.h"
#include "sim/tables.h"
#include "support/connected_window.h"
#include "support/report_file.h"
#include "support/window_on_sim_program.h"

using tabulon::MessageButtons;
using tabulon::MessageIcon;
using tabulon::ScriptedDialogs;
using tabulon::testing::ConnectedWindow;
using tabulon::testing::WindowFixture;
namespace sim = tabulon::sim;

namespace {

constexpr int kReportsTab = 9;
const char* const kBoxes[] = {"CheckBox3", "CheckBox4",  "CheckBox5", "CheckBox8",
                              "CheckBox9", "CheckBox10", "CheckBox11"};
const char* const kFiles[] = {"RepArt.dat",   "RepOtd.dat", "RepGrp.dat",   "RepOperat.dat",
                              "RepNalog.dat", "RepOpl.dat", "RepOperac.dat"};
const int kTables[] = {65, 74, 75, 76, 78, 77, 79};

// What a register holds in a report, as its file has it.
QByteArray expectedFile(sim::Model model, int index, int records, char separator = ';') {
    return tabulon::testing::reportFile(model, kTables[index], records, separator);
}

// Connected, on the reports tab, writing into its scratch directory.
struct ReportsWindow : ConnectedWindow {
    explicit ReportsWindow(sim::Model model = sim::Model::DatecsMp550T) : ConnectedWindow(model) {
        line->keepTranscript(false);
        QVERIFY(connected);
        showTab(kReportsTab);
    }
    void tick(std::initializer_list<int> reports) {
        control<QPushButton>("Button18")->click();
        for (int index : reports) control<QCheckBox>(kBoxes[index])->setChecked(true);
    }
    void read() {
        control<QPushButton>("Button19")->click();
        QVERIFY(fixture->waitForLink(60000));
    }
    QByteArray file(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
};

}  // namespace

class ReportsTabTest : public QObject {
    Q_OBJECT
private slots:
    void setAllAndClearAll();
    void readsEveryTickedReportIntoItsFile();
    void theArticleReportFollowsTheModelBox();
    void noneTickedWritesNothingAndSaysSuccess();
    void anEmptySeparatorIsRefusedBeforeAnyFile();
    void theDirectoryPickerFillsTheField();
    void aFileThatCannotBeCreatedEndsTheDownload();
    void aSkipOrStopEndsTheDownloadAndSaysWhichFileIsIncomplete();
    void throughAPseudoTerminalTheFilesHoldWhatTheRegisterHolds();
};

void ReportsTabTest::setAllAndClearAll() {
    ReportsWindow w;
    w.control<QPushButton>("Button17")->click();
    for (const char* box : kBoxes) QVERIFY(w.control<QCheckBox>(box)->isChecked());
    w.control<QPushButton>("Button18")->click();
    for (const char* box : kBoxes) QVERIFY(!w.control<QCheckBox>(box)->isChecked());
}

void ReportsTabTest::readsEveryTickedReportIntoItsFile() {
    ReportsWindow w;
    w.control<QPushButton>("Button17")->click();
    w.control<QLineEdit>("Edit41")->setText(",");
    w.control<QLineEdit>("Edit40")->setText("groups.csv");
    // Looked at while it runs: the buttons of the link, and a second press.
    bool secondPress = false;
    QStringList labels;
    QProgressBar* bar = w.control<QProgressBar>("ProgressBar2");
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString label = w.control<QLabel>("Label44")->text();
        if (label.isEmpty() || labels.contains(label)) return;
        labels << label;
        if (secondPress) return;
        for (const char* name : {"Button19", "Button4", "Button9", "Button5", "Button12"})
            QVERIFY2(!w.control<QPushButton>(name)->isEnabled(), name);
        secondPress = true;
        QPushButton* read = w.control<QPushButton>("Button19");
        read->setEnabled(true);
        read->click();
        read->setEnabled(false);
    });
    watch.start(0);
    w.read();

    QCOMPARE(w.messageTexts(), QStringList{"Успешно!"});
    QCOMPARE(w.dialogs().messages()[0].caption, QString("Tabulon"));
    QCOMPARE(w.dialogs().messages()[0].icon, MessageIcon::None);
    QVERIFY(secondPress);
    QCOMPARE(labels.first(), QString("RepArt.dat"));
    QCOMPARE(w.control<QLabel>("Label44")->text(), QString());
    QCOMPARE(bar->value(), 0);
    const QStringList names{"RepArt.dat",   "RepOtd.dat", "groups.csv",   "RepOperat.dat",
                            "RepNalog.dat", "RepOpl.dat", "RepOperac.dat"};
    const int counts[] = {10000, 20, 99, 20, 1, 1, 1};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(w.file(names[i]), expectedFile(sim::Model::DatecsMp550T, i, counts[i], ','));
    // The second press found the download running and started none.
    QCOMPARE(w.ecr->commands().size(), 10000 + 20 + 99 + 20 + 3);
    QVERIFY(w.control<QPushButton>("Button19")->isEnabled());
    QVERIFY(w.control<QPushButton>("Button4")->isEnabled());
    QVERIFY(w.control<QPushButton>("Button5")->isEnabled());
    w.fixture->screenshot("reports_tab");
}

void ReportsTabTest::theArticleReportFollowsTheModelBox() {
    ReportsWindow w(sim::Model::DatecsMp50Junior);
    w.tick({0});
    w.read();
    QCOMPARE(w.file("RepArt.dat"), expectedFile(sim::Model::DatecsMp50Junior, 0, 5000));
    QCOMPARE(w.file("RepArt.dat").count('\n'), 5000);
}

void ReportsTabTest::noneTickedWritesNothingAndSaysSuccess() {
    ReportsWindow w;
    w.tick({});
    w.read();
    QCOMPARE(w.messageTexts(), QStringList{"Успешно!"});
    QCOMPARE(QDir(w.fixture->directory()).entryList({"*.dat"}, QDir::Files), QStringList());
    QVERIFY(w.ecr->commands().isEmpty());
}

void ReportsTabTest::anEmptySeparatorIsRefusedBeforeAnyFile() {
    ReportsWindow w;
    QFile old(w.path("RepOtd.dat"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier\r\n");
    old.close();
    w.tick({1});
    w.control<QLineEdit>("Edit41")->clear();
    w.read();
    QCOMPARE(w.messageTexts(), QStringList{"Не задан разделитель между полями."});
    QCOMPARE(w.file("RepOtd.dat"), QByteArray("earlier\r\n"));
    QVERIFY(w.ecr->commands().isEmpty());
    QVERIFY(w.control<QPushButton>("Button19")->isEnabled());
}

void ReportsTabTest::theDirectoryPickerFillsTheField() {
    ReportsWindow w;
    QLineEdit* directory = w.control<QLineEdit>("DirectoryEdit1");
    QCOMPARE(directory->text(), w.fixture->directory() + "/");
    QDir(w.fixture->directory()).mkdir("out");
    const QString out = w.path("out");
    w.dialogs().fileNames.enqueue(out);
    w.control<QToolButton>("DirectoryEdit1Button")->click();
    QCOMPARE(w.dialogs().shown.last().kind, ScriptedDialogs::Kind::Directory);
    QCOMPARE(w.dialogs().shown.last().request.directory, w.fixture->directory() + "/");
    QCOMPARE(directory->text(), out + "/");

    // Typed without its separator, the directory still holds the files.
    directory->setText(out);
    w.tick({4});
    w.read();
    QCOMPARE(w.file("out/RepNalog.dat"), expectedFile(sim::Model::DatecsMp550T, 4, 1));
    QCOMPARE(w.file("outRepNalog.dat"), QByteArray("(none)"));
}

void ReportsTabTest::aFileThatCannotBeCreatedEndsTheDownload() {
    ReportsWindow w;
    w.tick({1, 2});
    w.control<QLineEdit>("Edit40")->setText("missing/RepGrp.dat");
    w.read();
    const auto boxes = w.dialogs().messages();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QString("Ошибка открытия файла"));
    QCOMPARE(boxes[0].caption, QString("Ошибка работы с файлом"));
    QCOMPARE(boxes[0].buttons, MessageButtons::OkCancel);
    QCOMPARE(boxes[0].icon, MessageIcon::None);
    QCOMPARE(w.file("RepOtd.dat"), expectedFile(sim::Model::DatecsMp550T, 1, 20));
    QCOMPARE(w.control<QLabel>("Label44")->text(), QString("missing/RepGrp.dat"));
    QVERIFY(w.control<QPushButton>("Button19")->isEnabled());
}

// "Пропустить" after record 8 fails, or "Стоп" pressed while the register
// holds record 8: the download ends there and says which file is short.
void ReportsTabTest::aSkipOrStopEndsTheDownloadAndSaysWhichFileIsIncomplete() {
    const struct {
        bool stop;
        QStringList dialogs;
        QString why;
        int lines;
    } cases[] = {{false, {"Ошибка чтения/записи"}, "Запись 8 отчета не прочитана.\n", 7},
                 {true, {}, "", 8}};
    for (const auto& c : cases) {
        ReportsWindow w;
        w.tick({1, 3});
        // Record 8 of the department report is refused until the dialog shows.
        std::atomic<bool> refusing{!c.stop};
        auto* stop = w.control<QPushButton>("Button6");
        w.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
            if (c.stop && command == "R74;8;")
                QMetaObject::invokeMethod(stop, &QPushButton::click, Qt::BlockingQueuedConnection);
            if (refusing && command == "R74;8;") return QByteArray("E2;");
            return std::nullopt;
        });
        QStringList dialogTitles;
        w.dialogs().onModal = [&](QDialog& dialog) {
            dialogTitles << dialog.windowTitle();
            refusing = false;
            dialog.findChild<QPushButton*>("Button1")->click();  // "Пропустить"
            return dialog.result();
        };
        w.read();
        QCOMPARE(dialogTitles, c.dialogs);
        const auto boxes = w.dialogs().messages();
        QCOMPARE(boxes.size(), 1);
        const QString path = w.path("RepOtd.dat");
        QCOMPARE(boxes[0].text,
                 c.why + QString("Чтение отчетов прервано: файл %1 неполный, строк в нем %2 из 20.")
                             .arg(path)
                             .arg(c.lines));
        QCOMPARE(boxes[0].icon, MessageIcon::Warning);
        // Not a word of success; the bar and the name stay where it stopped.
        QCOMPARE(w.file("RepOtd.dat"), expectedFile(sim::Model::DatecsMp550T, 1, c.lines));
        QCOMPARE(w.file("RepOperat.dat"), QByteArray("(none)"));
        QCOMPARE(w.control<QLabel>("Label44")->text(), QString("RepOtd.dat"));
        QCOMPARE(w.control<QProgressBar>("ProgressBar2")->value(), c.lines);
        w.fixture->screenshot("reports_tab_stopped");
        QVERIFY(w.control<QPushButton>("Button19")->isEnabled());
        QVERIFY(!stop->isEnabled());
    }
}

void ReportsTabTest::throughAPseudoTerminalTheFilesHoldWhatTheRegisterHolds() {
    tabulon::testing::WindowOnSimProgram onSim("neon");
    QVERIFY2(onSim.connected, qPrintable(onSim.ecr.path()));
    WindowFixture& f = onSim.fixture;
    f.control<QTabWidget>("PageControl1")->setCurrentIndex(kReportsTab);
    f.control<QPushButton>("Button17")->click();
    f.control<QCheckBox>("CheckBox3")->setChecked(false);  // 10000 records: the benchmark's
    f.control<QLineEdit>("Edit41")->setText("\t");
    f.control<QPushButton>("Button19")->click();
    QVERIFY(f.waitForLink(120000));

    QCOMPARE(f.dialogs().messages().size(), 1);
    QCOMPARE(f.dialogs().messages()[0].text, QString("Успешно!"));
    const int counts[] = {10000, 20, 99, 20, 1, 1, 1};
    for (int i = 1; i < 7; ++i) {
        QFile file(f.path(kFiles[i]));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expectedFile(sim::Model::Neon, i, counts[i], '\t'));
    }
}

QTEST_MAIN(ReportsTabTest)
#include "reports_tab_test.moc"
