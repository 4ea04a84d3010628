#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/main_window.h"
#include "support/scripted_dialogs.h"

namespace tabulon::testing {

// A main window on the offscreen screen, started in a scratch working
// directory with scripted dialogs.
class WindowFixture {
public:
    // iniBytes: the Tabulon.ini to start with; null for none.
    // link: the window's register link; the serial one when none is given.
    explicit WindowFixture(const QByteArray& iniBytes = {},
                           std::unique_ptr<link::RegisterLink> link = nullptr);
    ~WindowFixture();

    app::MainWindow& window() { return *window_; }
    ScriptedDialogs& dialogs() { return dialogs_; }
    QString directory() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QByteArray iniBytes() const;

    template <class T>
    T* control(const char* name) {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }

    // Lets the link's thread finish everything it was given and the window
    // take in what it reported. False after `timeoutMs` of waiting.
    bool waitForLink(int timeoutMs = 20000);

    // Saves a picture of the window (or another) when TABULON_SCREENSHOTS
    // names a folder.
    void screenshot(const QString& name, QWidget* other = nullptr);

private:
    QTemporaryDir dir_;
    QString previousDirectory_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<app::MainWindow> window_;
};

}  // namespace tabulon::testing
