#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "catalogue/grid_model.h"
#include "support/window_fixture.h"

using tabulon::GridModel;
using tabulon::MessageIcon;
using tabulon::ScriptedDialogs;
using tabulon::TableKind;
using tabulon::testing::WindowFixture;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void windowShowsItsStartState();
    void buttonsHaveTheirCaptionsAndStartStates();
    void gridsCarryHeadersAndRowLabelsOnly();
    void parameterFieldsCarryLabelsAndHints();
    void reportsTabIsFilledFromTheSettingsFile();
    void storedModelIsShownWithItsProfile();
    void modelNumberThatIsNotANumberIsReported();
    void initialisationRunsOnce();
    void entryThatWouldSplitARecordIsRefused();
    void textsSetByTheProgramAreNotChecked();
    void aboutBoxIsShownModally();
    void closeEndsTheProgram();
};

void StartupTest::windowShowsItsStartState() {
    WindowFixture f;
    auto& w = f.window();
    QCOMPARE(w.windowTitle(), QString("Программирование Datecs MP-550T[*]"));
    auto* pages = f.control<QTabWidget>("PageControl1");
    QCOMPARE(pages->geometry(), QRect(8, 8, 753, 249));
    QCOMPARE(pages->count(), 10);
    const QStringList captions{
        "Товары",          "Операторы",      "Типы оплат", "Отделы",  "Загол. и рекл. текст",
        "Параметры кассы", "Параметры чека", "Служебная",  "Логотип", "Отчеты"};
    for (int i = 0; i < 10; ++i) QCOMPARE(pages->tabText(i), captions[i]);
    QCOMPARE(pages->currentIndex(), 0);

    QCOMPARE(f.control<QComboBox>("ComboBox1")->currentText(), QString("COM1"));
    QCOMPARE(f.control<QComboBox>("ComboBox1")->count(), 9);
    QCOMPARE(f.control<QComboBox>("ComboBox2")->currentText(), QString("4800"));
    QVERIFY(f.control<QComboBox>("ComboBox2")->isEditable());
    QCOMPARE(f.control<QComboBox>("ComboBox2")->itemText(7), QString("115200"));
    QCOMPARE(f.control<QComboBox>("ComboBox3")->currentText(), QString("1"));
    QCOMPARE(f.control<QComboBox>("ComboBox4")->currentText(), QString("Datecs MP-550T"));
    QVERIFY(!f.control<QComboBox>("ComboBox4")->isEditable());

    auto* state = f.control<QLabel>("Label3");
    QCOMPARE(state->text(), QString("Не подключена"));
    QCOMPARE(state->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(f.control<QGroupBox>("GroupBox1")->title(), QString("Подключить Datecs MP-550T"));
    QCOMPARE(f.control<QGroupBox>("GroupBox2")->title(), QString("Интервал кодирования"));
    QCOMPARE(f.control<QGroupBox>("GroupBox2")->geometry(), QRect(16, 288, 745, 49));
    QCOMPARE(f.control<QCheckBox>("CheckBox1")->text(), QString("Использовать"));
    QVERIFY(!f.control<QCheckBox>("CheckBox1")->isChecked());
    QCOMPARE(f.control<QLineEdit>("Edit2")->text(), QString("1"));
    QCOMPARE(f.control<QLineEdit>("Edit3")->text(), QString("10000"));
    QCOMPARE(f.control<QLineEdit>("Edit4")->text(), QString());
    QCOMPARE(f.control<QLabel>("Label5")->text(), QString("   "));
    QCOMPARE(f.control<QProgressBar>("ProgressBar1")->value(), 0);
    QCOMPARE(f.control<QProgressBar>("ProgressBar1")->maximum(), 100);
    QVERIFY(f.control<QLineEdit>("Edit1")->isReadOnly());
    QCOMPARE(f.control<QLineEdit>("Edit1")->text(), QString());
    QCOMPARE(w.RegisterNumber, 0);
    QVERIFY(!w.Connected);
    QVERIFY(!w.LogoPresent);
    f.screenshot("startup");
}

void StartupTest::buttonsHaveTheirCaptionsAndStartStates() {
    WindowFixture f;
    struct Button {
        const char* name;
        const char* caption;
        bool enabled;
        QRect place;  // on its tab; the rows below the tabs are the layout test's
    };
    const Button buttons[] = {
        {"Button15", "Запись SD карты (Neon)", true, {}},
        {"Button14", "Чтение SD карты (Neon)", true, {}},
        {"Button16", "Очистить таблицу", true, {}},
        {"Button6", "Стоп", false, {}},
        {"Button3", "Открыть", true, {}},
        {"Button2", "Сохранить", true, {}},
        {"Button4", "Записать в ЭККА", false, {}},
        {"Button9", "Прочитать из ЭККА", false, {}},
        {"Button8", "Очистить", false, {}},
        {"Button10", "О программе", true, {}},
        {"Button1", "Закрыть", true, {}},
        {"Button7", "Загрузить логотип из файла", true, {264, 56, 169, 25}},
        {"Button11", "Сохранить логотип в файл", false, {488, 56, 169, 25}},
        {"Button13", "Записать логотип в ЭККА", false, {264, 96, 169, 25}},
        {"Button12", "Прочитать логотип из ЭККА", true, {488, 96, 169, 25}},
        {"Button17", "Установить все", true, {400, 8, 161, 25}},
        {"Button18", "Очистить все", true, {400, 40, 161, 25}},
        {"Button19", "Чтение отчетов", true, {576, 196, 161, 25}},
    };
    for (const Button& b : buttons) {
        auto* button = f.control<QPushButton>(b.name);
        QVERIFY2(button, b.name);
        QCOMPARE(button->text(), QString(b.caption));
        if (!b.place.isNull()) QCOMPARE(button->geometry(), b.place);
        QVERIFY2(button->isEnabled() == b.enabled, b.name);
    }
    QCOMPARE(f.control<QPushButton>("Button5")->text(), QString("Подключить"));
    QVERIFY(f.control<QPushButton>("Button5")->isEnabled());
}

void StartupTest::gridsCarryHeadersAndRowLabelsOnly() {
    WindowFixture f;
    GridModel* goods = f.window().grid(TableKind::Goods);
    QCOMPARE(goods->cell(0, 0), QString("Ряд"));
    QCOMPARE(goods->cell(0, 10), QString("Штрих-код"));
    QCOMPARE(goods->cell(1, 0), QString("1"));
    QCOMPARE(goods->cell(10000, 0), QString("10000"));
    QCOMPARE(goods->rowCount(), 10000);
    QCOMPARE(goods->columnCount(), 10);
    QCOMPARE(goods->headerData(1, Qt::Horizontal).toString(), QString("Название"));
    QCOMPARE(goods->headerData(9999, Qt::Vertical).toString(), QString("10000"));
    for (int row = 1; row <= 10000; ++row)
        for (int column = 1; column <= 10; ++column)
            if (!goods->cell(row, column).isEmpty()) QFAIL("a goods cell is not empty");

    GridModel* header = f.window().grid(TableKind::HeaderText);
    QCOMPARE(header->cell(0, 0), QString("#"));
    QCOMPARE(header->cell(0, 1), QString("Заголовок/рекламный текст (38 символов)"));
    QCOMPARE(header->cell(1, 0), QString("Заголовок 1"));
    QCOMPARE(header->cell(8, 0), QString("Рекламный текст 4"));
    QCOMPARE(header->cell(12, 0), QString("Сервисный текст 4"));

    QCOMPARE(f.window().grid(TableKind::PaymentTypes)->cell(0, 2),
             QString("Разреш. для возвр. (0-1)"));
    QCOMPARE(f.window().grid(TableKind::Operators)->cell(20, 0), QString("20"));
    QCOMPARE(f.window().grid(TableKind::Departments)->cell(0, 1),
             QString("Название отдела (22 символа)"));

    const struct {
        const char* name;
        int rows, columns, rowHeight;
    } views[] = {{"StringGrid1", 10000, 10, 16},
                 {"StringGrid2", 20, 3, 16},
                 {"StringGrid3", 5, 5, 24},
                 {"StringGrid4", 20, 1, 16},
                 {"StringGrid5", 12, 1, 20}};
    for (const auto& v : views) {
        auto* view = f.control<QTableView>(v.name);
        QVERIFY2(view, v.name);
        QCOMPARE(view->model()->rowCount(), v.rows);
        QCOMPARE(view->model()->columnCount(), v.columns);
        QCOMPARE(view->verticalHeader()->defaultSectionSize(), v.rowHeight);
        QVERIFY(view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable);
        QCOMPARE(view->selectionMode(), QAbstractItemView::ContiguousSelection);
    }
}

void StartupTest::parameterFieldsCarryLabelsAndHints() {
    WindowFixture f;
    const QString modeHint =
        "0 - offline;\n1 - offline ;\n4 - режим подкачки;\n"
        "5 - inline с подкачкой и offline в регистрации";
    QCOMPARE(f.control<QLineEdit>("Edit12")->toolTip(), modeHint);
    QCOMPARE(f.control<QLineEdit>("Edit19")->toolTip(), modeHint);
    QCOMPARE(f.control<QLineEdit>("Edit25")->toolTip(),
             QString("0 - стандартная высота;\n1 - уменьшенная вісота"));
    QCOMPARE(f.control<QLineEdit>("Edit24")->toolTip(), f.control<QLineEdit>("Edit13")->toolTip());
    QCOMPARE(f.control<QLineEdit>("Edit35")->toolTip(),
             QString("от 0 до 10000 (используется только если в поле 8 таблицы стоит 1)"));
    QCOMPARE(f.control<QLineEdit>("Edit5")->toolTip(), QString("1 - 99"));
    QCOMPARE(f.control<QLabel>("Label9")->text(), QString("Номер аппарата:"));
    QCOMPARE(f.control<QLabel>("Label16")->text(), QString("Режим работы ПК:"));
    QCOMPARE(f.control<QLabel>("Label40")->text(), QString("Интерфейс:"));
    QCOMPARE(f.control<QLabel>("Label41")->text(), QString("Режим работы  с весами Digi:"));
    QCOMPARE(f.control<QLabel>("Label42")->text(), QString());
    QVERIFY(f.control<QLineEdit>("Edit37")->isHidden());
    QVERIFY(!f.control<QLineEdit>("Edit36")->isHidden());
    QCOMPARE(f.control<QLineEdit>("Edit5")->width(), 121);
    for (int n : {5, 6, 15, 23, 25, 36})
        QCOMPARE(f.control<QLineEdit>(qPrintable(QString("Edit%1").arg(n)))->text(), QString());
}

void StartupTest::reportsTabIsFilledFromTheSettingsFile() {
    WindowFixture f(
        "[Communication]\r\nSpeed=19200\r\nSerialPort=com3\r\n[Reports]\r\nArt=a.dat\r\n"
        "Directory=/srv/rep\r\n");
    QCOMPARE(f.control<QLineEdit>("Edit38")->text(), QString("a.dat"));
    QCOMPARE(f.control<QLineEdit>("Edit39")->text(), QString("RepOtd.dat"));
    QCOMPARE(f.control<QLineEdit>("Edit45")->text(), QString("RepOperac.dat"));
    QCOMPARE(f.control<QLineEdit>("DirectoryEdit1")->text(),
             QString("/srv/rep") + QDir::separator());
    QCOMPARE(f.control<QLineEdit>("Edit41")->text(), QString(";"));
    QCOMPARE(f.control<QComboBox>("ComboBox2")->currentText(), QString("19200"));
    QCOMPARE(f.control<QComboBox>("ComboBox1")->currentText(), QString("COM3"));
    QCOMPARE(f.control<QCheckBox>("CheckBox3")->text(), QString("обороты по артикулам"));
    QCOMPARE(f.control<QCheckBox>("CheckBox11")->geometry(), QRect(24, 152, 257, 17));
}

void StartupTest::storedModelIsShownWithItsProfile() {
    {
        WindowFixture f("[TypeECR]\r\nECR=1\r\n");
        QCOMPARE(f.control<QComboBox>("ComboBox4")->currentText(), QString("Datecs MP-50 Junior"));
        QCOMPARE(f.window().windowTitle(), QString("Программирование Datecs MP-50 Junior[*]"));
        QCOMPARE(f.control<QGroupBox>("GroupBox1")->title(),
                 QString("Подключить Datecs MP-50 Junior"));
        QCOMPARE(f.control<QTableView>("StringGrid1")->model()->rowCount(), 5000);
        QCOMPARE(f.control<QLineEdit>("Edit3")->text(), QString("5000"));
        QCOMPARE(f.control<QLabel>("Label13")->text(),
                 QString("Выкл. аппарата во время регистр.:"));
        QCOMPARE(f.control<QLabel>("Label39")->text(), QString());
        QVERIFY(f.control<QLineEdit>("Edit24")->isHidden());
        QVERIFY(!f.control<QLineEdit>("Edit37")->isHidden());
        QCOMPARE(f.control<QLabel>("Label42")->text(), QString("Режим работы с весами Digi:"));
        QCOMPARE(f.iniBytes(), QByteArray("[TypeECR]\r\nECR=1\r\n"));
    }
    {
        WindowFixture f("[TypeECR]\r\nECR=2\r\n");
        QCOMPARE(f.window().windowTitle(), QString("Программирование Neon[*]"));
        QCOMPARE(f.control<QTableView>("StringGrid1")->model()->rowCount(), 10000);
        QCOMPARE(f.control<QTableView>("StringGrid3")->model()->rowCount(), 4);
        QCOMPARE(f.control<QTableView>("StringGrid5")->model()->rowCount(), 12);
        QCOMPARE(f.control<QLabel>("Label39")->text(), QString("Интерфейс:"));
        QCOMPARE(f.window().grid(TableKind::HeaderText)->cell(12, 0), QString("Сервис 4"));
    }
    {
        // The first model's layout is the start-up layout; nothing relabels it.
        WindowFixture f("[TypeECR]\r\nECR=0\r\n");
        QCOMPARE(f.window().windowTitle(), QString("Программирование Datecs MP-550T[*]"));
        QCOMPARE(f.window().grid(TableKind::HeaderText)->cell(12, 0), QString("Сервисный текст 4"));
    }
}

void StartupTest::modelNumberThatIsNotANumberIsReported() {
    WindowFixture f("[TypeECR]\r\nECR=abc\r\n");
    const auto boxes = f.dialogs().messages();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QString("'abc' is not a valid integer value"));
    QCOMPARE(boxes[0].icon, MessageIcon::Stop);
    QCOMPARE(f.control<QComboBox>("ComboBox4")->currentIndex(), 0);
    QCOMPARE(f.iniBytes(), QByteArray("[TypeECR]\r\nECR=abc\r\n"));
}

