#pragma once
// The song library's files are code page 950: a name it cannot hold would be written as "?"
// and name nothing when read back.

#include <QStringList>

// The texts (in order) that code page 950 cannot hold.
QStringList TextsCp950CannotHold(const QStringList& texts);
