#include "transfer/record_list.h"

#include <QStringList>
#include <algorithm>

namespace tabulon::transfer {

QString recordList(QList<int> records, RecordListForm form) {
    if (form.ranges) std::sort(records.begin(), records.end());
    QStringList items;
    for (qsizetype i = 0; i < records.size();) {
        if (form.limit > 0 && items.size() == form.limit) {
            items << QStringLiteral("…");
            break;
        }
        qsizetype j = i;
        while (form.ranges && j + 1 < records.size() && records[j + 1] == records[j] + 1) ++j;
        items << (j == i ? QString::number(records[i])
                         : QStringLiteral("%1-%2").arg(records[i]).arg(records[j]));
        i = j + 1;
    }
    return items.join(QStringLiteral(", "));
}

}  // namespace tabulon::transfer
