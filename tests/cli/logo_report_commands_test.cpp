// write-logo, read-logo and reports through a pseudo-terminal against
// tabulon-sim.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "logo/dot_row.h"
#include "logo/logo_file.h"
#include "sim/tables.h"
#include "support/cli_process.h"
#include "support/report_file.h"

namespace {

namespace logo = tabulon::logo;
namespace sim = tabulon::sim;
using tabulon::testing::reportFile;

class LogoAndReports : public ::testing::Test {
protected:
    QTemporaryDir directory;
    QString path(const QString& name) const { return directory.filePath(name); }
};

QImage stripes(int height) {
    QImage picture(192, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 192; ++x)
            picture.setPixel(x, y, (x + 2 * y) % 5 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return picture;
}

TEST_F(LogoAndReports, ALogoWrittenFromABmpComesBackDotForDot) {
    SimProcess ecr({"--model", "neon"});
    ASSERT_FALSE(ecr.path().isEmpty());
    const QImage original = stripes(150);
    ASSERT_TRUE(original.convertToFormat(QImage::Format_Indexed8).save(path("in.bmp"), "BMP"));

    const CliRun write = cli(on(ecr, {"write-logo", path("in.bmp")}));
    EXPECT_EQ(write.status, 0) << qPrintable(write.err);
    EXPECT_EQ(write.out, "logo: 150 records written\n");
    EXPECT_EQ(write.err, "");

    const CliRun read = cli(on(ecr, {"read-logo", path("out.bmp")}));
    EXPECT_EQ(read.status, 0) << qPrintable(read.err);
    EXPECT_EQ(read.out, "logo: 200 records read into " + path("out.bmp") + "\n");
    const logo::LoadedLogo back = logo::loadLogoFile(path("out.bmp"));
    ASSERT_EQ(back.picture.size(), QSize(192, 200));
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 192; ++x)
            ASSERT_EQ(logo::isDot(back.picture.pixel(x, y)), logo::isDot(original.pixel(x, y)))
                << x << ',' << y;
    // Rows the picture did not reach keep what the register had.
    for (int record = 151; record <= 200; ++record)
        ASSERT_EQ(logo::recordText(logo::rowBytes(back.picture, record - 1)),
                  sim::defaultRecord(sim::Model::Neon, 136, record));
}

TEST_F(LogoAndReports, LogoCommandsRefuseBeforeTheyBeginAndStopAtTheFirstFailure) {
    SimProcess ecr({"--log"});
    ASSERT_TRUE(stripes(230).save(path("tall.bmp"), "BMP"));
    const CliRun tall = cli(on(ecr, {"write-logo", path("tall.bmp")}));
    EXPECT_EQ(tall.status, 2);
    EXPECT_EQ(tall.err, path("tall.bmp") +
                            ": the picture is 230 rows high; the register's logo holds rows 1-200 "
                            "only\nnothing was sent\n");

    ASSERT_TRUE(stripes(5).save(path("photo.bmp"), "PNG"));
    const CliRun png = cli(on(ecr, {"write-logo", path("photo.bmp")}));
    EXPECT_EQ(png.status, 2);
    EXPECT_EQ(png.err, path("photo.bmp") + ": not a BMP picture, or a damaged one\n");

    const CliRun nowhere = cli(on(ecr, {"read-logo", path("missing/out.bmp")}));
    EXPECT_EQ(nowhere.status, 2);
    EXPECT_TRUE(nowhere.err.startsWith(path("missing/out.bmp") + ": cannot create: "))
        << qPrintable(nowhere.err);
    EXPECT_TRUE(commandsIn(ecr.stop()).isEmpty());

    SimProcess silent({"--silent"});
    ASSERT_TRUE(stripes(5).save(path("small.bmp"), "BMP"));
    const CliRun write = cli(on(silent, {"write-logo", path("small.bmp")}));
    EXPECT_EQ(write.status, 1);
    EXPECT_EQ(write.out, "");
    EXPECT_EQ(write.err,
              "logo: record 1 not written: the register did not answer its select "
              "sequence\n");
    const CliRun read = cli(on(silent, {"read-logo", path("out.bmp")}));
    EXPECT_EQ(read.status, 1);
    EXPECT_TRUE(read.err.endsWith(path("out.bmp") + " not written\n")) << qPrintable(read.err);
    EXPECT_FALSE(QFile::exists(path("out.bmp")));
}

TEST_F(LogoAndReports, ReportsGoIntoTheirFilesByTheNamesOfTheSettingsFile) {
    SimProcess ecr({"--model", "mp-50-junior"});
    ASSERT_TRUE(QDir(directory.path()).mkdir("rep"));
    writeFile(path("Tabulon.ini"), "[Reports]\r\nOtd=departments.txt\r\n");
    const CliRun run = cli(on(ecr, {"reports", "--dir", path("rep"), "--separator", ",", "--only",
                                    "otd,nalog,art", "--model", "mp-50-junior"}),
                           directory.path());
    EXPECT_EQ(run.status, 0) << qPrintable(run.err);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, path("rep/RepArt.dat") + ": 5000 lines\n" + path("rep/departments.txt") +
                           ": 20 lines\n" + path("rep/RepNalog.dat") + ": 1 line\n");
    EXPECT_EQ(readFile(path("rep/departments.txt")),
              reportFile(sim::Model::DatecsMp50Junior, 74, 20, ','));
    EXPECT_EQ(readFile(path("rep/RepNalog.dat")),
              reportFile(sim::Model::DatecsMp50Junior, 78, 1, ','));
    EXPECT_EQ(readFile(path("rep/RepArt.dat")),
              reportFile(sim::Model::DatecsMp50Junior, 65, 5000, ','));
    EXPECT_FALSE(QFile::exists(path("rep/RepGrp.dat")));
}

