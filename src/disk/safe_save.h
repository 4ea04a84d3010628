#pragma once

#include <QSaveFile>
#include <QString>
#include <memory>

namespace tabulon::disk {

// Every file the program writes goes through here. The new contents go into
// a temporary beside the target, and the target is replaced only once they
// are known to be on the disk whole: flushed, synced and free of any write
// error. Anything less leaves the earlier file byte for byte as it was.
//
// QSaveFile alone is not enough: in Qt 6.4 its commit() reports success when
// its last flush fails, so a full disk replaces a good file with a cut-short
// one and the save says it went well.
class SafeSave {
public:
    explicit SafeSave(const QString& path);
    // Takes a save file made elsewhere; tests give one whose device fails.
    explicit SafeSave(std::unique_ptr<QSaveFile> file);
    // Cancels unless committed.
    ~SafeSave();
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    // Creates the temporary; false when it cannot be created.
    bool open();
    // Where the contents are written. A write it does not take whole fails,
    // and so does every later one and the commit.
    QIODevice& device();
    // Replaces the target with what was written. False, and the earlier file
    // kept, when a byte may be missing.
    bool commit();
    // Drops what was written; the earlier file stays.
    void cancel();

    // The target's path.
    QString fileName() const;
    // Why open() or commit() failed, or a write before a cancel, in the
    // system's words.
    QString errorString() const;

private:
    class Device;
    bool fail(const QString& reason);

    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<Device> device_;
    QString error_;
    bool open_ = false;
};

}  // namespace tabulon::disk
