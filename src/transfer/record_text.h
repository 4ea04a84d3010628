#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace tabulon {

// The pieces every record shares: fields each followed by ";", no quoting, no
// escaping, Windows-1251 on the line.

// The fields a reply carries after the two leading ones the register puts
// first. Only fields closed by ";" count: text after the last ";" is dropped,
// and a reply with fewer than two ";" carries nothing.
QStringList replyFields(const QByteArray& reply);

}  // namespace tabulon
