#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "catalogue/grid_model.h"
#include "sim/tables.h"
#include "support/connected_window.h"
#include "support/grid_marks.h"
#include "text/cp1251.h"

using tabulon::GridModel;
using tabulon::MessageButtons;
using tabulon::MessageIcon;
using tabulon::TableKind;
using tabulon::testing::cellMarks;
using tabulon::testing::ConnectedWindow;

namespace {

// Goods records 1..20 (table 0) as the register holds them.
QStringList registerRecords(ConnectedWindow& w) {
    QStringList records;
    for (int record = 1; record <= 20; ++record) {
        QByteArray fields;
        w.ecr->tables().read(0, record, fields);
        records << tabulon::text::fromCp1251(fields);
    }
    return records;
}

}  // namespace

class RegisterComparisonTest : public QObject {
    Q_OBJECT
private slots:
    void onlyTheRowsTheRegisterHoldsOtherwiseAreWritten();
};

// Read, edit, compare, write the differing rows: the register ends up holding
// the grid, and the rows it held already never went over the line.
void RegisterComparisonTest::onlyTheRowsTheRegisterHoldsOtherwiseAreWritten() {
    ConnectedWindow w;
    QVERIFY(w.connected);
    GridModel& goods = *w.window().grid(TableKind::Goods);
    const auto type = [&](int row, int column, const QString& text) {
        goods.setData(goods.index(row - 1, column - 1), text);
    };
    // Goods rows 1..20 into records 1..20.
    w.control<QCheckBox>("CheckBox1")->setChecked(true);
    w.control<QLineEdit>("Edit2")->setText("1");
    w.control<QLineEdit>("Edit3")->setText("20");
    w.control<QLineEdit>("Edit4")->setText("1");

    // Nothing is known of the register before the table was read.
    w.control<QComboBox>("ComboBoxWriteRows")->setCurrentIndex(2);
    QVERIFY(w.press("Button4"));
    QCOMPARE(w.ecr->commands().size(), 0);
    QCOMPARE(w.dialogs().messages().last().icon, MessageIcon::Stop);
    QCOMPARE(w.dialogs().messages().last().text,
             QString("Таблица \"Товары\" не сравнивалась с ЭККА: нажмите \"Сравнить с ЭККА\"."));

    QVERIFY(w.press("Button9"));
    const QStringList held = registerRecords(w);
    type(2, 3, "15.00");
    type(5, 2, "Масло 82%");
    type(7, 3, "33.00");
    type(7, 3, "32.00");  // back as it was read
    QCOMPARE(cellMarks(goods, 20), (QStringList{"2.3e", "5.2e"}));
    w.ecr->tables().write(0, 3, tabulon::sim::cp1251("3;Молоко 2.5% 1л;25.00;"));
    w.ecr->tables().write(0, 9, tabulon::sim::cp1251("9;Борошно 1кг;"));

    QVERIFY(w.press("ButtonCompare"));
    w.fixture->screenshot("compared");
    QCOMPARE(cellMarks(goods, 20), (QStringList{"2.3d", "3.3d", "5.2d", "9.2d"}));
    QCOMPARE(goods.data(goods.index(2, 2), Qt::ToolTipRole).toString(), QString("В ЭККА: 25.00"));
    QCOMPARE(goods.cell(3, 3), QString("24.90"));  // the grid stays as it was
    const auto ended = w.dialogs().messages().last();
    QCOMPARE(ended.text, QString("Отличается 4 строки из 20: 2, 3, 5, 9"));
    QCOMPARE(ended.icon, MessageIcon::None);
    QCOMPARE(ended.buttons, MessageButtons::Ok);

    w.ecr->clearCommands();
    w.control<QComboBox>("ComboBoxWriteRows")->setCurrentIndex(2);
    QVERIFY(w.press("Button4"));
    const auto shown = w.dialogs().messages();
    QCOMPARE(shown[shown.size() - 2].text,
             QString("Таблица \"Товары\": будет записано 4 строки из 20. Продолжить ?"));
    QCOMPARE(shown[shown.size() - 2].buttons, MessageButtons::YesNo);
    QCOMPARE(shown[shown.size() - 2].icon, MessageIcon::Warning);
    QStringList sent;
    for (const QByteArray& command : w.ecr->commands()) sent << tabulon::text::fromCp1251(command);
    QCOMPARE(sent, (QStringList{
                       "W0;2;2;Батон нарізний;15.00;100.000;1;1;1;1;0;4820000000002;",
                       "W0;3;3;Молоко 2.5% 1л;24.90;100.000;2;1;1;1;0;4820000000003;",
                       "W0;5;5;Масло 82%;89.00;100.000;2;1;1;1;0;4820000000005;",
                       "W0;9;9;Борошно 2кг;27.80;100.000;3;1;1;1;0;4820000000009;",
                   }));
    QStringList expected = held;
    for (const QString& command : sent)
        expected[command.section(';', 1, 1).toInt() - 1] = command.section(';', 2);
    QCOMPARE(registerRecords(w), expected);
    QCOMPARE(cellMarks(goods, 20), QStringList());
    QVERIFY(!w.window().isWindowModified());

    // The edited rows went too: there is none left.
    w.control<QComboBox>("ComboBoxWriteRows")->setCurrentIndex(1);
    QVERIFY(w.press("Button4"));
    QCOMPARE(w.dialogs().messages().last().text,
             QString("Таблица \"Товары\": нет строк для записи."));
    QCOMPARE(w.ecr->commands().size(), 4);
}

QTEST_MAIN(RegisterComparisonTest)
#include "register_comparison_test.moc"
