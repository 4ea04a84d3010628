#include "command_fixture.h"
#include "sdcard/sales_table.h"

namespace tabulon::sdcard {
namespace {

using testing::cp1251;
using testing::salesLines;
using testing::SdCardCommandTest;
using testing::uploadLines;
using testing::writeFile;

class LoadCardFiles : public SdCardCommandTest {
protected:
    LoadCardFiles() : sales_(kSalesColumns, kSalesRows) { QDir(directory_.path()).mkdir("card"); }

    CommandResult load(const QString& directory) {
        return loadCardFilesCommand({directory, sales_, dialogs_, progress()});
    }
    void onCard(const QString& name, const QByteArray& bytes) {
        writeFile(path("card/" + name), bytes);
    }

    void expectMessage(const QString& text, const QString& caption) {
        const auto box = onlyMessage();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }

    GridModel sales_;
};

TEST_F(LoadCardFiles, FillsBothSidesOfEveryRowWithDashesOfNamesAsSpaces) {
    onCard("upload.art", uploadLines(10000, cp1251("5;5;Хлеб–белый–1;2.50;1.000;1;2;1;0;0;4820")));
    onCard("sales.art", salesLines(10000));
    EXPECT_EQ(load(path("card")), CommandResult::Done);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(sales_.rowCells(1, 16),
              (QStringList{"5", "Хлеб белый 1", "2.50", "1.000", "1", "2", "1", "0", "0", "4820",
                           "1", "1", "1.00", "0", "0.00", "0.50"}));
    EXPECT_EQ(sales_.cell(10000, 2), "G10000");
    EXPECT_EQ(sales_.cell(10000, 13), "10000.00");
    EXPECT_EQ(maximum_, 10000);
    EXPECT_EQ(steps_, 20000);
    EXPECT_EQ(resets_, 3);
    EXPECT_EQ(value_, 0);
}

TEST_F(LoadCardFiles, TheDirectoryGetsItsSeparatorWhenItHasNone) {
    EXPECT_EQ(cardDirectoryPath("/media/card/"), "/media/card/");
    EXPECT_EQ(cardDirectoryPath("/media/card"), "/media/card" + QString(QDir::separator()));
    EXPECT_EQ(cardDirectoryPath("a"), "a" + QString(QDir::separator()));

    // A folder whose name is one character long, named relative to the
    // working directory.
    QDir(directory_.path()).mkdir("x");
    writeFile(path("x/upload.art"), uploadLines(10000));
    writeFile(path("x/sales.art"), salesLines(10000));
    EXPECT_EQ(load("x"), CommandResult::Done);
    EXPECT_EQ(sales_.cell(2, 2), "G2");
}

TEST_F(LoadCardFiles, AnEmptyDirectoryFieldIsRefusedBeforeAnyFileIsOpened) {
    // Files that an empty directory would otherwise find, beside the program.
    writeFile(path("upload.art"), uploadLines(10000));
    writeFile(path("sales.art"), salesLines(10000));
    EXPECT_EQ(load(QString()), CommandResult::Failed);
    expectMessage("Не указана папка с файлами upload.art и sales.art",
                  "Файл отсутствует или неверный формат");
    EXPECT_EQ(sales_.cell(1, 1), QString());
    EXPECT_EQ(value_, -1);
}

TEST_F(LoadCardFiles, AMissingFileIsNamedAndNothingIsLoaded) {
    onCard("sales.art", salesLines(10000));
    EXPECT_EQ(load(path("card")), CommandResult::Failed);
    expectMessage("Ошибка открытия файла upload.art", "Файл отсутствует или неверный формат");

    dialogs_.shown.clear();
    QFile::remove(path("card/sales.art"));
    onCard("upload.art", uploadLines(10000));
    EXPECT_EQ(load(path("card")), CommandResult::Failed);
    expectMessage("Ошибка открытия файла sales.art", "Файл отсутствует или неверный формат");

    // A folder of that name is no file either.
    dialogs_.shown.clear();
    QDir(path("card")).mkdir("sales.art");
    EXPECT_EQ(load(path("card")), CommandResult::Failed);
    expectMessage("Ошибка открытия файла sales.art", "Файл отсутствует или неверный формат");

    EXPECT_EQ(sales_.cell(1, 1), QString());
    EXPECT_EQ(value_, -1);
}

TEST_F(LoadCardFiles, ASalesFileOneRecordShortFillsTheRestAndSaysSo) {
    sales_.setCell(10000, 16, "earlier");
    onCard("upload.art", uploadLines(10000));
    onCard("sales.art", salesLines(9999));
    EXPECT_EQ(load(path("card")), CommandResult::Failed);
    expectMessage("Конец файла! \n В файле неверное число записей!",
                  "Незапланированный конец файла");
    EXPECT_EQ(sales_.cell(10000, 1), "10000");
    EXPECT_EQ(sales_.cell(9999, 12), "9999");
    EXPECT_EQ(sales_.cell(10000, 16), "earlier");
    EXPECT_EQ(steps_, 19999);
}

TEST_F(LoadCardFiles, AShortGoodsFileLeavesTheSalesSideUntouched) {
    sales_.setCell(3, 1, "earlier");
    sales_.setCell(1, 11, "earlier");
    onCard("upload.art", uploadLines(2));
    onCard("sales.art", salesLines(10000));
    EXPECT_EQ(load(path("card")), CommandResult::Failed);
    expectMessage("Конец файла! \n В файле неверное число записей!",
                  "Незапланированный конец файла");
    EXPECT_EQ(sales_.cell(2, 1), "2");
    EXPECT_EQ(sales_.cell(3, 1), "earlier");
    EXPECT_EQ(sales_.cell(1, 11), "earlier");
}

}  // namespace
}  // namespace tabulon::sdcard
