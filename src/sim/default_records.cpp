#include <array>

#include "sim/tables.h"
#include "text/cp1251.h"

// What a register holds before anyone programs it: a small shop's goods,
// operators, payment types and departments, the usual header, a simple logo,
// and a shift's worth of turnover in the report tables.

namespace tabulon::sim {

namespace {

struct Goods {
    const char16_t* name;
    int priceKop;
    int department;
};

constexpr std::array<Goods, 20> kGoods{{
    {u"Хліб білий", 1250, 1},       {u"Батон нарізний", 1400, 1},
    {u"Молоко 2.5% 1л", 2490, 2},   {u"Кефір 1% 0.5л", 1530, 2},
    {u"Масло вершкове", 8900, 2},   {u"Сир твердий", 14500, 2},
    {u"Яйця С1 10шт", 3200, 2},     {u"Цукор 1кг", 2150, 3},
    {u"Борошно 2кг", 2780, 3},      {u"Гречка 1кг", 3860, 3},
    {u"Рис 1кг", 3340, 3},          {u"Олія соняшникова", 4520, 3},
    {u"Сіль 1кг", 790, 3},          {u"Чай чорний 25п", 2990, 3},
    {u"Кава мелена 250г", 9900, 3}, {u"Вода мінеральна", 1460, 3},
    {u"Сік яблучний 1л", 3170, 3},  {u"Печиво 300г", 2450, 3},
    {u"Шоколад 100г", 3680, 3},     {u"Пакет", 150, 3},
}};

QByteArray money(qint64 kopecks) {
    return QByteArray::number(kopecks / 100) + '.' +
           QByteArray::number(kopecks % 100).rightJustified(2, '0');
}

QByteArray quantity(int units) {
    return QByteArray::number(units) + ".000";
}

QByteArray n(int value) {
    return QByteArray::number(value);
}

// Units sold of goods item `record` in the simulated shift.
int unitsSold(int record) {
    return record <= int(kGoods.size()) ? (record * 7) % 23 + 1 : 0;
}

QByteArray goodsRecord(int record) {
    if (record > int(kGoods.size())) return "0; ;0.00;0.000;1;1;1;1;0;0;";
    const Goods& goods = kGoods[record - 1];
    return n(record) + ';' + cp1251(QString::fromUtf16(goods.name)) + ';' + money(goods.priceKop) +
           ";100.000;" + n(goods.department) + ";1;1;1;0;48200000000" +
           n(record).rightJustified(2, '0') + ';';
}

QByteArray headerRecord(Model model, int record) {
    switch (record) {
        case 1:
            return QByteArray(12, ' ') + cp1251(QStringLiteral("Україна;"));
        case 2:
            return QByteArray(12, ' ') + cp1251(QStringLiteral("м.Київ;"));
        case 3:
            switch (model) {
                case Model::DatecsMp550T:
                    return QByteArray(12, ' ') + cp1251(QStringLiteral("МР-550Т;"));
                case Model::DatecsMp50Junior:
                    return QByteArray(9, ' ') + "MP-50 Junior;";
                case Model::Neon:
                    return QByteArray(17, ' ') + "Neon;";
            }
            break;
        case 5:
            return QByteArray(6, ' ') + cp1251(QStringLiteral("Дякуємо за покупку!;"));
        case 6:
            return QByteArray(4, ' ') + cp1251(QStringLiteral("Чекаємо на Вас знову!;"));
    }
    return ";";
}

QByteArray paymentRecord(int record) {
    static const std::array<const char16_t*, 5> kPayments{u"1;1;Готівка;1;0;", u"1;1;Чек;0;0;",
                                                          u"1;1;Кредит;0;0;", u"1;1;Картка;0;0;",
                                                          u"1;1;Переказ;0;0;"};
    return cp1251(QString::fromUtf16(kPayments[record - 1]));
}

QByteArray firstFields(QByteArrayView fields, int count) {
    qsizetype end = 0;
    for (int i = 0; i < count; ++i) end = fields.indexOf(';', end) + 1;
    return fields.first(end).toByteArray();
}

// A framed band with a hatched middle: dense enough to show on a receipt.
QByteArray logoRecord(int record) {
    const int y = record - 1;
    std::array<int, 24> bytes{};
    if (y == 70 || y == 129) {
        for (int k = 3; k <= 20; ++k) bytes[k] = 255;
    } else if (y > 70 && y < 129) {
        bytes[3] = 0x80;
        bytes[20] = 0x01;
        if (y >= 90 && y < 110) {
            for (int k = 5; k <= 18; ++k) bytes[k] = y % 2 ? 0xAA : 0x55;
        }
    }
    QByteArray text;
    for (int value : bytes) text += n(value) + ';';
    return text;
}

QByteArray articleTurnover(int record) {
    if (record > int(kGoods.size())) return n(record) + "; ;0.000;0.00;";
    const int units = unitsSold(record);
    return n(record) + ';' + cp1251(QString::fromUtf16(kGoods[record - 1].name)) + ';' +
           quantity(units) + ';' + money(qint64(units) * kGoods[record - 1].priceKop) + ';';
}

QByteArray departmentTurnover(int record) {
    int units = 0;
    qint64 sum = 0;
    for (int item = 1; item <= int(kGoods.size()); ++item) {
        if (kGoods[item - 1].department != record) continue;
        units += unitsSold(item);
        sum += qint64(unitsSold(item)) * kGoods[item - 1].priceKop;
    }
    return n(record) + ';' + quantity(units) + ';' + money(sum) + ';';
}

}  // namespace

QByteArray cp1251(const QString& text) {
    return text::toCp1251(text).value_or(QByteArray());
}

QByteArray defaultRecord(Model model, int table, int record) {
    switch (table) {
        case 0:
            return goodsRecord(record);
        case 2: {
            const QByteArray all = "1;0;1;50;1;0;0;1;4;0;1;0;0;";
            return firstFields(all, model == Model::DatecsMp550T ? 13
                                    : model == Model::Neon       ? 12
                                                                 : 11);
        }
        case 3:
            return n(record) + ';' + cp1251(QStringLiteral("Оператор")) + n(record) + ";0;";
        case 5:
            return "1;0;1;1;0;0;1;40;";
        case 6:
            return headerRecord(model, record);
        case 8:
            return firstFields("0;0;0;0;1;0;0;0;0;5;0;0;",
                               model == Model::DatecsMp50Junior ? 12 : 11);
        case 9:
            return paymentRecord(record);
        case 10:
            return cp1251(QStringLiteral("Відділ ")) + n(record) + ';';
        case 136:
            return logoRecord(record);
        case 65:
            return articleTurnover(record);
        case 74:
            return departmentTurnover(record);
        case 75:
            return record <= 3 ? departmentTurnover(record) : n(record) + ";0.000;0.00;";
        case 76:
            return record == 1 ? cp1251(QStringLiteral("1;Оператор1;48;2308.90;"))
                               : n(record) + ';' + cp1251(QStringLiteral("Оператор")) + n(record) +
                                     ";0;0.00;";
        case 77:
            return cp1251(
                QStringLiteral("Готівка;1496.60;Чек;0.00;Кредит;0.00;Картка;812.30;Переказ;0.00;"));
        case 78:
            return cp1251(
                QStringLiteral("А;20.00;2308.90;384.82;Б;7.00;0.00;0.00;В;0.00;0.00;0.00;"));
        case 79:
            return "12;48;1;2308.90;24.90;500.00;300.00;";
    }
    return {};
}

}  // namespace tabulon::sim
