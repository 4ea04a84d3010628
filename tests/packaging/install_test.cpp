#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

ProgramRun run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString unpacked(const QString& gzipFile) {
    return run(QStringLiteral("gzip"), {"-dc", gzipFile}).out;
}

// One install for every test of the program.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix_ = new QTemporaryDir;
        installed_ =
            new ProgramRun(run(QStringLiteral(TABULON_CMAKE),
                               {"--install", TABULON_BUILD_DIR, "--prefix", prefix_->path()}));
    }
    static void TearDownTestSuite() {
        delete installed_;
        delete prefix_;
    }
    void SetUp() override { ASSERT_EQ(installed_->status, 0) << qPrintable(installed_->err); }

    static QString file(const QString& path) { return prefix_->filePath(path); }
    static QString text(const QString& path) {
        QFile in(file(path));
        return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
    }

private:
    static inline QTemporaryDir* prefix_ = nullptr;
    static inline ProgramRun* installed_ = nullptr;
};

}  // namespace

TEST_F(Installed, ProgramsAnswerTheirUsageAndTheProjectVersion) {
    for (const QString program : {"tabulon", "tabulon-cli", "tabulon-sim"}) {
        const QFileInfo info(file("bin/" + program));
        ASSERT_TRUE(info.isFile()) << qPrintable(program);
        EXPECT_TRUE(info.isExecutable()) << qPrintable(program);
        const ProgramRun version = run(info.filePath(), {"--version"});
        EXPECT_EQ(version.status, 0) << qPrintable(program);
        EXPECT_EQ(version.out, program + " " TABULON_VERSION "\n");
        const ProgramRun help = run(info.filePath(), {"--help"});
        EXPECT_EQ(help.status, 0) << qPrintable(program);
        EXPECT_TRUE(help.out.startsWith("Usage: " + program + " [")) << qPrintable(help.out);
    }
    // Nothing but the programs goes into bin/, and no library is installed.
    EXPECT_EQ(QDir(file("bin")).entryList(QDir::Files),
              QStringList({"tabulon", "tabulon-cli", "tabulon-sim"}));
    EXPECT_FALSE(QFileInfo::exists(file("lib")));
}

TEST_F(Installed, DesktopEntryInRussianWithItsIcon) {
    const QString entry = text("share/applications/tabulon.desktop");
    QStringList lines = entry.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.takeFirst(), "[Desktop Entry]");
    QMap<QString, QString> keys;
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf('=');
        ASSERT_GT(eq, 0) << qPrintable(line);
        EXPECT_FALSE(keys.contains(line.left(eq))) << qPrintable(line);
        keys.insert(line.left(eq), line.mid(eq + 1));
    }
    EXPECT_EQ(keys.value("Type"), "Application");
    EXPECT_EQ(keys.value("Exec"), "tabulon");
    EXPECT_EQ(keys.value("Icon"), "tabulon");
    EXPECT_EQ(keys.value("Terminal"), "false");
    EXPECT_EQ(keys.value("Name[ru]"), "Табулон");
    EXPECT_TRUE(keys.value("Comment[ru]").startsWith("Запись, чтение и хранение таблиц"));
    const QStringList categories = keys.value("Categories").split(';', Qt::SkipEmptyParts);
    EXPECT_TRUE(categories.contains("Office") || categories.contains("Utility"));

    // The icon the entry names, a well-formed SVG drawing.
    QFile icon(file("share/icons/hicolor/scalable/apps/tabulon.svg"));
    ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&icon);
    ASSERT_TRUE(svg.readNextStartElement());
    EXPECT_EQ(svg.name(), u"svg");
    EXPECT_EQ(svg.attributes().value("viewBox"), u"0 0 64 64");
    int shapes = 0;
    while (!svg.atEnd()) {
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() != u"g") ++shapes;
    }
    EXPECT_FALSE(svg.hasError()) << qPrintable(svg.errorString());
    EXPECT_GT(shapes, 10);
}

TEST_F(Installed, ManualPagesDescribeEveryCommandAndOption) {
    for (const QString page : {"tabulon", "tabulon-cli", "tabulon-sim"}) {
        const QString roff = unpacked(file("share/man/man1/" + page + ".1.gz"));
        EXPECT_TRUE(roff.startsWith(".TH " + page.toUpper() + " 1 ")) << qPrintable(page);
        EXPECT_TRUE(roff.contains("\"Tabulon " TABULON_VERSION "\"")) << qPrintable(page);
        EXPECT_FALSE(roff.contains('@')) << qPrintable(page);
    }

    // Every command and option --help lists is in the page, as roff writes
    // its name (a "-" as "\-").
    const QString cli = unpacked(file("share/man/man1/tabulon-cli.1.gz"));
    const QString help = run(file("bin/tabulon-cli"), {"--help"}).out;
    const qsizetype commands = help.indexOf("Commands:\n");
    ASSERT_GT(commands, 0);
    static const QRegularExpression option("^  (--[a-z-]+)", QRegularExpression::MultilineOption);
    static const QRegularExpression command("^  ([a-z-]+)", QRegularExpression::MultilineOption);
    int seen = 0;
    for (auto it = option.globalMatch(help.left(commands)); it.hasNext(); ++seen) {
        const QString name = it.next().captured(1);
        const QString roffName = QString(name).replace("-", "\\-");
        EXPECT_TRUE(cli.contains(".B " + roffName) || cli.contains(".BI " + roffName) ||
                    cli.contains(".BR " + roffName))
            << qPrintable(name);
    }
    for (auto it = command.globalMatch(help.mid(commands)); it.hasNext(); ++seen) {
        const QString name = QString(it.next().captured(1)).replace("-", "\\-");
        EXPECT_TRUE(cli.contains(".B " + name + '\n') || cli.contains(".BI " + name + ' '))
            << qPrintable(name);
    }
    EXPECT_GT(seen, 20);

    const QString sim = unpacked(file("share/man/man1/tabulon-sim.1.gz"));
    const QString simHelp = run(file("bin/tabulon-sim"), {"--help"}).out;
    for (auto it = option.globalMatch(simHelp); it.hasNext();) {
        const QString name = QString(it.next().captured(1)).replace("-", "\\-");
        EXPECT_TRUE(sim.contains(".B " + name + '\n') || sim.contains(".BI " + name + ' '))
            << qPrintable(name);
    }
}

TEST_F(Installed, DebianDocuments) {
    const QString copyright = text("share/doc/tabulon/copyright");
    EXPECT_TRUE(copyright.startsWith("Format: https://www.debian.org/"));
    EXPECT_TRUE(
        copyright.contains("Files: *\nCopyright: 2026 The Tabulon developers\n"
                           "License: GPL-3+\n"))
        << qPrintable(copyright);
    EXPECT_TRUE(copyright.contains("/usr/share/common-licenses/GPL-3")) << qPrintable(copyright);
    const QString changelog = unpacked(file("share/doc/tabulon/changelog.gz"));
    EXPECT_TRUE(changelog.startsWith("tabulon (" TABULON_VERSION ") unstable; urgency=medium\n"))
        << qPrintable(changelog);
}
