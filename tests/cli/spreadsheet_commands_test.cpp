// Price lists as spreadsheets save them, through tabulon-cli into tabulon-sim
// and back, and tables out to a spreadsheet and in again.
#include <gtest/gtest.h>

#include <QStringEncoder>
#include <QTemporaryDir>

#include "support/cli_process.h"
#include "support/qt_print.h"

using tabulon::testing::cp1251;

namespace {

class SpreadsheetCommands : public ::testing::Test {
protected:
    QTemporaryDir directory;
    QString path(const QString& name) const { return directory.filePath(name); }

    // Writes the file into the register with write-table, reads the table
    // back and gives the read file's lines.
    QList<QByteArray> throughRegister(const SimProcess& ecr, const QString& table,
                                      const QString& name, const QByteArray& bytes,
                                      const QStringList& options = {}) {
        writeFile(path(name), bytes);
        const CliRun write = cli(on(ecr, options + QStringList{"write-table", table, path(name)}));
        EXPECT_EQ(write.status, 0) << qPrintable(write.err);
        written = write.err;
        const CliRun read =
            cli(on(ecr, options + QStringList{"read-table", table, path("back." + table)}));
        EXPECT_EQ(read.status, 0) << qPrintable(read.err);
        return readFile(path("back." + table)).split('\n');
    }
    QString written;  // what the last write-table said on standard error
};

QByteArray utf16le(const QString& text) {
    return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(text);
}

TEST_F(SpreadsheetCommands, PriceListsAsSpreadsheetsSaveThemGoIntoTheirRows) {
    SimProcess ecr({"--model", "mp-550t"});
    ASSERT_FALSE(ecr.path().isEmpty());

    // The form LibreOffice Calc's "Text CSV" filter writes in a Russian
    // locale: UTF-8 without a byte-order mark, ",", a number with its
    // decimal comma quoted, LF. Written here by hand: LibreOffice (some 110
    // packages) is not installed where the tests run.
    const QByteArray calc = QStringLiteral(
                                "Код,Наименование,Цена,Штрихкод\n"
                                "3,Хлеб «Бородинский»,\"28,50\",4607001234567\n"
                                "17,\"Молоко \"\"Весёлый молочник\"\" 2,5%\",\"1 045,90\",\n")
                                .toUtf8();
    const QList<QByteArray> goods =
        throughRegister(ecr, "goods", "prices.csv", calc, {"--interval", "3:17:3"});
    ASSERT_EQ(goods.size(), 10001);
    EXPECT_EQ(goods[2], cp1251("3;Хлеб «Бородинский»;28.50;0.000;1;1;1;1;0;4607001234567;\r"));
    EXPECT_EQ(goods[16],
              cp1251("17;Молоко \"Весёлый молочник\" 2,5%;1045.90;0.000;1;1;1;1;0;0;\r"));
    EXPECT_TRUE(written.startsWith(path("prices.csv") +
                                   ": UTF-8, delimiter \",\", a heading line, rows by code\n"))
        << qPrintable(written);

    // Excel, "Unicode text": UTF-16LE with its mark, tabs, CR LF.
    const QList<QByteArray> operators = throughRegister(
        ecr, "operators", "staff.tsv", utf16le("Номер\tПароль\tИмя\r\n2\t2222\tИванова\r\n"));
    // No permission column: a cleared register's "0".
    EXPECT_EQ(operators[1], cp1251("2222;Иванова;0;\r"));

    // Excel, "CSV (разделители — точки с запятой)": Windows-1251, ";", CR LF.
    const QList<QByteArray> departments =
        throughRegister(ecr, "departments", "otd.csv", cp1251("№;Отдел\r\n1;Хлебный\r\n"));
    EXPECT_EQ(departments[0], cp1251("Хлебный;\r"));

    // A table file an editor saved as UTF-8: read as UTF-8, and said so.
    const QByteArray utf8 = QString("Молочный;\r\n").repeated(20).toUtf8();
    const QList<QByteArray> edited = throughRegister(ecr, "departments", "shop.otd", utf8);
    EXPECT_EQ(written,
              path("shop.otd") + ": read as UTF-8 (its bytes are not Windows-1251 text)\n");
    EXPECT_EQ(edited[19], cp1251("Молочный;\r"));
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
