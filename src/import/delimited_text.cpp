#include "import/delimited_text.h"

#include <iterator>

namespace tabulon::import {

namespace {

bool isLineEnd(QChar c) {
    return c == u'\n' || c == u'\r';
}

}  // namespace

QChar detectDelimiter(QStringView text) {
    qsizetype counts[std::size(kDelimiters)] = {};
    bool quoted = false;
    bool any = false;
    for (QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && isLineEnd(c)) {
            if (any) break;
        } else if (!quoted) {
            for (std::size_t i = 0; i < std::size(kDelimiters); ++i) {
                if (c == kDelimiters[i]) {
                    ++counts[i];
                    any = true;
                }
            }
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < std::size(kDelimiters); ++i) {
        if (counts[i] > counts[best]) best = i;
    }
    return kDelimiters[best];
}

DelimitedLines splitDelimited(QStringView text, QChar delimiter) {
    DelimitedLines result;
    int line = 1;
    qsizetype at = 0;
    const qsizetype size = text.size();
    while (at < size) {
        DelimitedLine parsed{line, {}};
        QString value;
        bool lineHasText = false;
        for (;;) {
            if (at < size && text[at] == u'"' && value.isEmpty()) {
                // A quoted value: up to the quote that no second one follows.
                ++at;
                for (;;) {
                    if (at >= size || isLineEnd(text[at])) {
                        result.brokenQuoteLine = parsed.line;
                        result.lines.clear();
                        return result;
                    }
                    if (text[at] == u'"') {
                        if (at + 1 < size && text[at + 1] == u'"') {
                            value += u'"';
                            at += 2;
                            continue;
                        }
                        ++at;
                        break;
                    }
                    value += text[at++];
                }
                lineHasText = true;
            }
            // An unquoted value, or what follows a closing quote, as it stands.
            while (at < size && text[at] != delimiter && !isLineEnd(text[at])) value += text[at++];
            if (!value.isEmpty()) lineHasText = true;
            parsed.values << value;
            value.clear();
            if (at < size && text[at] == delimiter) {
                ++at;
                lineHasText = true;
                continue;
            }
            break;
        }
        if (at < size && text[at] == u'\r') ++at;
        if (at < size && text[at] == u'\n') ++at;
        ++line;
        if (lineHasText) result.lines << parsed;
    }
    return result;
}

}  // namespace tabulon::import
