#pragma once
// The player with the real media back end (libmpv), playing at start what the sandbox's music
// folder holds, with WAV and MPEG files counted as songs.

#include "TavrinSandbox.h"

class RealPlayerSession : public TavrinSandbox
{
public:
    RealPlayerSession();

    static QString music(const QString &name) { return QStringLiteral("music/") + name; }
    QString musicFolder() const { return filePath(QStringLiteral("music")); }
    bool start();
};
