#include "transfer/record_list.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace tabulon::transfer {
namespace {

// tabulon-cli lists every failed record, runs folded; the window's end
// message names the first ten as they came.
TEST(RecordList, EachFormWritesItsList) {
    const RecordListForm cli{.ranges = true, .limit = 0};
    const RecordListForm window{.ranges = false, .limit = 10};
    QList<int> thousands;
    for (int record = 1; record <= 3000; ++record) thousands << record;
    struct Case {
        RecordListForm form;
        QList<int> records;
        QString text;
    };
    const Case cases[] = {
        {cli, {}, ""},
        {cli, {5}, "5"},
        {cli, {1, 2}, "1-2"},
        {cli, {3, 7, 8, 9, 10, 11, 12, 40}, "3, 7-12, 40"},
        {cli, {40, 8, 3, 7}, "3, 7-8, 40"},
        {cli, thousands + QList<int>{5000}, "1-3000, 5000"},
        {cli,
         {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23},
         "1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23"},
        {window, {}, ""},
        {window, {5}, "5"},
        {window, {5, 9, 20}, "5, 9, 20"},
        {window, {9, 1, 2, 3}, "9, 1, 2, 3"},
        {window, {4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, "4, 5, 6, 7, 8, 9, 10, 11, 12, 13"},
        {window, {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, "4, 5, 6, 7, 8, 9, 10, 11, 12, 13, …"},
        {window, thousands, "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, …"},
        {{.ranges = true, .limit = 2}, {1, 2, 4, 6, 7}, "1-2, 4, …"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(recordList(c.records, c.form), c.text)
            << c.form.ranges << ' ' << c.form.limit << ' ' << c.records.size();
    }
}

}  // namespace
}  // namespace tabulon::transfer
