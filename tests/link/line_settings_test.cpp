#include "link/line_settings.h"

#include <gtest/gtest.h>

using namespace tabulon::link;

TEST(LineSettings, SpeedTable) {
    const int accepted[] = {4800, 9600, 14400, 19200, 28800, 38400, 56000, 57700, 115200};
    for (int speed : accepted) {
        ASSERT_EQ(speedText(speed), ':' + QByteArray::number(speed) + ',');
        const auto settings = lineSettingsFromMode(modeText(3, *speedText(speed)));
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->baudRate, speed);
    }
    for (int refused : {0, -9600, 57600, 2400, 230400, 9601})
        EXPECT_FALSE(speedText(refused)) << refused;
    // The list a search for the register goes through is the same table.
    EXPECT_EQ(acceptedSpeeds(), QList<int>(std::begin(accepted), std::end(accepted)));
}

TEST(LineSettings, ModeTextAndWhatItMeans) {
    EXPECT_EQ(modeText(1, ":9600,"), "COM1:9600,N,8,2");
    const auto settings = lineSettingsFromMode("COM1:9600,N,8,2");
    ASSERT_TRUE(settings);
    EXPECT_EQ(*settings, (LineSettings{9600, 8, 'N', 2, false}));
}

TEST(LineSettings, MalformedModeTexts) {
    for (const char* mode :
         {"", "COM1", "COM1:", "COM1:9600,N,8", "COM1:fast,N,8,2", "COM1:9600,X,8,2",
          "COM1:9600,N,9,2", "COM1:9600,N,8,3", "LPT1:9600,N,8,2", "COM1:9600,NN,8,2"}) {
        EXPECT_FALSE(lineSettingsFromMode(mode)) << mode;
    }
}
