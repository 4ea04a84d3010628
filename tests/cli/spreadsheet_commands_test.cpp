// Price lists as spreadsheets save them, through tabulon-cli into tabulon-sim
// and back, and tables out to a spreadsheet and in again.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "support/cli_process.h"
#include "support/qt_print.h"

using tabulon::testing::cp1251, tabulon::testing::repeatedLines;

namespace {

// A price list as a spreadsheet saves it (data/README: the program, the
// version, and the sheet they come from), and the table file of what the
// register then holds, written by hand from the sheet.
struct SavedPriceList {
    const char* file;
    const char* table;
    const char* expected;
};

const SavedPriceList kSavedPriceLists[] = {
    {"goods-cp1251.csv", "goods", "goods.art"},      // Windows-1251, ";", text quoted
    {"goods-utf8.csv", "goods", "goods.art"},        // ",": quoted decimal commas
    {"goods-utf8-plain.csv", "goods", "goods.art"},  // ";", quoted only where needed
    {"goods-utf8-bom.csv", "goods", "goods.art"},    // as Excel's "CSV UTF-8" starts
    {"goods-utf16.txt", "goods", "goods.art"},       // "Unicode text": UTF-16, tab
    {"departments-cp1251.csv", "departments", "departments.otd"},
};

// Goods 21 to 26 only: the whole table is 10000 records.
const QStringList kSheetRows{"--interval", "21:26:21"};

QString saved(const QString& name) {
    return QStringLiteral(TABULON_SPREADSHEETS "/") + name;
}

// The read file: the expected lines, then the rows the interval left out.
QByteArray heldAfter(const QString& expected, const QString& table) {
    const QByteArray lines = readFile(saved(expected));
    return table == u"goods" ? lines + repeatedLines(";;;;;;;;;;", 10000 - 26) : lines;
}

class SpreadsheetCommands : public ::testing::Test {
protected:
    QTemporaryDir directory;
    QString path(const QString& name) const { return directory.filePath(name); }

    // Writes the file into a register whose goods names run to 40
    // characters, and gives the table file read back.
    QByteArray throughRegister(const QString& table, const QString& file, CliRun& write) {
        SimProcess ecr({"--model", "neon"});
        const QStringList rows = table == u"goods" ? kSheetRows : QStringList();
        write = cli(on(ecr, QStringList{"--model", "neon", "write-table", table, file} + rows));
        const CliRun read =
            cli(on(ecr, QStringList{"--model", "neon", "read-table", table, path("back")} + rows));
        EXPECT_EQ(read.status, 0) << qPrintable(read.err);
        return readFile(path("back"));
    }
};

TEST_F(SpreadsheetCommands, PriceListsAsCalcSavesThemReachTheRegisterAsTheSheetHasThem) {
    for (const SavedPriceList& list : kSavedPriceLists) {
        SCOPED_TRACE(list.file);
        const QString imported =
            path(QStringLiteral("imported.") + QFileInfo(list.expected).suffix());
        const CliRun import =
            cli({"--model", "neon", "import", list.table, saved(list.file), imported});
        EXPECT_EQ(import.status, 0) << qPrintable(import.err);
        CliRun write;
        EXPECT_EQ(throughRegister(list.table, imported, write),
                  heldAfter(list.expected, list.table));
        EXPECT_EQ(write.status, 0) << qPrintable(write.err);
    }
}

TEST_F(SpreadsheetCommands, PriceListGoesStraightIntoTheRegisterSayingWhatItDoes) {
    const QString file = saved("goods-cp1251.csv");
    CliRun write;
    EXPECT_EQ(throughRegister("goods", file, write), heldAfter("goods.art", "goods"));
    EXPECT_EQ(write.status, 0);
    EXPECT_EQ(write.err,
              file +
                  ": Windows-1251, delimiter \";\", a heading line, rows by code\n"
                  "  column 1 \"Артикул\" -> Код\n"
                  "  column 2 \"Наименование\" -> Название\n"
                  "  column 3 \"Ед. изм.\": ignored, the table has no such column\n"
                  "  column 4 \"Цена\" -> Цена\n"
                  "  column 5 \"Остаток\" -> Количество\n"
                  "  column 6 \"Отдел\" -> Отдел\n"
                  "  column 7 \"Штрихкод\" -> Штрих-код\n"
                  "  not in the file: Группа, Налог, Тип, КНЛ; their values are a cleared "
                  "register's in 6 rows\n" +
                  file +
                  ": line 4, column 2 (Наименование): 50 characters, cut to 40: \"Набор конфет "
                  "«Ассорти» в подарочной коро\"\n");
}

// The register's records and the table files part their fields with ";":
// a name holding one would reach the register as two fields.
TEST_F(SpreadsheetCommands, NameHoldingTheFieldSeparatorIsRefusedBeforeAnythingIsWritten) {
    const QString file = saved("goods-semicolon-name.csv");
    const QString where = file + ": line 2, column 2 (Наименование): ";
    const CliRun import = cli({"--model", "neon", "import", "goods", file, path("promo.art")});
    EXPECT_EQ(import.status, 2);
    EXPECT_TRUE(import.err.contains(where)) << qPrintable(import.err);
    EXPECT_FALSE(QFileInfo::exists(path("promo.art")));

    SimProcess ecr({"--model", "neon"});
    const CliRun write = cli(on(ecr, {"--model", "neon", "write-table", "goods", file}));
    EXPECT_EQ(write.status, 2);
    EXPECT_TRUE(write.err.contains(where) && write.err.endsWith("\nnothing was sent\n"))
        << qPrintable(write.err);
}

// A table file an editor saved as UTF-8: read as UTF-8, and said so.
TEST_F(SpreadsheetCommands, TableFileSavedAsUtf8IsReadAsUtf8) {
    writeFile(path("shop.otd"), QString("Молочный;\r\n").repeated(20).toUtf8());
    CliRun write;
    EXPECT_EQ(throughRegister("departments", path("shop.otd"), write),
              cp1251(QString("Молочный;\r\n").repeated(20)));
    EXPECT_EQ(write.err,
              path("shop.otd") + ": read as UTF-8 (its bytes are not Windows-1251 text)\n");
}

TEST_F(SpreadsheetCommands, ExportedTableOpensAsASpreadsheetAndImportsBackAsItWas) {
    QStringList lines = emptyLines(10000, 10);
    lines[4] = "5;Чай \"Лесной\" 25 пак.;1045.50;2.500;3;1;1;1;0;0;";
    lines[9] = "10;  Сыр;120.00;0.000;1;1;1;1;0;4607001234567;";
    const QByteArray art = cp1251Lines(lines);
    writeFile(path("shop.art"), art);

    const CliRun exported = cli({"export", "goods", path("shop.art"), path("shop.csv")});
    EXPECT_EQ(exported.status, 0) << qPrintable(exported.err);
    EXPECT_EQ(
        readFile(path("shop.csv")),
        "\xEF\xBB\xBF" +
            QStringLiteral("Код;Название;Цена;Количество;Отдел;Группа;Налог;Тип;КНЛ;Штрих-код\r\n"
                           "5;\"Чай \"\"Лесной\"\" 25 пак.\";1045,50;2,500;3;1;1;1;0;0\r\n"
                           "10;\"  Сыр\";120,00;0,000;1;1;1;1;0;4607001234567\r\n")
                .toUtf8());

    const CliRun imported = cli({"import", "goods", path("shop.csv"), path("again.art")});
    EXPECT_EQ(imported.status, 0) << qPrintable(imported.err);
    EXPECT_EQ(readFile(path("again.art")), art);
}

}  // namespace
