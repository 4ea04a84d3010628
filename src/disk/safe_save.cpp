#include "disk/safe_save.h"

#include <QFileInfo>
#include <cerrno>

#include "disk/sync_to_disk.h"

namespace tabulon::disk {

namespace {

const QString kUnknownError = QStringLiteral("Unknown error");

// What the system said about the call that failed; what Qt says when the
// system said nothing; and when neither did, what is known. Qt does not
// keep errno for a write the system cut short, and a bare "Unknown error"
// tells the user nothing to act on.
QString reasonFor(int savedErrno, const QFileDevice& file) {
    if (savedErrno != 0) return qt_error_string(savedErrno);
    if (file.error() != QFileDevice::NoError && file.errorString() != kUnknownError)
        return file.errorString();
    return QStringLiteral("not every byte reached the disk");
}

}  // namespace

// Between the writers and the save file: a write the save file takes only in
// part is a failure here, with the system's reason. QSaveFile itself reports
// a large write the disk cut short as a short count and no error, which the
// writers' own checks would have to catch one by one.
class SafeSave::Device : public QIODevice {
public:
    explicit Device(QSaveFile& file) : file_(file) {}

    bool failed() const { return failed_; }
    const QString& reason() const { return reason_; }

    bool seek(qint64 position) override {
        return QIODevice::seek(position) && file_.seek(position);
    }
    qint64 size() const override { return file_.size(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        if (failed_) return -1;
        errno = 0;
        if (file_.write(data, length) == length) return length;
        failed_ = true;
        reason_ = reasonFor(errno, file_);
        return -1;
    }

private:
    QSaveFile& file_;
    bool failed_ = false;
    QString reason_;
};

SafeSave::SafeSave(const QString& path) : SafeSave(std::make_unique<QSaveFile>(path)) {}

SafeSave::SafeSave(std::unique_ptr<QSaveFile> file)
    : file_(std::move(file)), device_(std::make_unique<Device>(*file_)) {}

SafeSave::~SafeSave() {
    cancel();
}

bool SafeSave::open() {
    // A device or a pipe under that name would be renamed over by a regular
    // file: a report named "/dev/ttyS0" must not take the port's place.
    if (const QFileInfo target(file_->fileName());
        target.exists() && !target.isFile() && !target.isDir()) {
        error_ = QStringLiteral("not a regular file");
        return false;
    }
    if (!file_->open(QIODevice::WriteOnly)) {
        error_ = file_->errorString();
        return false;
    }
    device_->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    open_ = true;
    error_.clear();
    return true;
}

QIODevice& SafeSave::device() {
    return *device_;
}

bool SafeSave::commit() {
    if (!open_) return fail(error_.isEmpty() ? QStringLiteral("the file was not open") : error_);
    // A write that failed may have left a hole the rest was written after.
    if (device_->failed()) return fail(device_->reason());
    if (file_->error() != QFileDevice::NoError) return fail(reasonFor(0, *file_));
    errno = 0;
    if (!file_->flush()) return fail(reasonFor(errno, *file_));
    errno = 0;
    if (!syncToDisk(file_->handle())) return fail(reasonFor(errno, *file_));
    open_ = false;
    device_->close();
    errno = 0;
    if (!file_->commit() || file_->error() != QFileDevice::NoError) {
        error_ = reasonFor(errno, *file_);
        return false;
    }
    return true;
}

void SafeSave::cancel() {
    if (!open_) return;
    // A write that failed on the way is why the caller gives up; cancelling
    // would put Qt's own words in place of the system's.
    if (error_.isEmpty() && device_->failed()) error_ = device_->reason();
    open_ = false;
    device_->close();
    file_->cancelWriting();
    // Closing a cancelled save file removes the temporary and nothing else.
    file_->commit();
}

QString SafeSave::fileName() const {
    return file_->fileName();
}

QString SafeSave::errorString() const {
    return error_;
}

bool SafeSave::fail(const QString& reason) {
    error_ = reason;
    cancel();
    return false;
}

}  // namespace tabulon::disk
