#pragma once
// Reading the pictures the programs keep (panels, masks, key faces, icons) by the kind
// their names say. Left to guess, Qt's reader first loads every picture plugin it has to ask
// each whether it knows the kind, even for the kinds it reads itself: at the player's start
// that loaded plugins no panel needed.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace PictureFile {

// The picture in the file, read as the kind its extension names; a file that is not what
// its name says is read as whatever kind its bytes show. A null picture when unreadable.
QImage read(const QString &path);
// The picture in bytes of the given kind ("BMP", "PNG", ...), or a null picture.
QImage fromData(const QByteArray &bytes, const char *kind);

}  // namespace PictureFile