void StartupTest::initialisationRunsOnce() {
    WindowFixture f;
    f.control<QTabWidget>("PageControl1")->setCurrentIndex(3);
    f.control<QComboBox>("ComboBox3")->setCurrentIndex(2);
    f.control<QComboBox>("ComboBox1")->setCurrentIndex(4);
    f.window().grid(TableKind::Goods)->setCell(0, 0, "changed");
    QFile::remove(f.directory() + "/Tabulon.ini");

    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&f.window(), &activation);
    f.window().FormActivate();
    QTest::qWait(10);

    QCOMPARE(f.control<QTabWidget>("PageControl1")->currentIndex(), 3);
    QCOMPARE(f.control<QComboBox>("ComboBox3")->currentIndex(), 2);
    QCOMPARE(f.control<QComboBox>("ComboBox1")->currentIndex(), 4);
    QCOMPARE(f.window().grid(TableKind::Goods)->cell(0, 0), QString("changed"));
    QVERIFY(!QFile::exists(f.directory() + "/Tabulon.ini"));
}

void StartupTest::entryThatWouldSplitARecordIsRefused() {
    WindowFixture f;
    auto* pages = f.control<QTabWidget>("PageControl1");
    pages->setCurrentIndex(5);
    auto* edit = f.control<QLineEdit>("Edit5");
    edit->setFocus();
    QTest::keyClicks(edit, "1;2");
    QTRY_COMPARE(f.dialogs().messages().size(), 1);
    QCOMPARE(edit->text(), QString("12"));
    const auto refusal = f.dialogs().messages().constFirst();
    QCOMPARE(refusal.caption, QString("Недопустимый ввод"));
    QCOMPARE(refusal.text, QString("Символ \";\" недопустим: он разделяет поля записи."));

    QApplication::clipboard()->setText("a\r\nb");
    edit->paste();
    QTRY_COMPARE(f.dialogs().messages().size(), 2);
    QCOMPARE(edit->text(), QString("12"));
    QApplication::clipboard()->setText("中");
    edit->paste();
    QTRY_COMPARE(f.dialogs().messages().size(), 3);
    QCOMPARE(f.dialogs().messages().at(2).text,
             QString("Символ \"中\" недопустим: его нет в кодировке Windows-1251."));
    QApplication::clipboard()->setText("Ёжик №5");
    edit->paste();
    QCOMPARE(edit->text(), QString("12Ёжик №5"));

    GridModel* goods = f.window().grid(TableKind::Goods);
    QVERIFY(goods->setData(goods->index(0, 1), "Хлеб"));
    QVERIFY(!goods->setData(goods->index(0, 1), "Хлеб;1"));
    QTRY_COMPARE(f.dialogs().messages().size(), 4);
    QCOMPARE(goods->cell(1, 2), QString("Хлеб"));
    QCOMPARE(f.dialogs().messages().size(), 4);

    // Typed into a grid cell: the refused character never reaches the cell.
    pages->setCurrentIndex(0);
    auto* view = f.control<QTableView>("StringGrid1");
    view->setCurrentIndex(goods->index(1, 0));
    view->edit(goods->index(1, 0));
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(goods->index(1, 0)));
    QVERIFY(editor);
    QTest::keyClicks(editor, "7;5");
    QCOMPARE(editor->text(), QString("75"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(goods->cell(2, 1), QString("75"));
    QTRY_COMPARE(f.dialogs().messages().size(), 5);
}

void StartupTest::textsSetByTheProgramAreNotChecked() {
    WindowFixture f;
    f.window().showTab(6);
    // A value read from a file as it stands, line break included.
    f.window().parameterValues().setFieldText("Edit15", "1\r2");
    auto* edit = f.control<QLineEdit>("Edit15");
    QCOMPARE(edit->text(), QString("1\r2"));
    QTest::qWait(10);
    QCOMPARE(f.dialogs().messages().size(), 0);

    // Typing around it is checked for what is typed only.
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, "3");
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QString("\r23"));
    QTest::qWait(10);
    QCOMPARE(f.dialogs().messages().size(), 0);
    QTest::keyClicks(edit, ";");
    QTRY_COMPARE(f.dialogs().messages().size(), 1);
    QCOMPARE(edit->text(), QString("\r23"));
    QTest::keyClicks(edit, "4");
    QCOMPARE(edit->text(), QString("4\r23"));
    QTest::qWait(10);
    QCOMPARE(f.dialogs().messages().size(), 1);

    // Undone back to the value as it was loaded, and still checked after.
    f.window().parameterValues().setFieldText("Edit15", "5\n6");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QString());
    edit->undo();
    QCOMPARE(edit->text(), QString("5\n6"));
    QTest::keyClicks(edit, ";");
    QTRY_COMPARE(f.dialogs().messages().size(), 2);
    QCOMPARE(edit->text(), QString("5\n6"));

    // A grid cell that holds a line break opens in its editor as it is.
    GridModel* goods = f.window().grid(TableKind::Goods);
    goods->setCell(1, 2, "Хлеб\nржаной");
    f.window().showTab(0);
    auto* view = f.control<QTableView>("StringGrid1");
    view->setCurrentIndex(goods->index(0, 1));
    view->edit(goods->index(0, 1));
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(goods->index(0, 1)));
    QVERIFY(editor);
    QCOMPARE(editor->text(), QString("Хлеб\nржаной"));
    QTest::qWait(10);
    QCOMPARE(f.dialogs().messages().size(), 2);
}

