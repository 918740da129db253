#include "DobbrinColors.h"

#include "ModTools.h"
#include "VbRuntime.h"

int toColorNumber(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QColor fromColorNumber(int number)
{
    return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

DobbrinColors DobbrinColors::design()
{
    return {fromColorNumber(0x400000), fromColorNumber(0x00FFFF), fromColorNumber(0x00C0C0)};
}

namespace {

QColor loadColor(const QString &key, const QColor &fallback)
{
    const double number = Vb::Val(GetAppSetting(key, toColorNumber(fallback)));
    // A number that is no colour (damaged setting) keeps the fallback.
    if (number < 0 || number > 0xFFFFFF)
        return fallback;
    return fromColorNumber(int(number));
}

} // namespace

DobbrinColors DobbrinColors::load(const DobbrinColors &defaults)
{
    return {loadColor(QStringLiteral("BackColor"), defaults.background),
            loadColor(QStringLiteral("SongColor"), defaults.currentLine),
            loadColor(QStringLiteral("SongColor1"), defaults.nextLine)};
}

void DobbrinColors::save() const
{
    SaveAppSetting(QStringLiteral("BackColor"), toColorNumber(background));
    SaveAppSetting(QStringLiteral("SongColor"), toColorNumber(currentLine));
    SaveAppSetting(QStringLiteral("SongColor1"), toColorNumber(nextLine));
}
