#pragma once

#include <QString>
#include <optional>

namespace tabulon {

// Records and table files carry values between ";" with no escaping, one
// record per line, in Windows-1251. A value holding ";", a line break or a
// character outside the code page would split or corrupt the record, so such
// entries are refused where they are typed or pasted.
//
// Returns the message to show, or nullopt when the text may be stored.
std::optional<QString> entryRefusal(const QString& text);

// Caption of the box that shows a refusal.
QString entryRefusalCaption();

}  // namespace tabulon
