#pragma once
// The player in a sandbox of its own (see ProgramSandbox): its panels, masks and default panel
// in the program folder, its settings file, its log, and its test-control channel, which
// lies in the sandbox's runtime folder and is named after the sandbox's config folder.

#include "ProgramSandbox.h"

class TavrinSandbox : public ProgramSandbox
{
public:
    explicit TavrinSandbox(DisplayNumbers display, QSize screen = QSize(1024, 768));

    static QString settingsFileName() { return QStringLiteral("Quorvel V1.1.conf"); }
    QString settingsFile() const { return settingsFolder() + u'/' + settingsFileName(); }
    void setting(const QString &key, const QString &value) { setSetting(settingsFileName(), key, value); }

    // The log's lines, and their texts after the clock time (the first line, the date, left out).
    QStringList logLines() const;
    QStringList logTexts() const;
    // The file names of the songs the player started, in order.
    QStringList songsStarted() const;

    // A control-bar ("PicCtl") or number ("PicNum") key's place on the screen; null when none.
    QRect key(const QString &family, int index) const;
    bool pressKey(const QString &family, int index) const;
    // Drags the seek knob with the pointer past the right end of its groove.
    bool dragKnobToTheEnd();
};
