#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "support/window_fixture.h"

using tabulon::ScriptedDialogs;
using tabulon::testing::WindowFixture;

class KeysAndFoldersTest : public QObject {
    Q_OBJECT
private slots:
    void aFileDialogOpensWhereTheLastOfItsKindWasTaken();
    void shortcutsPressTheirButtonsWhereTheyAreEnabled();
    void theCounterTakesNoFocus();
    void theToolkitIsRussianOnceTheWindowIsUp();
};

// Each step presses a button on a tab; its file dialog must start in the
// given folder ("~" the working directory, "a" and "b" folders in it) and
// is answered with a file in a folder, or cancelled.
void KeysAndFoldersTest::aFileDialogOpensWhereTheLastOfItsKindWasTaken() {
    struct Step {
        int tab;
        const char* button;
        const char* startsIn;
        const char* answer;  // "folder/name"; null: cancel
    };
    struct Case {
        const char* name;
        QList<Step> steps;
        QByteArray folders;  // the section as the file holds it after the steps
    };
    const Case cases[] = {
        {"nothing chosen yet: the working directory",
         {{0, "Button3", "~", nullptr}, {0, "Button3", "~", nullptr}},
         ""},
        {"goods opened from a folder: goods open and save start there",
         {{0, "Button3", "~", "a/goods.art"},
          {0, "Button3", "a", nullptr},
          {0, "Button2", "a", "b/goods.art"},
          {0, "Button3", "b", nullptr}},
         "[Folders]\r\nart=~/b\r\n"},
        {"each kind its own folder",
         {{0, "Button2", "~", "a/goods.art"},
          {1, "Button2", "~", "b/staff.opr"},
          {0, "Button3", "a", nullptr},
          {1, "Button3", "b", nullptr},
          {8, "Button7", "~", nullptr}},
         "[Folders]\r\nart=~/a\r\nopr=~/b\r\n"},
        {"a cancelled dialog changes nothing",
         {{3, "Button2", "~", "a/dep.otd"},
          {3, "Button2", "a", nullptr},
          {3, "Button3", "a", nullptr}},
         "[Folders]\r\notd=~/a\r\n"},
    };
    for (const Case& c : cases) {
        WindowFixture f;
        const QDir work(f.directory());
        work.mkdir("a");
        work.mkdir("b");
        const auto place = [&](const QString& text) {
            QString path = text;
            return path.replace('~', work.absolutePath());
        };
        for (const Step& step : c.steps) {
            f.control<QTabWidget>("PageControl1")->setCurrentIndex(step.tab);
            f.dialogs().fileNames.enqueue(
                step.answer ? std::optional<QString>(work.filePath(step.answer)) : std::nullopt);
            const qsizetype before = f.dialogs().shown.size();
            f.control<QPushButton>(step.button)->click();
            QVERIFY2(f.dialogs().shown.size() > before, c.name);
            const ScriptedDialogs::Shown& dialog = f.dialogs().shown[before];
            QVERIFY2(dialog.kind == ScriptedDialogs::Kind::OpenFile ||
                         dialog.kind == ScriptedDialogs::Kind::SaveFile,
                     c.name);
            QCOMPARE(dialog.request.directory,
                     place(step.startsIn == QString("~") ? "~" : QString("~/") + step.startsIn));
            // Whatever the command said after, the next step starts afresh.
            f.dialogs().fileNames.clear();
        }
        const QByteArray ini = f.iniBytes();
        const qsizetype at = ini.indexOf("[Folders]");
        const QByteArray section = at < 0 ? QByteArray() : ini.mid(at);
        QCOMPARE(QString::fromUtf8(section), place(QString::fromUtf8(c.folders)));
    }

    // A kept folder that is gone: the working directory again.
    WindowFixture f("[Folders]\r\nart=/no/such/folder\r\n");
    f.control<QPushButton>("Button3")->click();
    QCOMPARE(f.dialogs().shown.last().request.directory, QDir(f.directory()).absolutePath());
}

void KeysAndFoldersTest::shortcutsPressTheirButtonsWhereTheyAreEnabled() {
    struct Case {
        int tab;
        QKeySequence keys;
        ScriptedDialogs::Kind kind;  // of the dialog the key opens
        QString title;               // empty: the key does nothing there
    };
    const Case cases[] = {
        {0, QKeySequence("Ctrl+O"), ScriptedDialogs::Kind::OpenFile, "Открыть файл артикулов"},
        {0, QKeySequence("Ctrl+S"), ScriptedDialogs::Kind::SaveFile, "Сохранить файл артикулов"},
        {3, QKeySequence("Ctrl+O"), ScriptedDialogs::Kind::OpenFile, "Открыть файл отделов"},
        {8, QKeySequence("Ctrl+O"), ScriptedDialogs::Kind::OpenFile, ""},
        {9, QKeySequence("Ctrl+S"), ScriptedDialogs::Kind::SaveFile, ""},
        {0, QKeySequence("F1"), ScriptedDialogs::Kind::Modal, "О программе"},
        {8, QKeySequence("F1"), ScriptedDialogs::Kind::Modal, "О программе"},
    };
    for (const Case& c : cases) {
        WindowFixture f;
        f.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window()));
        f.control<QTabWidget>("PageControl1")->setCurrentIndex(c.tab);
        const bool fileButtons = c.tab != 8 && c.tab != 9;
        QCOMPARE(f.control<QPushButton>("Button3")->isEnabled(), fileButtons);
        QCOMPARE(f.control<QPushButton>("Button2")->isEnabled(), fileButtons);
        QTest::keySequence(&f.window(), c.keys);
        if (c.title.isEmpty()) {
            // A button clicked by its key lets go of it a moment later; F1
            // pressed after it comes after it, and alone when it did nothing.
            QTest::keySequence(&f.window(), QKeySequence("F1"));
            QVERIFY(QTest::qWaitFor([&] { return !f.dialogs().shown.isEmpty(); }, 5000));
            QCoreApplication::processEvents();
            QCOMPARE(f.dialogs().shown.size(), 1);
            QCOMPARE(f.dialogs().shown[0].windowTitle, QString("О программе"));
            continue;
        }
        QVERIFY(QTest::qWaitFor([&] { return !f.dialogs().shown.isEmpty(); }, 5000));
        QCOMPARE(f.dialogs().shown.size(), 1);
        QCOMPARE(f.dialogs().shown[0].kind, c.kind);
        const auto& shown = f.dialogs().shown[0];
        QCOMPARE(c.kind == ScriptedDialogs::Kind::Modal ? shown.windowTitle : shown.caption,
                 c.title);
    }
}

void KeysAndFoldersTest::theCounterTakesNoFocus() {
    WindowFixture f;
    QLineEdit* counter = f.control<QLineEdit>("Edit1");
    QCOMPARE(counter->focusPolicy(), Qt::NoFocus);
    QVERIFY(counter->isReadOnly());
}

void KeysAndFoldersTest::theToolkitIsRussianOnceTheWindowIsUp() {
    QLocale::setDefault(QLocale::c());
    WindowFixture f;
    QCOMPARE(QLocale().language(), QLocale::Russian);
}

QTEST_MAIN(KeysAndFoldersTest)
#include "keys_and_folders_test.moc"
