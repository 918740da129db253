#include "IconSet.h"

#include "GlyphPainter.h"

namespace art {
namespace {
// Large enough to read on the transport keys, small enough for the smallest
// title button; the window keys (close, minimise) are smaller still.
constexpr int KeySide = 16;
constexpr int SmallSide = 12;
}

std::vector<IconSpec> keyIcons()
{
    return {
        {QStringLiteral("Play.png"), Glyph::Play, KeySide},
        {QStringLiteral("Pause.png"), Glyph::Pause, KeySide},
        {QStringLiteral("Stop.png"), Glyph::Stop, KeySide},
        {QStringLiteral("Back.png"), Glyph::Back, KeySide},
        {QStringLiteral("Forward.png"), Glyph::Forward, KeySide},
        {QStringLiteral("Eject.png"), Glyph::Eject, KeySide},
        {QStringLiteral("Previous.png"), Glyph::Previous, KeySide},
        {QStringLiteral("Next.png"), Glyph::Next, KeySide},
        {QStringLiteral("VolumeDown.png"), Glyph::VolumeDown, KeySide},
        {QStringLiteral("VolumeUp.png"), Glyph::VolumeUp, KeySide},
        {QStringLiteral("Close.png"), Glyph::Close, SmallSide},
        {QStringLiteral("Minimize.png"), Glyph::Minimize, SmallSide},
        {QStringLiteral("Disc.png"), Glyph::Disc, KeySide},
        {QStringLiteral("VideoSize.png"), Glyph::Screen, KeySide},
        {QStringLiteral("PanelChoice.png"), Glyph::PanelChoice, KeySide},
        {QStringLiteral("Settings.png"), Glyph::Settings, KeySide},
    };
}

std::optional<IconSpec> iconFor(Glyph glyph)
{
    const Glyph wanted = glyph == Glyph::PlayPause ? Glyph::Play : glyph;
    for (const IconSpec &icon : keyIcons())
        if (icon.glyph == wanted)
            return icon;
    return std::nullopt;
}

QImage paintIcon(const IconSpec &icon)
{
    return drawIcon(icon.glyph, icon.side);
}

} // namespace art
