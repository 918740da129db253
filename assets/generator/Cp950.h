// Text in the Traditional Chinese code page 950, the encoding of every text
// file the programs share.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace art {

// Encodes text as CP950; empty when a character has no CP950 form.
std::optional<QByteArray> encodeCp950(const QString &text);

// Decodes CP950 bytes; empty when the bytes are not valid CP950.
std::optional<QString> decodeCp950(const QByteArray &bytes);

} // namespace art
