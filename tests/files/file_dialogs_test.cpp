#include "command_fixture.h"
#include "files/file_dialog_texts.h"

namespace tabulon::files {
namespace {

using testing::FileCommandTest;

struct ExpectedDialog {
    int tab;
    const char* filterList;
    const char* openTitle;
    const char* saveTitle;
    const char* extension;
};

const ExpectedDialog kDialogs[] = {
    {0, "Файлы артикулов(*.art)|*.ART|Все файлы (*.*)|*.*", "Открыть файл артикулов",
     "Сохранить файл артикулов", "art"},
    {1, "Файлы кассиров(*.opr)|*.OPR|Все файлы (*.*)|*.*", "Открыть файл кассиров",
     "Сохранить файл кассиров", "opr"},
    {2, "Файлы типов оплаты(*.opl)|*.OPL|Все файлы (*.*)|*.*", "Открыть файл типов оплаты",
     "Сохранить файл типов оплаты", "opl"},
    {3, "Файлы отделов(*.otd)|*.OTD|Все файлы (*.*)|*.*", "Открыть файл отделов",
     "Сохранить файл отделов", "otd"},
    {4, "Файлы заголовков и рекл. текста(*.hft)|*.HFT|Все файлы (*.*)|*.*",
     "Открыть файл заголовка и рекламного текста", "Сохранить файл заголовка и рекламного текста",
     "hft"},
    {5, "Файлы параметров кассы(*.pak)|*.PAK|Все файлы (*.*)|*.*", "Открыть файл параметров кассы",
     "Сохранить файл параметров кассы", "pak"},
    {6, "Файлы параметров чека(*.pac)|*.PAC|Все файлы (*.*)|*.*", "Открыть параметров чека",
     "Сохранить файл параметров чека", "pac"},
    {7, "Файлы служебной информации(*.slu)|*.SLU|Все файлы (*.*)|*.*",
     "Открыть файл служебной информации", "Сохранить файл служебной информации", "slu"},
};

TEST_F(FileCommandTest, EachTabAsksForItsOwnFileTypeInTheCurrentDirectory) {
    for (const ExpectedDialog& expected : kDialogs) {
        dialogs_.shown.clear();
        EXPECT_EQ(open(expected.tab, Model::Neon, std::nullopt), FileCommandResult::Cancelled);
        EXPECT_EQ(save(expected.tab, Model::Neon, std::nullopt), FileCommandResult::Cancelled);
        ASSERT_EQ(dialogs_.shown.size(), 2);

        // Open, then Save: each dialog's kind, title, filters, extension and folder.
        const auto shown = [](const ScriptedDialogs::Shown& d) {
            return std::tuple(d.kind, d.request.title, d.request.filterList,
                              d.request.defaultExtension, d.request.directory);
        };
        EXPECT_EQ(shown(dialogs_.shown[0]),
                  std::tuple(ScriptedDialogs::Kind::OpenFile, expected.openTitle,
                             expected.filterList, expected.extension, directory_.path()));
        EXPECT_EQ(shown(dialogs_.shown[1]),
                  std::tuple(ScriptedDialogs::Kind::SaveFile, expected.saveTitle,
                             expected.filterList, expected.extension, directory_.path()));
    }
    EXPECT_TRUE(QDir(directory_.path()).isEmpty());
    EXPECT_EQ(progress_, -1);
    EXPECT_EQ(label_, "label before");
}

TEST_F(FileCommandTest, LogoAndReportTabsHaveNoTableFile) {
    for (int tab : {kLogoTab, kReportsTab}) {
        dialogs_.fileNames.enqueue(path("x.art"));
        EXPECT_EQ(openTableFile(context(tab)), FileCommandResult::NoTableFile);
        EXPECT_EQ(saveTableFile(context(tab)), FileCommandResult::NoTableFile);
        EXPECT_FALSE(fileDialogTexts(tab).has_value());
    }
    EXPECT_TRUE(dialogs_.shown.isEmpty());
    EXPECT_TRUE(QDir(directory_.path()).isEmpty());
}

}  // namespace
}  // namespace tabulon::files
