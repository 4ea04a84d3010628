#include "support/window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

namespace tabulon::testing {

WindowFixture::WindowFixture(const QByteArray& iniBytes, std::unique_ptr<link::RegisterLink> link)
    : previousDirectory_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
    if (!iniBytes.isNull()) {
        QFile file(dir_.filePath("Tabulon.ini"));
        if (file.open(QIODevice::WriteOnly)) file.write(iniBytes);
    }
    window_ = std::make_unique<app::MainWindow>(&dialogs_, std::move(link));
    window_->show();
    if (!QTest::qWaitFor([this] { return window_->isInitialised(); }, 5000))
        qWarning("the main window did not initialise");
}

WindowFixture::~WindowFixture() {
    window_.reset();
    QDir::setCurrent(previousDirectory_);
}

QByteArray WindowFixture::iniBytes() const {
    QFile file(dir_.filePath("Tabulon.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WindowFixture::waitForLink(int timeoutMs) {
    const bool idle = QTest::qWaitFor([this] { return !window_->isLinkBusy(); }, timeoutMs);
    // What the last job reported is queued by now; let the window take it.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return idle;
}

void WindowFixture::screenshot(const QString& name, QWidget* other) {
    const QString folder = qEnvironmentVariable("TABULON_SCREENSHOTS");
    if (folder.isEmpty()) return;
    (other ? other : window_.get())->grab().save(QDir(folder).filePath(name + ".png"));
}

}  // namespace tabulon::testing
