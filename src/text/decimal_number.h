#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace tabulon::text {

// Prices and quantities travel to the register as decimal texts with "." as
// the separator, whatever the regional settings of the machine. Neither
// function below looks at the C library locale or at QLocale.

// The number in `text` with exactly `decimals` digits after ".", at least one
// digit before it, no grouping, "-" before a negative value. The digits are
// the ones typed: the value is worked on as a digit string, never as a binary
// fraction, so 199999.99 stays 199999.99 and 1.005 is a true half. Only a
// text with more decimals than `decimals` is rounded, to the nearest, a half
// away from zero (0.125 gives "0.13" with two decimals); a value that rounds
// to zero has no sign.
//
// Accepted: blanks around the number, an optional sign, digits with at most
// one ".", at least one digit, and an optional exponent ("1e10", "2.5E-3").
// A comma, digit grouping, "inf"/"nan" or any other text gives nullopt, and so
// does a value whose magnitude is above 340282346638528859811704183484516925440,
// the largest 32-bit float: the bound prices had when they went through one,
// kept so that what was refused stays refused. A value too small to show reads
// as zero. decimals is 0 to 9.
std::optional<QString> formatDecimal(QStringView text, int decimals);

// The conversion error shown for a text that formatDecimal refuses:
// "'<text>' is not a valid floating point value".
QString invalidFloatMessage(QStringView text);

// The conversion error shown for a whole-number field that does not convert:
// "'<text>' is not a valid integer value".
QString invalidIntegerMessage(QStringView text);

}  // namespace tabulon::text