TEST_F(LogoAndReports, ReportsRefuseAWrongCommandLineAndSayWhatIsIncomplete) {
    SimProcess ecr({});
    EXPECT_EQ(cli(on(ecr, {"reports"})).status, 2);
    // A missing directory is made, as for a fleet.
    EXPECT_EQ(cli(on(ecr, {"reports", "--dir", path("new/rep"), "--only", "opl"})).status, 0);
    EXPECT_TRUE(QFile::exists(path("new/rep/RepOpl.dat")));
    const CliRun unknown = cli(on(ecr, {"reports", "--dir", path(""), "--only", "otd,sales"}));
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err,
              "tabulon-cli: --only: unknown report sales; the reports are art, otd, grp, operat, "
              "nalog, opl, operac (see --help)\n");
    EXPECT_EQ(cli(on(ecr, {"reports", "--dir", path(""), "--separator", "ab"})).status, 2);
    EXPECT_EQ(cli(on(ecr, {"reports", "--dir", path(""), "--separator", ""})).status, 2);
    EXPECT_EQ(cli(on(ecr, {"--dir", path(""), "detect"})).status, 2);

    // A file that cannot be created ends the download after the reports before it.
    writeFile(path("Tabulon.ini"), "[Reports]\r\nGrp=gone/RepGrp.dat\r\n");
    const CliRun gone = cli(
        on(ecr, {"reports", "--dir", directory.path(), "--only", "otd,grp,opl"}), directory.path());
    EXPECT_EQ(gone.status, 1);
    EXPECT_EQ(gone.out, path("RepOtd.dat") + ": 20 lines\n");
    EXPECT_TRUE(gone.err.startsWith(path("gone/RepGrp.dat") + ": cannot create: "))
        << qPrintable(gone.err);
    EXPECT_FALSE(QFile::exists(path("RepOpl.dat")));

    SimProcess refusing({"--error-replies"});
    const CliRun failed =
        cli(on(refusing, {"reports", "--dir", directory.path(), "--only", "opl"}));
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err,
              "record 1 failed ten times: the register refused the record (\"E\" "
              "reply)\nrecord 1 of RepOpl.dat not read\n" +
                  path("RepOpl.dat") + " is incomplete: 0 of 1 line\n");
    EXPECT_TRUE(QFile::exists(path("RepOpl.dat")));
    EXPECT_EQ(readFile(path("RepOpl.dat")), "");
}

}  // namespace
