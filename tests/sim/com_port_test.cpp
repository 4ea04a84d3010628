// The simulated serial server's COM-PORT end, answering as ser2net answers.
#include <gtest/gtest.h>

#include "sim/com_port_server.h"

using namespace tabulon;

// A setting no serial line takes, or a command there is none of, gets no
// answer and leaves the line as it was.
TEST(ComPortServer, WhatItAnswers) {
    const auto sb = [](int command, const QByteArray& value) {
        return link::telnet::comPortCommand(std::uint8_t(command), value);
    };
    struct Case {
        QByteArray sent, answer;
    };
    const Case cases[] = {
        {sb(3, "\x03"), sb(103, "\x03")},                     // even parity
        {sb(3, "\x09"), ""},                                  // no such parity
        {sb(2, "\xC8"), ""},                                  // 200 data bits
        {sb(4, "\x03"), ""},                                  // 1.5 stop bits
        {sb(50, "\x01"), ""},                                 // no such command
        {sb(5, QByteArray(10000, '\x05')), sb(105, "\x05")},  // its first byte
        {sb(3, QByteArray(1, '\0')), sb(103, "\x03")},        // still even
    };
    sim::ComPortServer server;
    for (const Case& c : cases) {
        QByteArray data;
        EXPECT_EQ(server.receive(c.sent, data), c.answer) << c.sent.toHex().constData();
    }
}
