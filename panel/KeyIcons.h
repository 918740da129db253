#pragma once

#include <QPixmap>
#include <QString>

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

// The icon of that name in folder; a null picture when it is missing or unreadable.
QPixmap load(const QString &folder, const QString &name);

}  // namespace KeyIcons
