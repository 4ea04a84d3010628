#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What must hold for every input. A broken promise aborts, which libFuzzer
// reports as a crash and keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)

namespace tabulon::fuzz {

// Qt's warnings about inputs it refuses ("QBuffer::seek: Invalid pos") are
// expected here by the thousand; writing them out only slows the runs.
inline void quietQt() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

// The input as bytes, without a copy.
inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Takes leading choice bytes off an input; 0 once it is used up.
class Choices {
public:
    Choices(const std::uint8_t*& data, std::size_t& size) : data_(data), size_(size) {}
    std::uint8_t next() {
        if (size_ == 0) return 0;
        --size_;
        return *data_++;
    }

private:
    const std::uint8_t*& data_;
    std::size_t& size_;
};

}  // namespace tabulon::fuzz
