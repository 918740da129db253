#include "TavrinSandbox.h"

#include "InstanceGuard.h"

TavrinSandbox::TavrinSandbox(DisplayNumbers display, QSize screen) : ProgramSandbox(QStringLiteral("Tavrin"), display, screen)
{
    copyBesideTests({QStringLiteral("Skin"), QStringLiteral("Button Mask"), QStringLiteral("Desk")});
    setLogFile(QStringLiteral("Quorvel.log"));
    setControlChannel([](const QString &line) { return InstanceGuard::send(line); });
}

QStringList TavrinSandbox::logLines() const
{
    return log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

QStringList TavrinSandbox::logTexts() const
{
    // "hh:mm:ss text" after a first line of the date.
    QStringList texts;
    const QStringList lines = logLines();
    for (int i = 1; i < lines.size(); ++i)
        texts << lines[i].mid(9);
    return texts;
}

QStringList TavrinSandbox::songsStarted() const
{
    // "播放-<path>": a song started.
    const QString started = QStringLiteral("播放-");
    QStringList names;
    for (const QString &text : logTexts())
        if (text.startsWith(started))
            names << text.mid(started.size()).trimmed().section(u'/', -1);
    return names;
}

QRect TavrinSandbox::key(const QString &family, int index) const
{
    return stateRect(QStringLiteral("%1(%2)").arg(family).arg(index));
}

bool TavrinSandbox::pressKey(const QString &family, int index) const
{
    return command(QStringLiteral("key %1 %2").arg(family).arg(index));
}

bool TavrinSandbox::dragKnobToTheEnd()
{
    const QRect knob = key(QStringLiteral("PicCtl"), 9);
    const QRect groove = key(QStringLiteral("PicCtl"), 13);
    if (!input().usable() || knob.isEmpty() || groove.isEmpty())
        return false;
    input().drag(knob.center(), QPoint(groove.right() + knob.width(), knob.center().y()));
    return true;
}
