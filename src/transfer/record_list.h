#pragma once

#include <QList>
#include <QString>

namespace tabulon::transfer {

// How a list of record numbers is written for the user.
struct RecordListForm {
    // Numbers sorted and runs of consecutive ones written as "7-12": a skip
    // run over a silent register can fail thousands. Otherwise each number as
    // it comes.
    bool ranges = false;
    // At most this many items (numbers or runs), then "…"; 0 for all.
    int limit = 0;
};

// "3, 7-12, 40" or "4, 5, 6, …".
QString recordList(QList<int> records, RecordListForm form);

}  // namespace tabulon::transfer
