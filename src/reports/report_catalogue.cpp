#include "reports/report_catalogue.h"

namespace tabulon::reports {

namespace {
constexpr int kArticleTable = 65;
}

const std::array<Report, kReportCount>& reportList() {
    static const std::array<Report, kReportCount> reports{{
        {"art", "обороты по артикулам", kArticleTable, 0},
        {"otd", "обороты по отделам", 74, 20},
        {"grp", "обороты по группам товаров", 75, 99},
        {"operat", "обороты по операторам", 76, 20},
        {"nalog", "обороты по налогам", 78, 1},
        {"opl", "обороты по оплатам", 77, 1},
        {"operac", "обороты по операциям за смену", 79, 1},
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
