#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "catalogue/grid_model.h"
#include "support/window_fixture.h"

using tabulon::GridModel;
using tabulon::TableKind;
using tabulon::testing::WindowFixture;

namespace {

void pickModel(WindowFixture& f, int index) {
    auto* models = f.control<QComboBox>("ComboBox4");
    models->setCurrentIndex(index);
    emit models->activated(index);
}

QString labelText(WindowFixture& f, const char* name) {
    return f.control<QLabel>(name)->text();
}

}  // namespace

class ModelProfileTest : public QObject {
    Q_OBJECT
private slots:
    void smallerGoodsTableHidesRowsWithoutClearingThem();
    void neonShowsTwelveHeaderRowsAndFourPaymentTypes();
    void hiddenParameterFieldsKeepTheirTexts();
    void labelsFollowTheModel_data();
    void labelsFollowTheModel();
};

void ModelProfileTest::smallerGoodsTableHidesRowsWithoutClearingThem() {
    WindowFixture f;
    GridModel* goods = f.window().grid(TableKind::Goods);
    goods->setCell(7000, 2, "Молоко");
    goods->setCell(5000, 1, "5000");
    f.control<QLineEdit>("Edit2")->setText("10");
    f.control<QLineEdit>("Edit4")->setText("3");

    pickModel(f, 1);
    QCOMPARE(f.window().windowTitle(), QString("Программирование Datecs MP-50 Junior[*]"));
    QCOMPARE(f.control<QGroupBox>("GroupBox1")->title(), QString("Подключить Datecs MP-50 Junior"));
    QCOMPARE(f.control<QTableView>("StringGrid1")->model()->rowCount(), 5000);
    QCOMPARE(f.control<QLineEdit>("Edit3")->text(), QString("5000"));
    QCOMPARE(goods->cell(7000, 2), QString("Молоко"));

    f.control<QLineEdit>("Edit3")->setText("123");
    pickModel(f, 0);
    QCOMPARE(f.control<QTableView>("StringGrid1")->model()->rowCount(), 10000);
    auto* view = f.control<QTableView>("StringGrid1");
    QCOMPARE(view->model()->data(view->model()->index(6999, 1)).toString(), QString("Молоко"));
    QCOMPARE(goods->headerData(6999, Qt::Vertical).toString(), QString("7000"));
    QCOMPARE(f.control<QLineEdit>("Edit3")->text(), QString("10000"));
    QCOMPARE(f.control<QLineEdit>("Edit2")->text(), QString("10"));
    QCOMPARE(f.control<QLineEdit>("Edit4")->text(), QString("3"));
}

void ModelProfileTest::neonShowsTwelveHeaderRowsAndFourPaymentTypes() {
    WindowFixture f;
    GridModel* payments = f.window().grid(TableKind::PaymentTypes);
    payments->setCell(5, 3, "Переказ");
    pickModel(f, 1);
    QCOMPARE(f.control<QTableView>("StringGrid5")->model()->rowCount(), 7);
    pickModel(f, 2);
    QCOMPARE(f.window().windowTitle(), QString("Программирование Neon[*]"));
    QCOMPARE(f.control<QTableView>("StringGrid5")->model()->rowCount(), 12);
    QCOMPARE(f.control<QTableView>("StringGrid3")->model()->rowCount(), 4);
    QCOMPARE(f.control<QTableView>("StringGrid1")->model()->rowCount(), 10000);
    QCOMPARE(payments->cell(5, 3), QString("Переказ"));

    GridModel* header = f.window().grid(TableKind::HeaderText);
    QCOMPARE(header->cell(0, 0), QString("#"));
    QCOMPARE(header->cell(4, 0), QString("Заголовок 4"));
    QCOMPARE(header->cell(5, 0), QString("Рекламный текст 1"));
    for (int row = 9; row <= 12; ++row)
        QCOMPARE(header->cell(row, 0), QString("Сервис %1").arg(row - 8));
    pickModel(f, 0);
    QCOMPARE(header->cell(12, 0), QString("Сервис 4"));
    QCOMPARE(f.control<QTableView>("StringGrid3")->model()->rowCount(), 5);
}

