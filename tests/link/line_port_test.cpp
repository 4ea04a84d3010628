#include "link/line_port.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace tabulon;

namespace {

// A port that notes what was done to it in a shared log, under its kind's name.
class NotingPort final : public link::BytePort {
public:
    NotingPort(QString kind, QStringList& log) : kind_(std::move(kind)), log_(log) {}
    bool open(const QString& device) override {
        log_ << kind_ + " open " + device;
        open_ = !device.endsWith("fails");
        return open_;
    }
    bool apply(const link::LineSettings&) override { return open_; }
    bool isOpen() const override { return open_; }
    void write(QByteArrayView bytes) override { log_ << kind_ + " write " + bytes.toByteArray(); }
    std::optional<std::uint8_t> readByte() override { return std::nullopt; }
    void drain() override {}
    void discardInput() override {}
    bool close() override {
        log_ << kind_ + " close";
        open_ = false;
        return true;
    }
    QString errorString() const override { return open_ ? QString() : kind_ + " failed"; }

private:
    QString kind_;
    QStringList& log_;
    bool open_ = false;
};

}  // namespace

// Each opening picks the kind of port its address names; a new kind closes
// the port of the other first, and a port of the same kind is opened again.
TEST(LinePort, EachOpeningTakesThePortItsAddressNames) {
    QStringList log;
    int made = 0;
    const auto port = link::makeLinePort(
        [&] {
            ++made;
            return std::make_unique<NotingPort>("serial", log);
        },
        [&] {
            ++made;
            return std::make_unique<NotingPort>("network", log);
        });
    EXPECT_FALSE(port->isOpen());
    port->write("lost");  // nothing to write to yet
    EXPECT_EQ(port->readByte(), std::nullopt);

    const struct {
        QString address;
        bool opens;
        QStringList log;
        int made;
    } rows[] = {
        {"/dev/ttyUSB0", true, {"serial open /dev/ttyUSB0"}, 1},
        {"COM3", true, {"serial open COM3"}, 1},
        {"rfc2217://10.0.3.7:4001",
         true,
         {"serial close", "network open rfc2217://10.0.3.7:4001"},
         2},
        {"TCP://10.0.3.7:4002", true, {"network open TCP://10.0.3.7:4002"}, 2},
        {"tcp://10.0.3.7:fails", false, {"network open tcp://10.0.3.7:fails"}, 2},
        {"/dev/ttyS0", true, {"network close", "serial open /dev/ttyS0"}, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address.toStdString());
        log.clear();
        EXPECT_EQ(port->open(row.address), row.opens);
        EXPECT_EQ(port->isOpen(), row.opens);
        EXPECT_EQ(log, row.log);
        EXPECT_EQ(made, row.made);
    }
    log.clear();
    port->write("x");
    EXPECT_TRUE(port->close());
    EXPECT_EQ(log, (QStringList{"serial write x", "serial close"}));
}
