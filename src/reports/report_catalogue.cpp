#include "reports/report_catalogue.h"

namespace tabulon::reports {

namespace {
constexpr int kArticleTable = 65;
}

const std::array<Report, kReportCount>& reportList() {
    static const std::array<Report, kReportCount> reports{{
        {"Art", "art", "обороты по артикулам", "RepArt.dat", kArticleTable, 0},
        {"Otd", "otd", "обороты по отделам", "RepOtd.dat", 74, 20},
        {"Grp", "grp", "обороты по группам товаров", "RepGrp.dat", 75, 99},
        {"Operat", "operat", "обороты по операторам", "RepOperat.dat", 76, 20},
        {"Nalog", "nalog", "обороты по налогам", "RepNalog.dat", 78, 1},
        {"Opl", "opl", "обороты по оплатам", "RepOpl.dat", 77, 1},
        {"Operac", "operac", "обороты по операциям за смену", "RepOperac.dat", 79, 1},
    }};
    return reports;
}

int recordCount(const Report& report, Model model) {
    return report.table == kArticleTable ? goodsCount(model) : report.records;
}

int reportIndex(const QString& shortName) {
    const auto& reports = reportList();
    for (int i = 0; i < kReportCount; ++i) {
        if (reports[i].shortName == shortName) return i;
    }
    return -1;
}

}  // namespace tabulon::reports
