#include "KeyIcons.h"

#include "DirSearch.h"
#include "ModFiles.h"
#include "PictureFile.h"

#include <iterator>

namespace KeyIcons {

QString controlIcon(int Code)
{
    static const char *const names[] = {"Play.png",  "Stop.png",       "Back.png",     "VolumeDown.png",
                                        "VolumeUp.png", "Forward.png", nullptr,        "Eject.png",
                                        "Close.png", nullptr,          "Previous.png", "Next.png",
                                        "Minimize.png", nullptr};
    if (Code < 0 || Code >= int(std::size(names)) || !names[Code])
        return QString();
    return QLatin1String(names[Code]);
}

QString titleIcon(int Index)
{
    static const char *const names[] = {"Disc.png", "VideoSize.png", "PanelChoice.png", "Settings.png"};
    return Index >= 0 && Index < int(std::size(names)) ? QLatin1String(names[Index]) : QString();
}

QString pauseFace(int Face)
{
    return Face == 1 ? QStringLiteral("Pause.png") : QStringLiteral("Play.png");
}

QPixmap load(const QString &folder, const QString &name)
{
    if (name.isEmpty())
        return QPixmap();
    return QPixmap::fromImage(PictureFile::read(DirSearch::ResolveCase(AddPath(folder, name))));
}

}  // namespace KeyIcons
