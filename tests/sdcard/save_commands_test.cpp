#include <QFile>

#include "catalogue/grid_catalogue.h"
#include "command_fixture.h"
#include "sdcard/sales_table.h"

namespace tabulon::sdcard {
namespace {

using tabulon::testing::FailingSaveFile;
using testing::cp1251;
using testing::readFile;
using testing::repeatedLines;
using testing::SdCardCommandTest;
using testing::writeFile;

const QByteArray kEarlier = "earlier contents\r\n";

class SaveCommands : public SdCardCommandTest {
protected:
    SaveCommands()
        : goods_(gridShape(TableKind::Goods).columns, gridShape(TableKind::Goods).rows),
          sales_(kSalesColumns, kSalesRows) {}

    CommandResult writeGoods(const std::optional<QString>& name, SaveFileFactory factory = {}) {
        dialogs_.fileNames.enqueue(name);
        return writeGoodsFileCommand({goods_, dialogs_, progress(), std::move(factory)});
    }
    CommandResult saveSales(const std::optional<QString>& name, SaveFileFactory factory = {}) {
        dialogs_.fileNames.enqueue(name);
        return saveSalesFileCommand({sales_, dialogs_, progress(), std::move(factory)});
    }

    GridModel goods_;
    GridModel sales_;
};

TEST_F(SaveCommands, GoodsFileDialogProposesGoodbaseInTheWorkingDirectory) {
    EXPECT_EQ(writeGoods(std::nullopt), CommandResult::Cancelled);
    ASSERT_EQ(dialogs_.shown.size(), 1);
    const auto dialog = dialogs_.shown[0];
    EXPECT_EQ(dialog.kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialog.request.title, "Сохранить файл артикулов на SD-диск");
    EXPECT_EQ(dialog.request.filterList, "Файлы артикулов(*.art)|*.ART|Все файлы (*.*)|*.*");
    EXPECT_EQ(dialog.request.defaultExtension, "art");
    EXPECT_EQ(dialog.request.directory, QDir::currentPath());
    EXPECT_EQ(dialog.request.proposedName, "goodbase.art");
    EXPECT_TRUE(filesHere().isEmpty());
    EXPECT_EQ(value_, -1);
}

TEST_F(SaveCommands, GoodsFileReplacesAnEarlierOneWithoutAWordAndLeavesTheGridAlone) {
    goods_.setCell(1, 1, "1");
    goods_.setCell(1, 2, "Хлеб белый");
    writeFile(path("goodbase.art"), kEarlier);
    EXPECT_EQ(writeGoods(path("goodbase.art")), CommandResult::Done);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(readFile(path("goodbase.art")),
              cp1251("1;Хлеб").append('\x96').append(cp1251("белый;;;;;;;;;\r\n")) +
                  repeatedLines(";;;;;;;;;;", 9999));
    EXPECT_EQ(goods_.cell(1, 2), "Хлеб белый");
    EXPECT_EQ(steps_, 10000);
    EXPECT_EQ(resets_, 2);
    EXPECT_EQ(value_, 0);
    EXPECT_EQ(filesHere(), QStringList{"goodbase.art"});
}

TEST_F(SaveCommands, AFileThatCannotBeCreatedIsReported) {
    EXPECT_EQ(writeGoods(path("no such dir/goodbase.art")), CommandResult::Failed);
    auto box = onlyMessage();
    EXPECT_EQ(box.text, "Ошибка открытия файла");
    EXPECT_EQ(box.caption, "Ошибка работы с файлом");
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);

