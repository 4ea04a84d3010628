#pragma once

#include <QStringView>
#include <optional>

namespace tabulon::text {

// A whole number as a person types it on a command line or in a file: digits
// only (no sign, no blanks), at most nine of them, so that it fits an int.
std::optional<int> wholeNumber(QStringView text);

}  // namespace tabulon::text
