// Tests that drive a real serial port or a child process need a Qt
// application object: QSerialPort and QProcess watch their descriptors with
// socket notifiers, which want the main thread's event dispatcher.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
