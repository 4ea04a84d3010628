#include "cli/print.h"

#include <QByteArray>
#include <QtGlobal>
#ifndef Q_OS_WIN
#include <unistd.h>
#else
#include <io.h>
#endif

namespace tabulon::cli {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

bool isTerminal(std::FILE* stream) {
#ifndef Q_OS_WIN
    return ::isatty(::fileno(stream));
#else
    return ::_isatty(::_fileno(stream));
#endif
}

}  // namespace tabulon::cli
