#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "app/main_window.h"
#include "app/toolkit_translations.h"
#include "app/window_font.h"
#include "app/window_link.h"
#include "dialogs/widget_dialogs.h"
#include "options/command_line.h"

namespace {

QString windowUsage() {
    return QStringLiteral(
        "Usage: tabulon [--trace FILE] [--grab FILE.png]\n"
        "Opens the Tabulon window: the tables of a Datecs MP-550T, Datecs MP-50 Junior\n"
        "or Neon cash register, edited, written into the register on a serial line,\n"
        "read back, reset and kept as table files.\n"
        "\n"
        "  --trace FILE     append every byte sent and received to FILE, with times\n"
        "                   (as Trace in the Communication section of Tabulon.ini)\n"
        "  --grab FILE.png  save a picture of the window as it opens to FILE.png and\n"
        "                   end (exit status 0 once the picture is written)\n"
        "  --help           show this text\n"
        "  --version        show the version\n"
        "\n"
        "Qt's own options, such as -platform NAME, are passed on to Qt.\n");
}

}  // namespace

int main(int argc, char* argv[]) {
    using tabulon::options::Takes;
    // Read before the toolkit starts: --help and --version need no display.
    // The words the toolkit takes for itself (-platform, -style ...) are no
    // mistake here.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    tabulon::options::CommandLine line({{u"trace", Takes::Value},
                                        {u"grab", Takes::Value},
                                        {u"help", Takes::Nothing},
                                        {u"version", Takes::Nothing}},
                                       false);
    line.read(arguments);
    if (line.isSet(u"version")) {
        std::printf("tabulon %s\n", TABULON_VERSION);
        return 0;
    }
    if (line.isSet(u"help")) {
        std::fputs(qPrintable(windowUsage()), stdout);
        return 0;
    }
    // --grab FILE: a picture of the window as it opens, for a support request
    // or a manual, and the program ends (0 once the picture is written).
    // --trace FILE: every byte of the line each way, with times, appended
    // to FILE (as tabulon-cli --trace); Trace in Tabulon.ini does the same.
    const std::pair<QString, QString> kFileOptions[] = {{"grab", "the name of a PNG file"},
                                                        {"trace", "the name of a file"}};
    for (const auto& [option, what] : kFileOptions) {
        if (line.isSet(option) && line.value(option).isEmpty()) {
            std::fputs(qPrintable(tabulon::options::usageMistake(
                           u"tabulon", QStringLiteral("--%1 needs %2").arg(option, what))),
                       stderr);
            return 2;
        }
    }
    const QString grabFile = line.value(u"grab");
    const QString traceArgument = line.value(u"trace");
    tabulon::app::useRussianSystemLocale();
#ifdef Q_OS_WIN
    // GDI hints every letter to whole pixels and makes Cyrillic captions
    // wider than the forms allow; FreeType draws the carried Tahoma with the
    // widths the forms were measured with, as on Linux.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
#endif
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tabulon");
    // Message boxes and file dialogs take the windows' font and language.
    QApplication::setFont(tabulon::app::windowFont());
    tabulon::app::loadToolkitTranslations(application);
    try {
        tabulon::WidgetDialogs startDialogs(nullptr);
        tabulon::app::WindowLink link = tabulon::app::makeWindowLink(
            tabulon::app::chosenTraceFile(traceArgument), startDialogs);
        tabulon::app::MainWindow window(nullptr, std::move(link.link));
        window.showTraceFile(link.traceFile);
        window.show();
        if (!grabFile.isEmpty()) {
            QTimer::singleShot(0, &window, [&window, grabFile] {
                const bool saved = window.grab().save(grabFile, "PNG");
                if (!saved)
                    std::fprintf(stderr, "tabulon: cannot write %s\n", qPrintable(grabFile));
                QApplication::exit(saved ? 0 : 1);
            });
        }
        return QApplication::exec();
    } catch (const std::exception& error) {
        tabulon::WidgetDialogs(nullptr).message(
            QString::fromLocal8Bit(error.what()), tabulon::messageCaption(),
            tabulon::MessageIcon::Stop, tabulon::MessageButtons::Ok);
        return 1;
    }
}
