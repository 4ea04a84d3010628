#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutBoxForm;
}

namespace tabulon::app {

// "О программе": a few lines about the program and a button that closes it.
// The lines and places are in about_box.ui.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
    ~AboutBox() override;

    // A line saying where the exchange with the registers is being
    // recorded; none when `path` is empty.
    void showTraceFile(const QString& path);

private:
    std::unique_ptr<Ui::AboutBoxForm> ui;
};

}  // namespace tabulon::app
