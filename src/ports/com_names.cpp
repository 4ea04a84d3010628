#include "ports/com_names.h"

#include <QRegularExpression>

namespace tabulon::ports {

QString comName(int number) {
    return QStringLiteral("COM%1").arg(number);
}

std::optional<int> comPortNumber(const QString& name) {
    static const QRegularExpression com(QStringLiteral("^COM([1-9])$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(name);
    return match.hasMatch() ? std::optional<int>(match.captured(1).toInt()) : std::nullopt;
}

}  // namespace tabulon::ports
