#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "link/result_codes.h"
#include "transfer/run_parts.h"

class QColor;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace tabulon::app {

class PageHost;

// The controls of the main window's connection group.
struct ConnectionControls {
    QComboBox* port = nullptr;            // ComboBox1 "COM1".."COM9"
    QComboBox* speed = nullptr;           // ComboBox2
    QComboBox* registerNumber = nullptr;  // ComboBox3
    QComboBox* model = nullptr;           // ComboBox4
    QLabel* state = nullptr;              // Label3
    QPushButton* button = nullptr;        // Button5 "Подключить" / "Отключить"
};

// Connecting to a register and disconnecting: one button whose caption is
// the connection state. Opening the port and looking for the register run on
// the link's thread; the outcome sets the window's shared state (connected,
// the register's number).
class ConnectionGroup : public QObject {
    Q_OBJECT
public:
    ConnectionGroup(PageHost& host, const ConnectionControls& controls, bool& connected,
                    int& registerNumber, QWidget* window);

    // Handlers, named after their control and event.
    void Button5Click();

    // The connected register and the port a failed record reopens.
    transfer::Connection linkConnection() const;

private:
    // A connect as the boxes said when it began.
    struct Connecting {
        int port = 0;
        int speed = 0;
        int registerNumber = 0;
        QString modelText;
    };
    void disconnectRegister();
    void connectRegister();
    void setConnectionState(const QString& text, const QColor& color);
    void showConnectFailure(link::ResultCause why, int speed, const QString& openError);
    void showDetection(bool found, const Connecting& connecting);

    PageHost& host_;
    ConnectionControls controls_;
    bool& connected_;
    int& registerNumber_;
    QWidget* window_;
    // The port the last connect opened and its speed, until the button lets
    // it go: what a run reopens after a skip or before a retry, whatever the
    // boxes show meanwhile.
    struct OpenedPort {
        int port = 0;
        int speed = 0;
    };
    std::optional<OpenedPort> openedPort_;
};

}  // namespace tabulon::app
