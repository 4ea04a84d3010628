#pragma once

#include <QString>
#include <cstdio>

namespace tabulon::cli {

// Writes the text to the stream in UTF-8 and flushes it, so that what goes to
// standard output and standard error shows in the order it was written.
void print(std::FILE* stream, const QString& text);

// Whether the stream goes to a terminal (where a progress line is redrawn).
bool isTerminal(std::FILE* stream);

}  // namespace tabulon::cli
