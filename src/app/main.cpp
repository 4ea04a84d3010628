#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/main_window.h"
#include "app/toolkit_translations.h"
#include "app/window_font.h"
#include "app/window_link.h"
#include "dialogs/widget_dialogs.h"

int main(int argc, char* argv[]) {
    // --grab FILE: a picture of the window as it opens, for a support request
    // or a manual, and the program ends (0 once the picture is written).
    const char* grabFile = nullptr;
    // --trace FILE: every byte of the line each way, with times, appended
    // to FILE (as tabulon-cli --trace); Trace in Tabulon.ini does the same.
    const char* traceArgument = nullptr;
    // Answered before the toolkit starts: it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tabulon %s\n", TABULON_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--grab") == 0) {
            if (i + 1 == argc) {
                std::fprintf(stderr, "tabulon: --grab needs the name of a PNG file\n");
                return 2;
            }
            grabFile = argv[++i];
        }
        if (std::strcmp(argv[i], "--trace") == 0) {
            if (i + 1 == argc) {
                std::fprintf(stderr, "tabulon: --trace needs the name of a file\n");
                return 2;
            }
            traceArgument = argv[++i];
        }
    }
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
            tabulon::app::chosenTraceFile(traceArgument ? QString::fromLocal8Bit(traceArgument)
                                                        : QString()),
            startDialogs);
        tabulon::app::MainWindow window(nullptr, std::move(link.link));
        window.showTraceFile(link.traceFile);
        window.show();
        if (grabFile) {
            QTimer::singleShot(0, &window, [&window, grabFile] {
                const bool saved = window.grab().save(QString::fromLocal8Bit(grabFile), "PNG");
                if (!saved) std::fprintf(stderr, "tabulon: cannot write %s\n", grabFile);
                QApplication::exit(saved ? 0 : 1);
            });
        }
        return QApplication::exec();
    } catch (const std::exception& error) {
        tabulon::WidgetDialogs(nullptr).message(QString::fromLocal8Bit(error.what()), "Tabulon",
                                                tabulon::MessageIcon::Stop,
                                                tabulon::MessageButtons::Ok);
        return 1;
    }
}
