#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "sim/simulated_link.h"
#include "sim/tables.h"
#include "support/connected_window.h"
#include "support/sim_process.h"

using tabulon::MessageAnswer;
using tabulon::MessageButtons;
using tabulon::MessageIcon;
using tabulon::ScriptedDialogs;
using tabulon::testing::ConnectedWindow;
using tabulon::testing::WindowFixture;
namespace sim = tabulon::sim;

namespace {

constexpr int kLogoTab = 8;
constexpr int kReportsTab = 9;

// On the logo tab; connected unless told otherwise.
struct LogoWindow : ConnectedWindow {
    explicit LogoWindow(bool connect = true) : ConnectedWindow(sim::Model::DatecsMp550T, connect) {
        if (connect) QVERIFY(connected);
        showTab(kLogoTab);
    }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    void press(const char* name) { QVERIFY(ConnectedWindow::press(name)); }
    // Loads a picture through "Загрузить логотип из файла".
    void load(const QImage& picture, const QString& name = "logo.bmp") {
        QVERIFY(picture.save(path(name), "BMP"));
        dialogs().fileNames.enqueue(path(name));
        press("Button7");
    }
    QList<QByteArray> writes() const {
        QList<QByteArray> out;
        for (const QByteArray& command : ecr->commands())
            if (command.startsWith('W')) out << command;
        return out;
    }
    QImage shown() { return control<QLabel>("Image1")->pixmap().toImage(); }
};

QImage stripes(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, (x / 3 + y) % 4 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return picture;
}

// The write commands of stripes(100, rows): its dot lines repeat every four
// rows; the dots from 100 on are blank.
QList<QByteArray> stripeCommands(int rows) {
    const QByteArray lines[] = {
        "224;14;0;224;14;0;224;14;0;224;14;0;224;0;0;0;0;0;0;0;0;0;0;0;",
        "0;112;7;0;112;7;0;112;7;0;112;7;0;0;0;0;0;0;0;0;0;0;0;0;",
        "3;128;56;3;128;56;3;128;56;3;128;56;0;0;0;0;0;0;0;0;0;0;0;0;",
        "28;1;192;28;1;192;28;1;192;28;1;192;16;0;0;0;0;0;0;0;0;0;0;0;",
    };
    QList<QByteArray> commands;
    for (int r = 1; r <= rows; ++r)
        commands << "W136;" + QByteArray::number(r) + ';' + lines[(r - 1) % 4];
    return commands;
}

// The logo a register holds, as the 192 x 200 picture its records draw: in
// record r, bit 7 - b of value n is the dot (8n + b, r - 1), black when set.
QImage registerLogo(sim::Model model) {
    QImage logo(192, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y) {
        const QList<QByteArray> values = sim::defaultRecord(model, 136, y + 1).split(';');
        for (int x = 0; x < 192; ++x) {
            const bool dot = (values.value(x / 8).toInt() >> (7 - x % 8)) & 1;
            logo.setPixel(x, y, dot ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return logo;
}

// A picture's pixels as plain colours, whatever depth it was stored in.
QImage colours(const QImage& picture) {
    return picture.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class LogoTabTest : public QObject {
    Q_OBJECT
private slots:
    void loadingShowsThePictureAndEnablesSaveAndWrite();
    void aFileThatIsNoBmpLeavesTheBoxAsItWas();
    void writingSendsEveryRowStretchedOrNot();
    void aPictureTallerThanTheLogoIsSentOnlyAfterAYes();
    void readingDrawsTheRegistersLogoAndSavesItAsBmp();
    void aReadThatFailsAtOnceLeavesNothingToWriteOrSave();
    void workOnAnotherTabGivesSaveAndWriteBackAsTheLogoIs();
    void throughAPseudoTerminalTheLogoComesBackDotForDot();
};

void LogoTabTest::loadingShowsThePictureAndEnablesSaveAndWrite() {
    LogoWindow w(false);
    QVERIFY(!w.button("Button11")->isEnabled());
    QVERIFY(!w.button("Button13")->isEnabled());
    QVERIFY(w.button("Button7")->isEnabled());
    QVERIFY(w.button("Button12")->isEnabled());

    w.press("Button7");  // cancelled
    QVERIFY(!w.fixture->window().LogoPresent);
    const auto& request = w.dialogs().shown.last().request;
    QCOMPARE(request.title, QString("Загрузка логотипа из BMP-файла"));
    QCOMPARE(request.filterList, QString("BMP files (*.BMP)|*.BMP|All files (*.*)|*.*"));
    QCOMPARE(request.directory, QDir::currentPath());

    const QImage wide = stripes(300, 120);
    w.load(wide.convertToFormat(QImage::Format_Indexed8));
    QVERIFY(w.fixture->window().LogoPresent);
    QVERIFY(w.button("Button11")->isEnabled());
    QVERIFY(w.button("Button13")->isEnabled());
    QVERIFY(w.messageTexts().isEmpty());
    // Natural size: the whole picture, drawn from the corner and clipped by
    // the box; stretched: the same picture scaled into it.
    QLabel* box = w.control<QLabel>("Image1");
    QCOMPARE(w.shown().size(), QSize(300, 120));
    QVERIFY(!box->hasScaledContents());
    QCOMPARE(w.shown().pixel(4, 0), qRgb(255, 255, 255));
    QCOMPARE(w.shown().pixel(0, 0), qRgb(0, 0, 0));
    w.fixture->screenshot("logo_natural");
    w.control<QCheckBox>("CheckBox2")->click();
    QVERIFY(box->hasScaledContents());
    w.fixture->screenshot("logo_stretched");
    w.control<QCheckBox>("CheckBox2")->click();
    QVERIFY(!box->hasScaledContents());
}

void LogoTabTest::aFileThatIsNoBmpLeavesTheBoxAsItWas() {
    LogoWindow w(false);
    QVERIFY(stripes(50, 50).save(w.path("photo.bmp"), "PNG"));
    w.dialogs().fileNames.enqueue(w.path("photo.bmp"));
    w.press("Button7");
    QCOMPARE(w.messageTexts(),
             QStringList{"Файл «photo.bmp» не является рисунком BMP или повреждён."});
    QCOMPARE(w.dialogs().messages().last().caption, QString("Tabulon"));
    QVERIFY(!w.fixture->window().LogoPresent);
    QVERIFY(!w.button("Button13")->isEnabled());

    w.load(stripes(192, 10));
    w.dialogs().fileNames.enqueue(w.path("photo.bmp"));
    w.press("Button7");
    QVERIFY(w.fixture->window().LogoPresent);
    QCOMPARE(w.shown().size(), QSize(192, 10));
}

void LogoTabTest::writingSendsEveryRowStretchedOrNot() {
    LogoWindow w;
    const QImage picture = stripes(100, 150);
    w.load(picture);
    QList<int> progress;
    QObject::connect(w.control<QProgressBar>("ProgressBar1"), &QProgressBar::valueChanged,
                     [&](int value) { progress << value; });
    w.press("Button13");

    QCOMPARE(w.writes(), stripeCommands(150));
    QCOMPARE(w.writes().size(), 150);
    const auto boxes = w.dialogs().messages();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QString("Успешно!"));
    QCOMPARE(boxes[0].caption, QString("Tabulon"));
    QCOMPARE(boxes[0].icon, MessageIcon::None);
    QCOMPARE(boxes[0].buttons, MessageButtons::Ok);
    QCOMPARE(w.control<QProgressBar>("ProgressBar1")->maximum(), 200);
    QCOMPARE(progress.value(149), 150);
    QCOMPARE(progress.last(), 0);
    // The transfer buttons are back as the logo tab has them.
    QVERIFY(w.button("Button13")->isEnabled());
    QVERIFY(w.button("Button12")->isEnabled());
    QVERIFY(w.button("Button19")->isEnabled());
    QVERIFY(!w.button("Button4")->isEnabled());
    QVERIFY(!w.button("Button9")->isEnabled());

    w.ecr->clearCommands();
    w.control<QCheckBox>("CheckBox2")->click();
    w.press("Button13");
    QCOMPARE(w.writes(), stripeCommands(150));

    // A register that does not answer: the first record ends the write.
    w.ecr->clearCommands();
    w.ecr->faults().silent = sim::Fault::always();
    w.press("Button13");
    QCOMPARE(w.messageTexts().last(), QString("Ошибка записи логотипа!"));
    QVERIFY(w.ecr->commands().isEmpty());
    QCOMPARE(w.control<QProgressBar>("ProgressBar1")->value(), 0);
}

void LogoTabTest::aPictureTallerThanTheLogoIsSentOnlyAfterAYes() {
    LogoWindow w;
    w.load(stripes(192, 230));
    w.dialogs().answers.enqueue(MessageAnswer::No);
    w.press("Button13");
    const auto question = w.dialogs().messages().last();
    QCOMPARE(question.text,
             QString("Рисунок высотой 230 строк, а в ЭККА помещаются только строки 1-200: "
                     "строку 201 ЭККА не примет, и запись остановится на ней с ошибкой.\n"
                     "Продолжить запись?"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.icon, MessageIcon::Question);
    QVERIFY(w.ecr->commands().isEmpty());
    QVERIFY(w.button("Button13")->isEnabled());

    w.press("Button13");                    // Yes
    QCOMPARE(w.writes().size(), 200 + 10);  // record 201 is refused ten times
    QCOMPARE(w.messageTexts().last(), QString("Ошибка записи логотипа!"));
}

void LogoTabTest::readingDrawsTheRegistersLogoAndSavesItAsBmp() {
    LogoWindow w;
    w.press("Button12");
    QCOMPARE(w.messageTexts(), QStringList{"Успешно!"});
    QVERIFY(w.fixture->window().LogoPresent);
    QVERIFY(w.button("Button11")->isEnabled());
    QVERIFY(w.button("Button13")->isEnabled());
    QCOMPARE(w.control<QProgressBar>("ProgressBar1")->value(), 0);
    const QImage read = colours(w.shown());
    const QImage held = registerLogo(sim::Model::DatecsMp550T);
    QCOMPARE(read, held);

    // Saved under the name chosen, with ".BMP" for its extension.
    w.dialogs().fileNames.enqueue(w.path("receipt.png"));
    w.press("Button11");
    QCOMPARE(w.dialogs().shown.last().caption, QString("Сохранение логотипа в BMP-файл"));
    QCOMPARE(w.dialogs().shown.last().request.filterList,
             QString("BMP files (*.BMP)|*.BMP|All files (*.*)|*.*"));
    QCOMPARE(colours(QImage(w.path("receipt.BMP"), "BMP")), held);
    QVERIFY(!QFile::exists(w.path("receipt.png")));
    // A ".bmp" name is kept as chosen: receipt.BMP would be another file.
    w.dialogs().fileNames.enqueue(w.path("mine.bmp"));
    w.press("Button11");
    QVERIFY(!QFile::exists(w.path("mine.BMP")));
    QCOMPARE(colours(QImage(w.path("mine.bmp"), "BMP")), held);
    QCOMPARE(w.messageTexts().size(), 1);

    // Read into a larger picture: the logo goes into its top-left corner.
    QImage larger(250, 220, QImage::Format_RGB32);
    larger.fill(qRgb(255, 0, 0));
    w.load(larger);
    w.press("Button12");
    QCOMPARE(w.shown().size(), QSize(250, 220));
    QCOMPARE(colours(w.shown().copy(0, 0, 192, 200)), held);
    QCOMPARE(w.shown().pixel(200, 70), qRgb(255, 0, 0));
    QCOMPARE(w.shown().pixel(10, 210), qRgb(255, 0, 0));
}

void LogoTabTest::aReadThatFailsAtOnceLeavesNothingToWriteOrSave() {
    LogoWindow w(false);  // RegisterNumber 0: every read is refused
    w.press("Button12");
    QCOMPARE(w.messageTexts(), QStringList{"Ошибка чтения логотипа! Чтение остановлено."});
    QVERIFY(w.fixture->window().LogoPresent);
    QVERIFY(w.button("Button11")->isEnabled());
    QVERIFY(w.button("Button13")->isEnabled());
    QVERIFY(w.control<QLabel>("Image1")->pixmap().isNull());

    const QString noLogo("Логотипа нет: загрузите его из файла или прочитайте из ЭККА.");
    w.press("Button13");
    QCOMPARE(w.messageTexts().last(), noLogo);
    w.press("Button11");
    QCOMPARE(w.messageTexts().last(), noLogo);
    QCOMPARE(w.dialogs().shown.size(), 3);  // no file dialog
    QVERIFY(w.ecr->commands().isEmpty());
}

void LogoTabTest::workOnAnotherTabGivesSaveAndWriteBackAsTheLogoIs() {
    // The link's work is done on another tab; the logo's save and write come
    // back as the logo is when it ends, before the logo tab is seen again.
    const struct {
        const char* name;
        bool loaded;
        int tab;
        const char* button;
    } rows[] = {
        {"report download, logo loaded", true, kReportsTab, "Button19"},
        {"report download, no logo", false, kReportsTab, "Button19"},
        {"logo read ended on the goods tab", true, 0, nullptr},
    };
    for (const auto& row : rows) {
        LogoWindow w;
        if (row.loaded) w.load(stripes(192, 10));
        QTabWidget* tabs = w.control<QTabWidget>("PageControl1");
        if (row.button) {
            tabs->setCurrentIndex(row.tab);
            w.press(row.button);
        } else {
            // The user turns to the other tab while the read may still run.
            w.button("Button12")->click();
            tabs->setCurrentIndex(row.tab);
            QVERIFY(w.fixture->waitForLink());
        }
        QCOMPARE(tabs->currentIndex(), row.tab);
        QVERIFY2(w.messageTexts().endsWith("Успешно!"), row.name);
        const bool expected = row.loaded || !row.button;  // a read leaves a logo
        QVERIFY2(w.button("Button11")->isEnabled() == expected, row.name);
        QVERIFY2(w.button("Button13")->isEnabled() == expected, row.name);
    }
}

void LogoTabTest::throughAPseudoTerminalTheLogoComesBackDotForDot() {
    const SimProcess ecr({"--model", "mp-50-junior"});
    const QString& device = ecr.path();
    QVERIFY2(device.startsWith("/dev/"), qPrintable(device));

    const QImage original = stripes(192, 200).convertToFormat(QImage::Format_Mono);
    QByteArray saved;
    for (int pass = 0; pass < 2; ++pass) {
        WindowFixture f("[Ports]\r\nCOM3=" + device.toLocal8Bit() + "\r\n");
        f.control<QComboBox>("ComboBox1")->setCurrentIndex(2);
        f.control<QComboBox>("ComboBox2")->setCurrentText("115200");
        f.control<QPushButton>("Button5")->click();
        QVERIFY(f.waitForLink());
        QVERIFY(f.window().Connected);
        f.control<QTabWidget>("PageControl1")->setCurrentIndex(kLogoTab);
        const QString file = f.path("logo.bmp");
        if (pass == 0) {
            // Load and write with one window ...
            QVERIFY(original.save(file, "BMP"));
            f.dialogs().fileNames.enqueue(file);
            f.control<QPushButton>("Button7")->click();
            f.control<QPushButton>("Button13")->click();
        } else {
            // ... read back and save with a fresh one.
            f.control<QPushButton>("Button12")->click();
            QVERIFY(f.waitForLink(60000));
            f.dialogs().fileNames.enqueue(f.path("back"));
            f.control<QPushButton>("Button11")->click();
        }
        QVERIFY(f.waitForLink(60000));
        for (const auto& box : f.dialogs().messages()) QCOMPARE(box.text, QString("Успешно!"));
        if (pass == 1) {
            const QImage back(f.path("back.BMP"), "BMP");
            QCOMPARE(back.size(), QSize(192, 200));
            QCOMPARE(colours(back), colours(original));
        }
    }
}

QTEST_MAIN(LogoTabTest)
#include "logo_tab_test.moc"
