#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

// The icons the panel puts over its keys: pictures of the "Icon" folder beside
// the program, one per control-bar command and per title button, and the play
// key's two faces. Panel pictures carry no symbols of their own.
namespace KeyIcons {

// The file name of control-bar key Code's icon; "" for the keys without one
// (the seek knob and its track, the unused key 6).
QString controlIcon(int Code);
// The file name of title button Index's icon; "" beyond the four buttons.
QString titleIcon(int Index);
// ImagePause(Face): 0 the play face (shown while paused or stopped), 1 the pause
// face (shown while playing).
QString pauseFace(int Face);

// The icons of those names in folder, each decoded once, by name; a null picture for one that
// is missing or unreadable. Safe on any thread: the panel decodes them while it builds its keys.
QHash<QString, QImage> decode(const QString &folder, const QStringList &names);

}  // namespace KeyIcons
