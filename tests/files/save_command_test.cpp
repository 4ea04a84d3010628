#include <QDir>

#include "command_fixture.h"

namespace tabulon::files {
namespace {

using tabulon::testing::FailingSaveFile;
using testing::cp1251;
using testing::FileCommandTest;
using testing::readFile;
using testing::repeatedLines;
using testing::writeFile;

const QByteArray kEarlier = "earlier contents\r\n";

TEST_F(FileCommandTest, SaveWritesEveryLineAndLeavesTheLabelAlone) {
    grid(TableKind::Goods).setCell(1, 1, "1");
    grid(TableKind::Goods).setCell(1, 2, "Товар1");
    writeFile(path("goods.art"), kEarlier);
    EXPECT_EQ(save(0, Model::DatecsMp550T, path("goods.art")), FileCommandResult::Done);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(readFile(path("goods.art")),
              cp1251("1;Товар1;;;;;;;;;\r\n") + repeatedLines(";;;;;;;;;;", 9999));
    EXPECT_EQ(steps_, 10000);
    EXPECT_EQ(resets_, 2);
    EXPECT_EQ(progress_, 0);
    EXPECT_EQ(label_, "label before");
    EXPECT_EQ(QDir(directory_.path()).entryList(QDir::Files), QStringList{"goods.art"});
}

TEST_F(FileCommandTest, SaveOfAParameterTabStepsOnce) {
    fields_.setFieldText("Edit25", "1");
    EXPECT_EQ(save(7, Model::Neon, path("service.slu")), FileCommandResult::Done);
    EXPECT_EQ(readFile(path("service.slu")), "1;;;;;;;;;;;\r\n");
    EXPECT_EQ(steps_, 1);
    EXPECT_EQ(progress_, 0);
}

TEST_F(FileCommandTest, SaveIntoADirectoryThatDoesNotExistCannotCreateTheFile) {
    EXPECT_EQ(save(3, Model::Neon, path("no such dir/x.otd")), FileCommandResult::Failed);
    const auto box = onlyMessage();
    EXPECT_EQ(box.text, "Ошибка открытия файла");
    EXPECT_EQ(box.caption, "Ошибка работы с файлом");
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_FALSE(QDir(path("no such dir")).exists());
    EXPECT_EQ(progress_, -1);
}

TEST_F(FileCommandTest, SaveThatFailsMidwayLeavesTheEarlierFileIntact) {
    writeFile(path("goods.art"), kEarlier);
    saveFileFactory_ = [](const QString& name) {
        return std::make_unique<FailingSaveFile>(name, 5000);
    };
    dialogs_.answers.enqueue(MessageAnswer::Cancel);
    EXPECT_EQ(save(0, Model::DatecsMp550T, path("goods.art")), FileCommandResult::Failed);
    const auto box = onlyMessage();
    EXPECT_EQ(box.text, "Ошибка записи данных в файл");
    EXPECT_EQ(box.caption, "Ошибка работы с файлом");
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(readFile(path("goods.art")), kEarlier);
    // Nothing of the failed attempt is left behind.
    EXPECT_EQ(QDir(directory_.path()).entryList(QDir::Files), QStringList{"goods.art"});
    EXPECT_EQ(steps_, 5000 / 12);
}

TEST_F(FileCommandTest, SaveWhoseDirectoryVanishesBeforeTheEndReportsAWriteError) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows keeps a directory whose file is open";
#endif
    QDir(directory_.path()).mkdir("gone");
    const QString target = path("gone/departments.otd");
    saveFileFactory_ = [this](const QString& name) {
        return std::make_unique<FailingSaveFile>(
            name, 1 << 20, [this] { QDir(path("gone")).removeRecursively(); });
    };
    EXPECT_EQ(save(3, Model::DatecsMp550T, target), FileCommandResult::Failed);
    EXPECT_EQ(onlyMessage().text, "Ошибка записи данных в файл");
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(FileCommandTest, SaveOfATextOutsideTheCodePageKeepsTheEarlierFile) {
    writeFile(path("header.hft"), kEarlier);
    grid(TableKind::HeaderText).setCell(12, 1, "∑");
    EXPECT_EQ(save(4, Model::DatecsMp550T, path("header.hft")), FileCommandResult::Failed);
    EXPECT_EQ(onlyMessage().text,
              "Ошибка записи данных в файл\nСтрока 12, значение 1: символ «∑» (U+2211), которого "
              "нет в кодировке Windows-1251.");
    EXPECT_EQ(readFile(path("header.hft")), kEarlier);
    EXPECT_EQ(steps_, 11);
}

// Every guard names the row to mend: a grid of 10000 rows gives no other clue.
TEST_F(FileCommandTest, RefusedSavesNameTheRowAndTheValue) {
    grid(TableKind::Goods).setCell(7, 2, "😀 чай");
    EXPECT_EQ(save(0, Model::Neon, path("a.art")), FileCommandResult::Failed);
    EXPECT_EQ(dialogs_.messages().last().text,
              "Ошибка записи данных в файл\nСтрока 7, значение 2: символ «😀» (U+1F600), которого "
              "нет в кодировке Windows-1251.");

    grid(TableKind::Goods).setCell(7, 2, QString("чай\nзелений"));
    EXPECT_EQ(save(0, Model::Neon, path("a.art")), FileCommandResult::Failed);
    EXPECT_EQ(dialogs_.messages().last().text,
              "Ошибка записи данных в файл\nСтрока 7, значение 2: управляющий символ U+000A.");

    grid(TableKind::Goods).setCell(7, 2, QString(1, QChar(0)));
    EXPECT_EQ(save(0, Model::Neon, path("a.art")), FileCommandResult::Failed);
    EXPECT_EQ(dialogs_.messages().last().text,
              "Ошибка записи данных в файл\nСтрока 7, значение 2: управляющий символ U+0000.");

    grid(TableKind::Goods).setCell(7, 2, QString(190, u'я'));
    EXPECT_EQ(save(0, Model::Neon, path("a.art")), FileCommandResult::Failed);
    EXPECT_EQ(dialogs_.messages().last().text,
              "Ошибка записи данных в файл\nСтрока 7 длиннее 198 байт: при чтении файла она "
              "разделилась бы на две.");
    EXPECT_FALSE(QFile::exists(path("a.art")));
}

}  // namespace
}  // namespace tabulon::files
