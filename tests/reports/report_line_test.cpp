#include "reports/report_line.h"

#include <gtest/gtest.h>

#include <QDir>

#include "reports/report_catalogue.h"
#include "reports/report_messages.h"

namespace tabulon::reports {
namespace {

TEST(ReportLine, DropsTheFirstFieldAndTheLastCharacter) {
    EXPECT_EQ(reportLine("74;1;12;0.00;", ';'), "1;12;0.00");
    EXPECT_EQ(reportLine("74;1;12;0.00;", ','), "1,12,0.00");
    EXPECT_EQ(reportLine("a;b;c;d;", '|'), "b|c|d");
    // A ";" in a field's text cannot be told from a field end.
    EXPECT_EQ(reportLine("76;2;Оп;ер;0;", '\t'), "2\tОп\tер\t0");
    EXPECT_EQ(reportLine("abc", ','), "ab");
    EXPECT_EQ(reportLine(";", ','), "");
    EXPECT_EQ(reportLine("", ','), "");
    // Bytes go through as the register sent them.
    EXPECT_EQ(reportLine("65;1;\xD5\xEB\xB3\xE1;", ','), "1,\xD5\xEB\xB3\xE1");
}

TEST(ReportLine, TheSeparatorIsTheFieldsFirstCharacterInWindows1251) {
    EXPECT_EQ(separatorByte(";"), ';');
    EXPECT_EQ(separatorByte("|x"), '|');
    EXPECT_EQ(separatorByte("№"), '\xB9');
    EXPECT_EQ(separatorByte(""), std::nullopt);
    EXPECT_EQ(separatorByte("中"), std::nullopt);
    EXPECT_EQ(separatorByte(QString::fromUtf8("😀")), std::nullopt);

    EXPECT_EQ(separatorProblem(";"), "");
    EXPECT_EQ(separatorProblem(""), "Не задан разделитель между полями.");
    EXPECT_EQ(separatorProblem("中"),
              "Разделитель «中» нельзя записать в файл отчета: его нет в кодировке Windows-1251.");
}

TEST(ReportLine, TheDirectoryAndTheNameAreJoinedWithOneSeparator) {
    // A trailing backslash is the directory's separator; where the system's
    // is another, that one stands in its place, so that the file goes into
    // the directory and not beside it under a name with a backslash in it.
    const QString separator = QDir::separator();
    const struct {
        QString directory;
        QString path;
    } rows[] = {
        {"/home/u/rep", "/home/u/rep/RepOtd.dat"},
        {"/home/u/rep/", "/home/u/rep/RepOtd.dat"},
        {"/home/u/rep\\", "/home/u/rep" + separator + "RepOtd.dat"},
        {"C:\\Rep\\", "C:\\Rep" + separator + "RepOtd.dat"},
        {"", "RepOtd.dat"},
    };
    for (const auto& row : rows) EXPECT_EQ(reportPath(row.directory, "RepOtd.dat"), row.path);
}

TEST(ReportCatalogue, SevenReportsInTheirOrder) {
    QStringList names;
    QList<int> tables, junior, others;
    for (const Report& report : reportList()) {
        names << report.shortName;
        tables << report.table;
        junior << recordCount(report, Model::DatecsMp50Junior);
        others << recordCount(report, Model::Neon);
        EXPECT_EQ(recordCount(report, Model::DatecsMp550T), others.back());
    }
    EXPECT_EQ(names, (QStringList{"art", "otd", "grp", "operat", "nalog", "opl", "operac"}));
    EXPECT_EQ(tables, (QList<int>{65, 74, 75, 76, 78, 77, 79}));
    EXPECT_EQ(others, (QList<int>{10000, 20, 99, 20, 1, 1, 1}));
    EXPECT_EQ(junior, (QList<int>{5000, 20, 99, 20, 1, 1, 1}));
    EXPECT_EQ(reportList()[6].caption, "обороты по операциям за смену");
    EXPECT_EQ(reportIndex("nalog"), 4);
    EXPECT_EQ(reportIndex("Nalog"), -1);
}

TEST(ReportMessages, AnEarlyEndNamesTheIncompleteFile) {
    DownloadEnd end;
    end.how = DownloadEnd::How::RecordFailed;
    end.file = {"RepOtd.dat", "/r/RepOtd.dat", 20};
    end.lines = 7;
    end.record = 8;
    EXPECT_EQ(endedEarlyText(end),
              "Запись 8 отчета не прочитана.\n"
              "Чтение отчетов прервано: файл /r/RepOtd.dat неполный, строк в нем 7 из 20.");
    end.how = DownloadEnd::How::WriteFailed;
    end.fileError = "No space left on device";
    EXPECT_EQ(endedEarlyText(end),
              "Ошибка записи в файл /r/RepOtd.dat: No space left on device\n"
              "Чтение отчетов прервано: файл /r/RepOtd.dat не записан.");
    end.how = DownloadEnd::How::NoSeparator;
    EXPECT_EQ(endedEarlyText(end),
              "Не задан разделитель между полями.\n"
              "Чтение отчетов прервано: файл /r/RepOtd.dat неполный, строк в нем 7 из 20.");
}

}  // namespace
}  // namespace tabulon::reports
