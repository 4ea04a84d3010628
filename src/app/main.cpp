#include <QApplication>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/main_window.h"
#include "app/toolkit_translations.h"
#include "app/window_font.h"
#include "dialogs/widget_dialogs.h"

int main(int argc, char* argv[]) {
    // Answered before the toolkit starts: it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tabulon %s\n", TABULON_VERSION);
            return 0;
        }
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tabulon");
    // Message boxes and file dialogs take the windows' font and language.
    QApplication::setFont(tabulon::app::windowFont());
    tabulon::app::loadToolkitTranslations(application);
    try {
        tabulon::app::MainWindow window;
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        tabulon::WidgetDialogs(nullptr).message(QString::fromLocal8Bit(error.what()), "Tabulon",
                                                tabulon::MessageIcon::Stop,
                                                tabulon::MessageButtons::Ok);
        return 1;
    }
}
