#include "catalogue/model_profile.h"

#include <array>

namespace tabulon {

namespace {

// Labels of "Параметры кассы" that do not differ between the models.
QVector<FieldPresentation> commonCashLabels(const QString& edit9, const QString& edit10,
                                            const QString& edit11, const QString& edit12) {
    return {
        {"Label9", "Номер аппарата:", "Edit5", true},
        {"Label10", "Тип:", "Edit6", true},
        {"Label11", "Открытие денежного ящика:", "Edit7", true},
        {"Label12", "Время открытия денежного ящика:", "Edit8", true},
        {"Label13", edit9, "Edit9", true},
        {"Label14", edit10, "Edit10", true},
        {"Label15", edit11, "Edit11", true},
        {"Label16", edit12, "Edit12", true},
        {"Label17", "Скорость работы с ПК:", "Edit13", true},
        {"Label18", "Количество внутренних товаров:", "Edit14", true},
        {"Label28", "Тип протокола:", "Edit19", true},
    };
}

ModelProfile mp550t() {
    ModelProfile p{"Программирование Datecs MP-550T",
                   "Подключить Datecs MP-550T",
                   goodsCount(Model::DatecsMp550T) + 1,
                   QString::number(goodsCount(Model::DatecsMp550T)),
                   6,
                   8,
                   commonCashLabels("Оплата наличными:", "Регистрация наличного количества:",
                                    "Не обнулять обороты товаров:", "Режим работы ПК:")};
    p.fields += {
        {"Label39", "Адаптер:", "Edit24", true},
        {"Label40", "Интерфейс:", "Edit35", true},
        {"Label38", "Яркость матричного индикатора:", "Edit34", true},
        {"Label41", "Режим работы  с весами Digi:", "Edit36", true},
        {"Label42", "", "Edit37", false},
    };
    return p;
}

ModelProfile mp50Junior() {
    ModelProfile p{"Программирование Datecs MP-50 Junior",
                   "Подключить Datecs MP-50 Junior",
                   goodsCount(Model::DatecsMp50Junior) + 1,
                   QString::number(goodsCount(Model::DatecsMp50Junior)),
                   6,
                   8,
                   commonCashLabels("Выкл. аппарата во время регистр.:", "Не используется:",
                                    "Оплата наличными:", "Режим работы с ПК:")};
    p.fields += {
        {"Label39", "", "Edit24", false},
        {"Label40", "", "Edit35", false},
        {"Label38", "Режим порта 1:", "Edit34", true},
        {"Label41", "Режим порта 2:", "Edit36", true},
        {"Label42", "Режим работы с весами Digi:", "Edit37", true},
    };
    return p;
}

ModelProfile neon() {
    ModelProfile p{"Программирование Neon",
                   "Подключить Neon",
                   goodsCount(Model::Neon) + 1,
                   QString::number(goodsCount(Model::Neon)),
                   5,
                   13,
                   commonCashLabels("Оплата наличными:", "Выкл. аппарата во время регистр.:",
                                    "Не обнулять обороты товаров:", "Режим работы с ПК:")};
    p.fields += {
        {"Label39", "Интерфейс:", "Edit24", true},
        {"Label40", "", "Edit35", false},
        {"Label38", "Режим работы с весами Digi:", "Edit34", true},
        {"Label41", "Макс. допуст. сумма по чеку:", "Edit36", true},
        {"Label42", "", "Edit37", false},
    };
    return p;
}

}  // namespace

const ModelProfile& modelProfile(Model model) {
    static const std::array<ModelProfile, kModelCount> profiles{mp550t(), mp50Junior(), neon()};
    return profiles[static_cast<int>(model)];
}

QString profileHeaderTextLabel(int row) {
    if (row == 0) return QStringLiteral("#");
    static const QStringList groups{"Заголовок %1", "Рекламный текст %1", "Сервис %1"};
    return groups.value((row - 1) / 4).arg((row - 1) % 4 + 1);
}

}  // namespace tabulon
