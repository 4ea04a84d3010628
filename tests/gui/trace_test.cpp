#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/about_box.h"
#include "app/window_link.h"
#include "link/register_link.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"
#include "support/window_fixture.h"

using tabulon::ScriptedDialogs;
using tabulon::testing::WindowFixture;

class TraceTest : public QObject {
    Q_OBJECT
private slots:
    void theTraceFileIsTheCommandLinesElseTheSettingsFiles();
    void aConnectGoesIntoTheTraceByteByByte();
    void aTraceFileThatDoesNotOpenIsToldAndTheLinkWorks();
};

void TraceTest::theTraceFileIsTheCommandLinesElseTheSettingsFiles() {
    const struct {
        const char* ini;  // null: none
        const char* argument;
        const char* chosen;
    } rows[] = {
        {nullptr, "", ""},
        {nullptr, "a.log", "a.log"},
        {"[Communication]\r\nTrace=b.log\r\n", "", "b.log"},
        {"[Communication]\r\nTrace=b.log\r\n", "a.log", "a.log"},
    };
    for (const auto& row : rows) {
        WindowFixture f(row.ini ? QByteArray(row.ini) : QByteArray());
        QCOMPARE(tabulon::app::chosenTraceFile(row.argument), QString(row.chosen));
    }
}

// The window's link as the program makes it, through a pseudo-terminal to
// the simulated register: connecting puts its select and the register's
// answer into the trace, with times.
void TraceTest::aConnectGoesIntoTheTraceByteByByte() {
    SimProcess ecr({"--model", "neon", "--register", "1"});
    const QString device = ecr.path();
    QVERIFY2(device.startsWith("/dev/"), qPrintable(device));

    QTemporaryDir traces;
    const QString tracePath = traces.filePath("line.log");
    ScriptedDialogs startDialogs;
    tabulon::app::WindowLink link = tabulon::app::makeWindowLink(tracePath, startDialogs);
    QVERIFY(startDialogs.shown.isEmpty());
    QCOMPARE(link.traceFile, tracePath);
    {
        WindowFixture f("[Ports]\r\nCOM1=" + device.toLocal8Bit() + "\r\n", std::move(link.link));
        f.window().showTraceFile(link.traceFile);
        f.control<QComboBox>("ComboBox2")->setCurrentText("115200");
        f.control<QPushButton>("Button5")->click();
        QVERIFY(f.waitForLink());
        QVERIFY(f.window().Connected);

        // The About box says where the trace goes.
        QString aboutLine;
        f.dialogs().onModal = [&](QDialog& dialog) {
            aboutLine = dialog.findChild<QLabel*>("AboutTrace")->toolTip();
            return 0;
        };
        f.control<QPushButton>("Button10")->click();
        QCOMPARE(aboutLine, "Журнал обмена: " + tracePath);
    }
    ecr.stop();

    QFile trace(tracePath);
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(trace.readAll()).split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 5);
    QVERIFY2(lines[0].startsWith("# trace begun "), qPrintable(lines[0]));
    QCOMPARE(lines[1].trimmed().section(' ', 1), "open " + device);
    QVERIFY2(lines[2].contains("line 115200 baud, 8N2, DTR on"), qPrintable(lines[2]));
    // The select of register 01 went out, and the register answered.
    const auto has = [&](const QString& text) {
        for (const QString& line : lines)
            if (line.contains(text)) return true;
        return false;
    };
    QVERIFY(has("->  FF "));
    QVERIFY(has("<DC1><DC1>01"));
    QVERIFY(has("<-  "));
    // Every step carries its time in milliseconds.
    for (const QString& line : lines.mid(1))
        QVERIFY2(QRegularExpression("^ *\\d+\\.\\d{3} ").match(line).hasMatch(), qPrintable(line));
}

void TraceTest::aTraceFileThatDoesNotOpenIsToldAndTheLinkWorks() {
    ScriptedDialogs dialogs;
    tabulon::app::WindowLink link =
        tabulon::app::makeWindowLink("/no/such/folder/line.log", dialogs);
    QVERIFY(link.link);
    QCOMPARE(link.traceFile, QString());
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY2(dialogs.messages()[0].text.startsWith(
                 "Журнал обмена не ведётся: файл /no/such/folder/line.log не открывается ("),
             qPrintable(dialogs.messages()[0].text));
    QCOMPARE(dialogs.messages()[0].icon, tabulon::MessageIcon::Warning);
}

QTEST_MAIN(TraceTest)
#include "trace_test.moc"
