#include "catalogue/parameter_catalogue.h"

#include <array>

namespace tabulon {

namespace {

const QStringList kComputerModeHints{"0 - offline;", "1 - offline ;", "4 - режим подкачки;",
                                     "5 - inline с подкачкой и offline в регистрации"};
const QStringList kComputerSpeedHints{"0 - 4800",  "1 - 9600",  "2 - 14400",
                                      "3 - 19200", "4 - 28800", "5 - 38400",
                                      "6 - 56000", "7 - 57600", "8 - 115200"};
const QStringList kInternalGoodsHints{
    "от 0 до 10000 (используется только если в поле 8 таблицы стоит 1)"};

ParameterTab cashRegisterTab() {
    return {ParameterSet::CashRegisterParameters,
            {
                {"Edit5", "Label9", "Номер аппарата:", {"1 - 99"}},
                {"Edit6",
                 "Label10",
                 "Тип:",
                 {"0 - обычный режим:", "1 - режим работы с многими отделами",
                  "2 - ресторанный режим"}},
                {"Edit7",
                 "Label11",
                 "Открытие денежного ящика:",
                 {"0 - ящик открывается только для служебных чеков",
                  "1 - ящик открывается для всех типов чеков"}},
                {"Edit8", "Label12", "Время открытия денежного ящика:", {"0 - 250"}},
                {"Edit9",
                 "Label13",
                 "Оплата наличными:",
                 {"1 - перед оплатой всегда вводить сумму наличными"}},
                {"Edit10",
                 "Label14",
                 "Регистрация наличного количества:",
                 {"0 - наличное количество уменьшается при продаже;",
                  "1 - наличное количество увеличивается при продаже;"}},
                {"Edit11",
                 "Label15",
                 "Не обнулять обороты товаров:",
                 {"0 - обнуляется при Z- отчете;", "1 - не обнуляется;"}},
                {"Edit12", "Label16", "Режим работы ПК:", kComputerModeHints},
                {"Edit13", "Label17", "Скорость работы с ПК:", kComputerSpeedHints},
                {"Edit14", "Label18", "Количество внутренних товаров:", kInternalGoodsHints},
                {"Edit19", "Label28", "Тип протокола:", kComputerModeHints},
                {"Edit24", "Label39", "Адаптер:", kComputerSpeedHints},
                {"Edit35", "Label40", "Интерфейс:", kInternalGoodsHints},
            },
            7};
}

ParameterTab receiptTab() {
    return {ParameterSet::ReceiptParameters,
            {
                {"Edit15",
                 "Label19",
                 "Печать логотипа пользователя:",
                 {"0 - не печатать;", "1 - печатать между чеками;", "2 - печатать после клише;",
                  "3 - печатать после рекламного текста."}},
                {"Edit16",
                 "Label20",
                 "Количество строк в логотипе:",
                 {"0 - логотип печататься не будет", "1 - 200 - количество строк в логотипе"}},
                {"Edit17",
                 "Label21",
                 "Количество строк рекламного текста:",
                 {"0 - 4 (строки печатаются если они не пустые)"}},
                {"Edit18",
                 "Label22",
                 "Печать в чеке количества покупок:",
                 {"1 - печатать в чеке общее количество покупок"}},
                {"Edit20",
                 "Label23",
                 "Печать штрих-кода:",
                 {"0 - не печатать", "1-99 - высота штрихкода."}},
                {"Edit21",
                 "Label24",
                 "Выделять чек пустыми строчками:",
                 {"1 - отделять в чеке продажи товаров пустой строкой от другой информации"}},
                {"Edit22", "Label25", "Количество копий:", {"0 - 3"}},
                {"Edit23", "Label26", "Служебные чеки:", {"0 - 3"}},
            },
            4};
}

ParameterTab serviceTab() {
    return {
        ParameterSet::ServiceParameters,
        {
            {"Edit25",
             "Label29",
             "Высота символов в контрольной ленте:",
             {"0 - стандартная высота;", "1 - уменьшенная вісота"}},
            {"Edit26", "Label30", "Служебное:", {"0 - 1"}},
            {"Edit27", "Label31", "Контрасность печати:", {"0 - 3"}},
            {"Edit28", "Label32", "Скорость работы со сканером:", {"0 - 4800", "1 - 9600"}},
            {"Edit29",
             "Label33",
             "Дополнение:",
             {"(для режима подкачки)",
              "1 - в каждом сообщении добавляется номер чекаи общая сумма по чеку;",
              "0 - не добавляется"}},
            {"Edit30",
             "Label34",
             "Показ. свобод. место при подкачке:",
             {"(при запросе внешнего товара указывается)", "0 - номер товара в наборе;",
              "1 - свободная ячейка куда будет подкачан товар"}},
            {"Edit31",
             "Label35",
             "Запрос разреш. аннул. всего чека:",
             {"(для режима подкачки)", "0 - запрет аннулирования", "1 - разрешение аннулирования"}},
            {"Edit32",
             "Label36",
             "Контроль дубл. кодов и штрихкодов:",
             {"0 - контроль не выполняется", "1 - контроль выполняется"}},
            {"Edit33", "Label37", "Весы:", {"0 - весы не подключены", "1 - DIGI", "2 - CAS"}},
            {"Edit34", "Label38", "Яркость матричного индикатора:", {"0 - 7"}},
            {"Edit36", "Label41", "Режим работы  с весами Digi:", {"0 - 7"}},
            // Used by one model only; the profile names and shows it.
            {"Edit37", "Label42", "", {"0 - 7"}},
        },
        6};
}

const std::array<ParameterTab, 3>& tabs() {
    static const std::array<ParameterTab, 3> all{cashRegisterTab(), receiptTab(), serviceTab()};
    return all;
}

}  // namespace

const ParameterTab& parameterTab(ParameterSet set) {
    return tabs()[static_cast<int>(set) - static_cast<int>(ParameterSet::CashRegisterParameters)];
}

QStringList parameterFieldNames(ParameterSet set) {
    QStringList names;
    for (const auto& field : parameterTab(set).fields) names << field.edit;
    return names;
}

QStringList parameterFieldNames(ParameterSet set, Model model) {
    // Per model: Datecs MP-550T, Datecs MP-50 Junior, Neon.
    static constexpr int kCounts[3][3] = {
        {13, 11, 12},  // Edit24 and Edit35 close the set; MP-50 Junior has neither, Neon no Edit35
        {8, 8, 8},
        {11, 12, 11},  // Edit37 closes the set and only MP-50 Junior has it
    };
    const int setIndex =
        static_cast<int>(set) - static_cast<int>(ParameterSet::CashRegisterParameters);
    return parameterFieldNames(set).mid(0, kCounts[setIndex][static_cast<int>(model)]);
}

}  // namespace tabulon
