#pragma once

#include <QDialog>

namespace tabulon::app {

// "О программе": a few lines about the program and a button that closes it.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
};

}  // namespace tabulon::app