void ModelProfileTest::hiddenParameterFieldsKeepTheirTexts() {
    WindowFixture f;
    f.control<QLineEdit>("Edit24")->setText("3");
    f.control<QLineEdit>("Edit35")->setText("7");
    f.control<QLineEdit>("Edit37")->setText("2");
    pickModel(f, 1);
    QVERIFY(f.control<QLineEdit>("Edit24")->isHidden());
    QVERIFY(f.control<QLineEdit>("Edit35")->isHidden());
    QVERIFY(!f.control<QLineEdit>("Edit37")->isHidden());
    QCOMPARE(labelText(f, "Label39"), QString());
    QCOMPARE(labelText(f, "Label40"), QString());
    pickModel(f, 0);
    QVERIFY(!f.control<QLineEdit>("Edit24")->isHidden());
    QVERIFY(!f.control<QLineEdit>("Edit35")->isHidden());
    QVERIFY(f.control<QLineEdit>("Edit37")->isHidden());
    QCOMPARE(f.control<QLineEdit>("Edit24")->text(), QString("3"));
    QCOMPARE(f.control<QLineEdit>("Edit35")->text(), QString("7"));
    QCOMPARE(f.control<QLineEdit>("Edit37")->text(), QString("2"));
    QCOMPARE(labelText(f, "Label39"), QString("Адаптер:"));
}

void ModelProfileTest::labelsFollowTheModel_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("cashLabels");     // Label13-16, Label39, Label40
    QTest::addColumn<QStringList>("serviceLabels");  // Label38, Label41, Label42
    QTest::addColumn<QString>("visible");            // which of Edit24, Edit35, Edit37 show
    QTest::newRow("Datecs MP-550T")
        << 0
        << QStringList{"Оплата наличными:",
                       "Регистрация наличного количества:",
                       "Не обнулять обороты товаров:",
                       "Режим работы ПК:",
                       "Адаптер:",
                       "Интерфейс:"}
        << QStringList{"Яркость матричного индикатора:", "Режим работы  с весами Digi:", ""}
        << "110";
    QTest::newRow("Datecs MP-50 Junior")
        << 1
        << QStringList{"Выкл. аппарата во время регистр.:",
                       "Не используется:",
                       "Оплата наличными:",
                       "Режим работы с ПК:",
                       "",
                       ""}
        << QStringList{"Режим порта 1:", "Режим порта 2:", "Режим работы с весами Digi:"} << "001";
    QTest::newRow("Neon") << 2
                          << QStringList{"Оплата наличными:",
                                         "Выкл. аппарата во время регистр.:",
                                         "Не обнулять обороты товаров:",
                                         "Режим работы с ПК:",
                                         "Интерфейс:",
                                         ""}
                          << QStringList{"Режим работы с весами Digi:",
                                         "Макс. допуст. сумма по чеку:", ""}
                          << "100";
}

void ModelProfileTest::labelsFollowTheModel() {
    QFETCH(int, model);
    QFETCH(QStringList, cashLabels);
    QFETCH(QStringList, serviceLabels);
    QFETCH(QString, visible);
    WindowFixture f;
    // Start from another model so that every label is really rewritten.
    pickModel(f, (model + 1) % 3);
    pickModel(f, model);
    const char* cash[] = {"Label13", "Label14", "Label15", "Label16", "Label39", "Label40"};
    for (int i = 0; i < 6; ++i) QCOMPARE(labelText(f, cash[i]), cashLabels[i]);
    const char* service[] = {"Label38", "Label41", "Label42"};
    for (int i = 0; i < 3; ++i) QCOMPARE(labelText(f, service[i]), serviceLabels[i]);
    const char* edits[] = {"Edit24", "Edit35", "Edit37"};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(!f.control<QLineEdit>(edits[i])->isHidden(), visible[i] == QLatin1Char('1'));
    QVERIFY(!f.control<QLineEdit>("Edit34")->isHidden());
    QVERIFY(!f.control<QLineEdit>("Edit36")->isHidden());
    QCOMPARE(labelText(f, "Label9"), QString("Номер аппарата:"));
    QCOMPARE(labelText(f, "Label28"), QString("Тип протокола:"));
}

QTEST_MAIN(ModelProfileTest)
#include "model_profile_test.moc"