    dialogs_.shown.clear();
    EXPECT_EQ(saveSales(path("no such dir/sales.art")), CommandResult::Failed);
    box = onlyMessage();
    EXPECT_EQ(box.text, "Ошибка открытия файла");
    EXPECT_EQ(box.caption, "Ошибка работы с файлом");
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(value_, -1);
}

TEST_F(SaveCommands, ASaveThatFailsMidwayLeavesTheEarlierFileAsItWas) {
    writeFile(path("goodbase.art"), kEarlier);
    writeFile(path("sales.art"), kEarlier);
    auto fullAfter = [](qint64 bytes) {
        return
            [bytes](const QString& name) { return std::make_unique<FailingSaveFile>(name, bytes); };
    };
    dialogs_.answers.enqueue(MessageAnswer::Cancel);
    EXPECT_EQ(writeGoods(path("goodbase.art"), fullAfter(6000)), CommandResult::Failed);
    auto box = onlyMessage();
    EXPECT_EQ(box.text, "Ошибка записи данных в файл");
    EXPECT_EQ(box.caption, "Ошибка работы с файлом");
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(steps_, 6000 / 12);

    dialogs_.shown.clear();
    EXPECT_EQ(saveSales(path("sales.art"), fullAfter(6000)), CommandResult::Failed);
    EXPECT_EQ(onlyMessage().text, "Ошибка записи данных в файл");

    EXPECT_EQ(readFile(path("goodbase.art")), kEarlier);
    EXPECT_EQ(readFile(path("sales.art")), kEarlier);
    // Nothing of the failed attempts is left behind.
    EXPECT_EQ(filesHere(), (QStringList{"goodbase.art", "sales.art"}));
}

TEST_F(SaveCommands, SalesDialogStartsInTheWorkingDirectoryWithNoName) {
    EXPECT_EQ(saveSales(std::nullopt), CommandResult::Cancelled);
    ASSERT_EQ(dialogs_.shown.size(), 1);
    const auto dialog = dialogs_.shown[0];
    EXPECT_EQ(dialog.kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialog.request.title, "Сохранить файл артикулов");
    EXPECT_EQ(dialog.request.filterList, "Файлы артикулов(*.art)|*.ART|Все файлы (*.*)|*.*");
    EXPECT_EQ(dialog.request.defaultExtension, "art");
    // An empty start folder would open the dialog at the file system's root.
    EXPECT_EQ(dialog.request.directory, QDir::currentPath());
    EXPECT_EQ(dialog.request.proposedName, QString());
}

TEST_F(SaveCommands, SalesFileHoldsSixteenValuesOfEveryRow) {
    for (int c = 1; c <= 16; ++c) sales_.setCell(2, c, QString::number(c));
    EXPECT_EQ(saveSales(path("sales.art")), CommandResult::Done);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(readFile(path("sales.art")), repeatedLines(QByteArray(16, ';'), 1) +
                                               "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;\r\n" +
                                               repeatedLines(QByteArray(16, ';'), 9998));
    EXPECT_EQ(steps_, 10000);
    EXPECT_EQ(value_, 0);
}

TEST_F(SaveCommands, AValueTheFileCannotCarryIsNamedByRowAndValue) {
    struct Row {
        const char* file;
        int row;
        int column;
        QString value;
        QString detail;
    };
    const Row rows[] = {
        {"goodbase.art", 3, 2, "Σ",
         "Строка 3, значение 2: символ «Σ» (U+03A3), которого нет в кодировке Windows-1251."},
        {"goodbase.art", 9999, 1, QString(189, 'x'),
         "Строка 9999 длиннее 198 байт: при чтении файла она разделилась бы на две."},
        // The sales cells can be typed into as well.
        {"sales.art", 5, 16, "5Σ",
         "Строка 5, значение 16: символ «Σ» (U+03A3), которого нет в кодировке Windows-1251."},
    };
    writeFile(path("goodbase.art"), kEarlier);
    writeFile(path("sales.art"), kEarlier);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        const bool sales = QString(row.file) == "sales.art";
        GridModel& grid = sales ? sales_ : goods_;
        grid.setCell(row.row, row.column, row.value);
        dialogs_.shown.clear();
        EXPECT_EQ(sales ? saveSales(path(row.file)) : writeGoods(path(row.file)),
                  CommandResult::Failed);
        EXPECT_EQ(onlyMessage().text, "Ошибка записи данных в файл\n" + row.detail);
        EXPECT_EQ(readFile(path(row.file)), kEarlier);
        grid.setCell(row.row, row.column, QString());
    }
}

}  // namespace
}  // namespace tabulon::sdcard
