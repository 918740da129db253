// Writes every art file into a program folder.
#pragma once

#include <QString>

namespace art {

// Returns an empty text on success, else what failed. Each file is written
// whole or not at all.
QString writeAllAssets(const QString &programDir, const QString &readmeSource);

} // namespace art