void StartupTest::aboutBoxIsShownModally() {
    WindowFixture f;
    QRect closePlace;
    bool modal = false;
    QString closeText;
    QPoint offCentre;
    f.dialogs().onModal = [&](QDialog& box) -> int {
        offCentre = box.geometry().center() - f.window().geometry().center();
        modal = box.isModal();
        auto* close = box.findChild<QPushButton*>();
        closePlace = close->geometry();
        closeText = close->text();
        close->click();
        return box.result();
    };
    f.control<QPushButton>("Button10")->click();
    QCOMPARE(f.dialogs().shown.size(), 1);
    QCOMPARE(f.dialogs().shown[0].kind, ScriptedDialogs::Kind::Modal);
    QCOMPARE(f.dialogs().shown[0].windowTitle, QString("О программе"));
    QVERIFY2(offCentre.manhattanLength() <= 2, "the box is not centred over the window");
    QVERIFY(modal);
    QCOMPARE(closePlace, QRect(256, 128, 75, 25));
    QCOMPARE(closeText, QString("Закрыть"));
    QCOMPARE(f.window().windowTitle(), QString("Программирование Datecs MP-550T[*]"));
}

void StartupTest::closeEndsTheProgram() {
    WindowFixture f;
    QVERIFY(f.window().isVisible());
    f.control<QPushButton>("Button1")->click();
    QVERIFY(!f.window().isVisible());
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
