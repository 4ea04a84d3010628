#pragma once

#include <QString>
#include <array>

#include "catalogue/model.h"

namespace tabulon::reports {

// One of the register's turnover tables that the program reads out into a
// file. The register only keeps them; nothing is ever written into them.
// What its file is called is a setting (settings/report_settings.h).
struct Report {
    QString shortName;  // how the command line names it
    QString caption;    // its check box on the reports tab
    int table = 0;
    int records = 0;  // for the article report: by the model, see recordCount
};

inline constexpr int kReportCount = 7;

// In the order they are read.
const std::array<Report, kReportCount>& reportList();

// Records 1 to this are read. The article report has one per article the
// model holds.
int recordCount(const Report& report, Model model);

// The index of a report by its short name ("art", "otd", …); -1 for none.
int reportIndex(const QString& shortName);

}  // namespace tabulon::reports
