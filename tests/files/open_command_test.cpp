#include <QDir>

#include "command_fixture.h"

namespace tabulon::files {
namespace {

using testing::cp1251;
using testing::FileCommandTest;
using testing::repeatedLines;
using testing::writeFile;

TEST_F(FileCommandTest, OpenLoadsTheTableAndShowsTheFullPath) {
    writeFile(path("staff.opr"), cp1251("1111;Иванов;1;\r\n") + repeatedLines("0;x;0;", 19));
    // The dialog may hand back a name relative to the current directory.
    EXPECT_EQ(open(1, Model::DatecsMp550T, "staff.opr"), FileCommandResult::Done);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(grid(TableKind::Operators).rowCells(1, 3), (QStringList{"1111", "Иванов", "1"}));
    EXPECT_EQ(grid(TableKind::Operators).rowCells(20, 3), (QStringList{"0", "x", "0"}));
    EXPECT_EQ(label_, QDir::toNativeSeparators(path("staff.opr")));
    EXPECT_EQ(steps_, 20);
    EXPECT_EQ(resets_, 2);
    EXPECT_EQ(progress_, 0);
}

TEST_F(FileCommandTest, OpenOfAFileThatCannotBeReadChangesNothing) {
    grid(TableKind::Departments).setCell(1, 1, "kept");
    QDir(directory_.path()).mkdir("folder.otd");
    for (const QString& name : {path("missing.otd"), path("folder.otd")}) {
        dialogs_.shown.clear();
        EXPECT_EQ(open(3, Model::Neon, name), FileCommandResult::Failed);
        const auto box = onlyMessage();
        EXPECT_EQ(box.text, "Ошибка открытия файла");
        EXPECT_EQ(box.caption, "Файл отсутствует или неверный формат");
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }
    EXPECT_EQ(grid(TableKind::Departments).cell(1, 1), "kept");
    EXPECT_EQ(label_, "label before");
    EXPECT_EQ(progress_, -1);
}

TEST_F(FileCommandTest, OpenOfAShorterArticleFileStopsWithTheEndOfFileMessage) {
    writeFile(path("half.art"), repeatedLines("7;;;;;;;;;;", 5000));
    GridModel& goods = grid(TableKind::Goods);
    goods.setCell(5001, 2, "stays");
    goods.setCell(10000, 10, "stays too");
    EXPECT_EQ(open(0, Model::DatecsMp550T, path("half.art")), FileCommandResult::Failed);
    const auto box = onlyMessage();
    EXPECT_EQ(box.text, "Конец файла! \n В файле неверное число записей!");
    EXPECT_EQ(box.caption, "Незапланированный конец файла");
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(goods.cell(5000, 1), "7");
    EXPECT_EQ(goods.cell(5001, 1), "");
    EXPECT_EQ(goods.cell(5001, 2), "stays");
    EXPECT_EQ(goods.cell(10000, 10), "stays too");
    EXPECT_EQ(label_, "label before");
    EXPECT_EQ(progress_, 5000);
}

TEST_F(FileCommandTest, OpenOfAFullArticleFileForTheJuniorTakesItsHalfSilently) {
    writeFile(path("full.art"), repeatedLines("7;;;;;;;;;;", 10000));
    EXPECT_EQ(open(0, Model::DatecsMp50Junior, path("full.art")), FileCommandResult::Done);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(grid(TableKind::Goods).cell(5000, 1), "7");
    EXPECT_EQ(grid(TableKind::Goods).cell(5001, 1), "");
    EXPECT_EQ(steps_, 5000);
}

TEST_F(FileCommandTest, OpenOfAShortArticleLineNamesItsFirstCharacter) {
    writeFile(path("bad.art"), cp1251("1;Товар1;0.00;0.000;1;1;1;1;\r\n"));
    EXPECT_EQ(open(0, Model::Neon, path("bad.art")), FileCommandResult::Failed);
    auto box = onlyMessage();
    EXPECT_EQ(box.text, "Ошибка чтения данных в файл 1");
    EXPECT_EQ(box.caption, "Неверный формат файла");
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(grid(TableKind::Goods).cell(1, 2), "Товар1");

    dialogs_.shown.clear();
    writeFile(path("bad.opl"), ";1;x\r\n");
    EXPECT_EQ(open(2, Model::Neon, path("bad.opl")), FileCommandResult::Failed);
    EXPECT_EQ(onlyMessage().text, "Ошибка чтения данных в файл ");
    EXPECT_EQ(label_, "label before");
}

// The line still loads as two rows, as it always has; the user is told which
// line of the file to mend.
TEST_F(FileCommandTest, OpenOfAFileWithAnOverLongLineLoadsItAndNamesTheLine) {
    const QByteArray longLine = QByteArray(199, 'N') + QByteArray(48, 'L') + ";\r\n";
    ASSERT_EQ(longLine.size(), 250);
    const struct {
        int tab;
        const char* name;
        QByteArray bytes;
        int row;                   // where the rest of the long line went
        QString lastRowLoaded;     // what the last row of the grid holds
        FileCommandResult result;  // the line is named either way
        QString failure;           // a message after it
    } cases[] = {
        {3, "departments.otd", repeatedLines("d;", 2) + longLine + repeatedLines("e;", 17), 4, "e",
         FileCommandResult::Done, ""},
        {4, "header.hft", longLine + repeatedLines("h;", 11), 2, "h", FileCommandResult::Done, ""},
        // 199 bytes and CR LF: the rest is a line feed alone, which ends the
        // file as an empty line does.
        {4, "full.hft", QByteArray(199, 'N') + "\r\n" + repeatedLines("h;", 11), 2, "",
         FileCommandResult::Failed, "Конец файла! \n В файле неверное число записей!"},
    };
    for (const auto& c : cases) {
        dialogs_.shown.clear();
        const TableKind kind = tableKindOfTab(c.tab);
        writeFile(path(c.name), c.bytes);
        EXPECT_EQ(open(c.tab, Model::Neon, path(c.name)), c.result) << c.name;
        const auto boxes = dialogs_.messages();
        ASSERT_EQ(boxes.size(), c.failure.isEmpty() ? 1 : 2) << c.name;
        EXPECT_EQ(
            boxes[0].text,
            QStringLiteral("Строка %1 файла слишком длинная и разделена на две.").arg(c.row - 1));
        EXPECT_EQ(boxes[0].caption, "Неверный формат файла");
        EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(boxes[0].icon, MessageIcon::None);
        if (!c.failure.isEmpty()) {
            EXPECT_EQ(boxes[1].text, c.failure);
        }
        EXPECT_EQ(grid(kind).cell(c.row - 1, 1), QString(199, 'N')) << c.name;
        if (c.result == FileCommandResult::Done) {
            EXPECT_EQ(grid(kind).cell(c.row, 1), QString(48, 'L'));
            EXPECT_EQ(grid(kind).cell(grid(kind).rowCount() - 1, 1), c.lastRowLoaded);
        }
    }
    EXPECT_EQ(label_, QDir::toNativeSeparators(path("header.hft")));
}

TEST_F(FileCommandTest, OpenOfAParameterFile) {
    fields_.setFieldText("Edit6", "kept");
    writeFile(path("one.pak"), "5;");
    EXPECT_EQ(open(5, Model::DatecsMp550T, path("one.pak")), FileCommandResult::Done);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(fields_.fieldText("Edit5"), "5");
    EXPECT_EQ(fields_.fieldText("Edit6"), "kept");
    EXPECT_EQ(label_, QDir::toNativeSeparators(path("one.pak")));

    writeFile(path("empty.pac"), "");
    EXPECT_EQ(open(6, Model::DatecsMp550T, path("empty.pac")), FileCommandResult::Failed);
    EXPECT_EQ(onlyMessage().caption, "Незапланированный конец файла");
    EXPECT_EQ(label_, QDir::toNativeSeparators(path("one.pak")));
}

}  // namespace
}  // namespace tabulon::files
