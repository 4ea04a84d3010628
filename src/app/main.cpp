#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "app/main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tabulon");
    try {
        tabulon::app::MainWindow window;
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Tabulon", QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
