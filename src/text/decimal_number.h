#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace tabulon::text {

// Prices and quantities travel to the register as decimal texts with "." as
// the separator, whatever the regional settings of the machine. Neither
// function below looks at the C library locale or at QLocale.

// Reads a decimal number into single precision, the way the register holds
// it. Accepted: blanks around the number, an optional sign, digits with at most
// one ".", at least one digit, and an optional exponent ("1e10", "2.5E-3").
// A comma, digit grouping, "inf"/"nan" or any other text gives nullopt, and so
// does a value beyond the range of a 32-bit float (sending "inf" to a register
// would be worse than refusing). A value too small for a float reads as zero.
std::optional<float> parseDecimalFloat(QStringView text);

// The conversion error shown for a text that parseDecimalFloat refuses:
// "'<text>' is not a valid floating point value".
QString invalidFloatMessage(QStringView text);

// The conversion error shown for a whole-number field that does not convert:
// "'<text>' is not a valid integer value".
QString invalidIntegerMessage(QStringView text);

// The value with exactly `decimals` digits after ".", at least one digit before
// it, no grouping, "-" before a negative value. Rounds the value exactly as the
// float holds it, a half away from zero: 0.125f gives "0.13", while 1.005f (in
// truth 1.00499999523...) gives "1.00". A value that rounds to zero has no
// sign. The value must be finite and decimals 0 to 9.
QString formatDecimalFloat(float value, int decimals);

}  // namespace tabulon::text
