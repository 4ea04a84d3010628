#include <gtest/gtest.h>

#include "sim/com_port_server.h"

// As from ser2net: a setting no line takes, or a command there is none of,
// gets no answer and leaves the line as it was.
TEST(ComPortServer, WhatItAnswers) {
    const auto sb = [](int command, const QByteArray& value) {
        return tabulon::link::telnet::comPortCommand(std::uint8_t(command), value);
    };
    const QByteArray cases[][2] = {
        {sb(3, "\x03"), sb(103, "\x03")},
        {sb(3, "\x09"), ""},
        {sb(2, "\xC8"), ""},
        {sb(4, "\x03"), ""},
        {sb(50, "\x01"), ""},
        {sb(5, "\x05\x05"), sb(105, "\x05")},
        {sb(3, QByteArray(1, '\0')), sb(103, "\x03")},
    };
    tabulon::sim::ComPortServer server;
    QByteArray data;
    for (const auto& [sent, answer] : cases)
        EXPECT_EQ(server.receive(sent, data), answer) << sent.toHex().constData();
}
