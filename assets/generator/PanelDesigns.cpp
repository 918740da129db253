#include "PanelDesigns.h"

namespace art {
namespace {

const QString chineseFace = QStringLiteral("新細明體");
const QString latinFace = QStringLiteral("Arial");

// Control-bar indices are the command codes of the keys.
enum Control { Play = 0, Stop = 1, Back = 2, VolDown = 3, VolUp = 4, Forward = 5, Unused = 6, Eject = 7,
               Close = 8, Knob = 9, Slower = 10, Faster = 11, Minimize = 12, Track = 13 };

// Masks of one panel's key families.
struct MaskChoice {
    QString title, transport, secondRow, pad, small;
};

// `count` keys of equal width spread over `width`, the spare pixels split
// evenly before and after the row.
std::vector<QRect> row(int left, int top, int width, int height, int count, int gap)
{
    const int keyWidth = (width - gap * (count - 1)) / count;
    const int spare = width - keyWidth * count - gap * (count - 1);
    std::vector<QRect> rects;
    for (int i = 0; i < count; ++i)
        rects.emplace_back(left + spare / 2 + i * (keyWidth + gap), top, keyWidth, height);
    return rects;
}

FontSpec font(const QString &name, int points, bool bold)
{
    FontSpec f;
    f.name = name;
    f.points = points;
    f.bold = bold;
    return f;
}

LabelSpec label(QPoint pos, int width, int height, const FontSpec &f, bool visible = true)
{
    LabelSpec l;
    l.pos = pos;
    l.width = width;
    l.height = height;
    l.font = f;
    l.visible = visible;
    return l;
}

// The fourteen control-bar keys with their symbols; places are set by the
// panel. Key 6 has no command and stays hidden.
std::vector<KeySpec> controlBar(const MaskChoice &m)
{
    std::vector<KeySpec> keys(14);
    const struct { int index; Glyph glyph; const QString *mask; } roles[] = {
        {Play, Glyph::PlayPause, &m.transport}, {Stop, Glyph::Stop, &m.transport},
        {Back, Glyph::Back, &m.transport},      {VolDown, Glyph::VolumeDown, &m.secondRow},
        {VolUp, Glyph::VolumeUp, &m.secondRow}, {Forward, Glyph::Forward, &m.transport},
        {Unused, Glyph::None, &m.small},        {Eject, Glyph::Eject, &m.transport},
        {Close, Glyph::Close, &m.small},        {Knob, Glyph::Knob, nullptr},
        {Slower, Glyph::Previous, &m.secondRow}, {Faster, Glyph::Next, &m.secondRow},
        {Minimize, Glyph::Minimize, &m.small},  {Track, Glyph::Groove, nullptr},
    };
    for (const auto &role : roles) {
        keys[role.index].glyph = role.glyph;
        keys[role.index].mask = role.mask ? *role.mask : QString();
    }
    keys[Knob].mask = QStringLiteral("Knob.bmp");
    keys[Track].mask = QStringLiteral("Groove.bmp");
    keys[Unused].visible = false;
    return keys;
}

std::vector<KeySpec> titleButtons(const std::vector<QRect> &rects, const QString &mask)
{
    const Glyph glyphs[] = {Glyph::Disc, Glyph::Screen, Glyph::PanelChoice, Glyph::Settings};
    std::vector<KeySpec> keys;
    for (int i = 0; i < 4; ++i)
        keys.push_back({rects[i], mask, glyphs[i], true});
    return keys;
}

std::vector<KeySpec> numberPad(const std::vector<QRect> &first, const std::vector<QRect> &second,
                               const QString &mask)
{
    std::vector<KeySpec> keys;
    for (const QRect &r : first)
        keys.push_back({r, mask, Glyph::None, true});
    for (const QRect &r : second)
        keys.push_back({r, mask, Glyph::None, true});
    return keys;
}

// Heights of the bands of a tall panel, from top to bottom, and the type sizes.
struct TallMetrics {
    QSize size;
    int margin, top, gap;
    int logo, title, screen, message, time, seek, firstRow, secondRow, pad;
    int smallKey, knobWidth;
    int logoPoints, messagePoints, timePoints, captionPoints;
};

// A panel that stands at the left edge of the screen, video to its right:
// logo and window keys, title buttons, picture area, message line, times,
// seek groove, transport keys, second control row, number pad.
PanelLayout tallPanel(const TallMetrics &m, const MaskChoice &masks)
{
    PanelLayout panel;
    panel.size = m.size;
    const int left = m.margin;
    const int inner = m.size.width() - 2 * m.margin;
    const int right = left + inner;
    int y = m.top;

    panel.controlKeys = controlBar(masks);
    auto &ctl = panel.controlKeys;

    panel.logoBand = QRect(left - 4, y, inner * 6 / 10, m.logo);
    const FontSpec logoFont = font(chineseFace, m.logoPoints, true);
    const int logoTextTop = y + (m.logo - m.logoPoints * 4 / 3 - 6) / 2;
    panel.logoLabels = {label({left + 4, logoTextTop}, 0, 0, logoFont),
                        label({left + 5, logoTextTop + 1}, 0, 0, logoFont)};
    const int smallTop = y + (m.logo - m.smallKey) / 2;
    ctl[Close].rect = QRect(right - m.smallKey, smallTop, m.smallKey, m.smallKey);
    ctl[Minimize].rect = QRect(right - 2 * m.smallKey - 6, smallTop, m.smallKey, m.smallKey);
    ctl[Unused].rect = QRect(right - 3 * m.smallKey - 12, smallTop, m.smallKey, m.smallKey);
    y += m.logo + m.gap;

    panel.titleKeys = titleButtons(row(left, y, inner, m.title, 4, 8), masks.title);
    y += m.title + m.gap;

    panel.screenWell = QRect(left - 4, y, inner + 8, m.screen);
    panel.pictureArea = QRect(left, y + 4, inner, m.screen - 8);
    y += m.screen + m.gap;

    panel.messageWell = QRect(left - 4, y, inner + 8, m.message);
    const int lineHeight = m.messagePoints * 5 / 3;
    panel.messageLine = label({left + 4, y + (m.message - lineHeight) / 2}, inner - 8, lineHeight,
                              font(chineseFace, m.messagePoints, false));
    y += m.message + m.gap;

    panel.timeWell = QRect(left - 4, y, inner + 8, m.time);
    const FontSpec timeFont = font(latinFace, m.timePoints, true);
    const int timeTop = y + (m.time - m.timePoints * 5 / 3) / 2;
    const int timeWidth = m.timePoints * 8;   // room for "00:00:00"
    panel.timeLabels = {label({left + 4, timeTop}, timeWidth, m.time - 4, timeFont),
                        label({right - timeWidth - 4, timeTop}, timeWidth, m.time - 4, timeFont),
                        label({left + (inner - timeWidth) / 2, timeTop}, timeWidth, m.time - 4, timeFont, false)};
    y += m.time + m.gap;

    ctl[Track].rect = QRect(left, y, inner, m.seek);
    ctl[Knob].rect = QRect(left, y, m.knobWidth, m.seek);
    y += m.seek + m.gap + 4;   // room for the tick marks under the groove

    const auto first = row(left, y, inner, m.firstRow, 5, 8);
    const int firstOrder[] = {Back, Play, Stop, Forward, Eject};
    for (int i = 0; i < 5; ++i)
        ctl[firstOrder[i]].rect = first[i];
    y += m.firstRow + m.gap;

    const auto second = row(left, y, inner, m.secondRow, 4, 8);
    const int secondOrder[] = {Slower, VolDown, VolUp, Faster};
    for (int i = 0; i < 4; ++i)
        ctl[secondOrder[i]].rect = second[i];
    y += m.secondRow + m.gap;

    const auto padTop = row(left, y, inner, m.pad, 5, 8);
    y += m.pad + m.gap;
    const auto padBottom = row(left, y, inner, m.pad, 5, 8);
    panel.numberKeys = numberPad(padTop, padBottom, masks.pad);
    panel.numberCaption = label({padTop[0].width() / 2 - 6, (m.pad - m.captionPoints * 5 / 3) / 2}, 14,
                                m.captionPoints * 5 / 3, font(latinFace, m.captionPoints, true));
    return panel;
}

Theme silver()
{
    return {QColor(0xdc, 0xe0, 0xe5), QColor(0xa6, 0xad, 0xb6), QColor(0xf6, 0xf8, 0xfa), QColor(0x6a, 0x72, 0x7b),
            QColor(0x16, 0x20, 0x2b), QColor(0xbd, 0xd6, 0xa8), QColor(0x55, 0x70, 0x4a),
            QColor(0xf0, 0xf2, 0xf5), QColor(0xb2, 0xba, 0xc4), QColor(0xf7, 0xf4, 0xea), QColor(0xcc, 0xc5, 0xb0),
            QColor(0x24, 0x2e, 0x38), QColor(0x2f, 0x7c, 0xc4)};
}

Theme sky()
{
    return {QColor(0xd2, 0xe5, 0xf4), QColor(0x8c, 0xb1, 0xd2), QColor(0xf1, 0xf8, 0xfd), QColor(0x4a, 0x69, 0x88),
            QColor(0x0f, 0x1d, 0x2e), QColor(0xcb, 0xe4, 0xf1), QColor(0x4a, 0x6c, 0x80),
            QColor(0xf4, 0xf9, 0xfd), QColor(0xa6, 0xc3, 0xdc), QColor(0xfd, 0xfd, 0xfd), QColor(0xc3, 0xd5, 0xe5),
            QColor(0x1a, 0x33, 0x4e), QColor(0xe0, 0x7b, 0x39)};
}

Theme sand()
{
    return {QColor(0xec, 0xde, 0xc2), QColor(0xbd, 0x9f, 0x76), QColor(0xfb, 0xf4, 0xe4), QColor(0x78, 0x5f, 0x3e),
            QColor(0x22, 0x18, 0x0f), QColor(0xe8, 0xdf, 0xa6), QColor(0x7a, 0x6a, 0x30),
            QColor(0xf9, 0xf1, 0xe0), QColor(0xc9, 0xae, 0x88), QColor(0xff, 0xfa, 0xf0), QColor(0xd7, 0xc1, 0x9d),
            QColor(0x3b, 0x28, 0x14), QColor(0x9b, 0x3d, 0x22)};
}

Theme mint()
{
    return {QColor(0xd6, 0xf0, 0xe6), QColor(0x90, 0xc7, 0xb2), QColor(0xf3, 0xfc, 0xf8), QColor(0x4b, 0x7a, 0x69),
            QColor(0x10, 0x22, 0x1c), QColor(0xe4, 0xf3, 0xc6), QColor(0x5e, 0x74, 0x3c),
            QColor(0xf4, 0xfc, 0xf9), QColor(0xa6, 0xd5, 0xc3), QColor(0xfd, 0xfe, 0xfe), QColor(0xc0, 0xdf, 0xd3),
            QColor(0x1b, 0x38, 0x2f), QColor(0xd9, 0x5a, 0x78)};
}

PanelLayout larkspan()
{
    const TallMetrics m{.size = {300, 580}, .margin = 16, .top = 10, .gap = 8,
                        .logo = 30, .title = 28, .screen = 186, .message = 48, .time = 24, .seek = 20,
                        .firstRow = 38, .secondRow = 28, .pad = 30, .smallKey = 24, .knobWidth = 32,
                        .logoPoints = 15, .messagePoints = 12, .timePoints = 10, .captionPoints = 11};
    PanelLayout panel = tallPanel(m, {QStringLiteral("Oval.bmp"), QStringLiteral("Round.bmp"),
                                      QStringLiteral("Pill.bmp"), QStringLiteral("Square.bmp"),
                                      QStringLiteral("Octagon.bmp")});
    panel.fileName = QStringLiteral("Larkspan.JPG");
    panel.format = PictureFormat::Jpeg;
    panel.theme = sky();
    panel.engraving = QStringLiteral("LARKSPAN");
    return panel;
}

PanelLayout nimbrel()
{
    const TallMetrics m{.size = {288, 476}, .margin = 28, .top = 18, .gap = 6,
                        .logo = 26, .title = 24, .screen = 124, .message = 46, .time = 22, .seek = 16,
                        .firstRow = 30, .secondRow = 24, .pad = 24, .smallKey = 22, .knobWidth = 26,
                        .logoPoints = 14, .messagePoints = 12, .timePoints = 9, .captionPoints = 10};
    PanelLayout panel = tallPanel(m, {QStringLiteral("Pill.bmp"), QStringLiteral("Oval.bmp"),
                                      QStringLiteral("Pill.bmp"), QStringLiteral("Oval.bmp"),
                                      QStringLiteral("Round.bmp")});
    panel.fileName = QStringLiteral("Nimbrel.GIF");
    panel.format = PictureFormat::Gif;
    panel.rounded = true;
    panel.bodyRadius = 40;
    panel.theme = mint();
    panel.colours.bars[3] = -10;   // faces a little brighter than the pastel body
    panel.engraving = QStringLiteral("NIMBREL");
    return panel;
}

// A bar across the top of a large screen: logo, title buttons and number pad
// on the left, read-outs, seek groove and control keys in the middle, the
// picture area on the right.
PanelLayout ferrowin()
{
    PanelLayout panel;
    panel.fileName = QStringLiteral("Ferrowin.BMP");
    panel.format = PictureFormat::Bmp;
    panel.size = QSize(984, 208);
    panel.theme = sand();
    panel.colours.bars[0] = -24;   // a warm tint on the key faces
    panel.colours.bars[1] = -10;
    panel.engraving = QStringLiteral("FERROWIN");
    panel.engravingBox = QRect(718, 14, 150, 16);
    const MaskChoice masks{QStringLiteral("RoundRect.bmp"), QStringLiteral("Pill.bmp"), QStringLiteral("Oval.bmp"),
                           QStringLiteral("Square.bmp"), QStringLiteral("Round.bmp")};
    panel.controlKeys = controlBar(masks);
    auto &ctl = panel.controlKeys;

    // Left block.
    panel.logoBand = QRect(12, 10, 200, 30);
    const FontSpec logoFont = font(chineseFace, 16, true);
    panel.logoLabels = {label({20, 13}, 0, 0, logoFont), label({21, 14}, 0, 0, logoFont)};
    panel.titleKeys = titleButtons(row(14, 50, 286, 30, 4, 8), masks.title);
    const auto padTop = row(14, 92, 286, 32, 5, 8);
    const auto padBottom = row(14, 132, 286, 32, 5, 8);
    panel.numberKeys = numberPad(padTop, padBottom, masks.pad);
    panel.numberCaption = label({padTop[0].width() / 2 - 8, 7}, 16, 18, font(latinFace, 11, true));

    // Middle block.
    const int mid = 318, midWidth = 384;
    panel.messageWell = QRect(mid - 4, 10, midWidth + 8, 50);
    panel.messageLine = label({mid + 6, 25}, midWidth - 12, 20, font(chineseFace, 12, false));
    panel.timeWell = QRect(mid - 4, 66, midWidth + 8, 26);
    const FontSpec timeFont = font(latinFace, 11, true);
    const int timeWidth = 88;   // room for "00:00:00"
    panel.timeLabels = {label({mid + 8, 69}, timeWidth, 22, timeFont),
                        label({mid + midWidth - timeWidth - 8, 69}, timeWidth, 22, timeFont),
                        label({mid + (midWidth - timeWidth) / 2, 69}, timeWidth, 22, timeFont, false)};
    ctl[Track].rect = QRect(mid, 100, midWidth, 20);
    ctl[Knob].rect = QRect(mid, 100, 32, 20);
    const auto first = row(mid, 130, midWidth, 34, 5, 10);
    const int firstOrder[] = {Back, Play, Stop, Forward, Eject};
    for (int i = 0; i < 5; ++i)
        ctl[firstOrder[i]].rect = first[i];
    const auto second = row(mid, 170, midWidth, 28, 4, 12);
    const int secondOrder[] = {Slower, VolDown, VolUp, Faster};
    for (int i = 0; i < 4; ++i)
        ctl[secondOrder[i]].rect = second[i];

    // Right block.
    ctl[Close].rect = QRect(946, 10, 24, 24);
    ctl[Minimize].rect = QRect(916, 10, 24, 24);
    ctl[Unused].rect = QRect(886, 10, 24, 24);
    panel.screenWell = QRect(718, 40, 256, 160);
    panel.pictureArea = QRect(722, 44, 248, 152);
    return panel;
}

} // namespace

PanelLayout defaultPanel()
{
    const TallMetrics m{.size = {264, 476}, .margin = 14, .top = 8, .gap = 6,
                        .logo = 26, .title = 24, .screen = 146, .message = 46, .time = 22, .seek = 16,
                        .firstRow = 32, .secondRow = 24, .pad = 24, .smallKey = 20, .knobWidth = 26,
                        .logoPoints = 14, .messagePoints = 12, .timePoints = 9, .captionPoints = 10};
    PanelLayout panel = tallPanel(m, {QStringLiteral("RoundRect.bmp"), QStringLiteral("Pill.bmp"),
                                      QStringLiteral("Pill.bmp"), QStringLiteral("RoundRect.bmp"),
                                      QStringLiteral("Round.bmp")});
    panel.fileName = QStringLiteral("Quorvel.JPG");
    panel.format = PictureFormat::Jpeg;
    panel.theme = silver();
    panel.engraving = QStringLiteral("QUORVEL");
    return panel;
}

std::vector<PanelLayout> skinPanels()
{
    return {defaultPanel(), larkspan(), ferrowin(), nimbrel()};
}

QString definitionNameFor(const QString &pictureName)
{
    return pictureName.left(pictureName.size() - 3) + QStringLiteral("INI");
}

} // namespace art
