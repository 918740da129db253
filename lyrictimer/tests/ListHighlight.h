#pragma once
// Screenshots of the lyric timer: where a list's current entry is highlighted.

#include <QColor>
#include <QImage>
#include <QRect>

#include <utility>

// The screen rows (top and bottom) of the first highlighted band inside a list's
// area; top -1 when there is none. A highlight is a strongly coloured band across
// the dark list, one entry high: how high an entry is, the font decides.
inline std::pair<int, int> highlightedBand(const QImage &shot, const QRect &list)
{
    auto highlighted = [&](int y) {
        int count = 0;
        for (int x = list.left(); x <= list.right() && x < shot.width(); ++x) {
            const QColor c = QColor::fromRgb(shot.pixel(x, y));
            count += c.saturation() > 100 && c.value() > 120 ? 1 : 0;
        }
        return count > list.width() / 2;
    };
    const int bottom = qMin(list.bottom(), shot.height() - 1);
    for (int y = list.top(); y <= bottom; ++y) {
        if (!highlighted(y))
            continue;
        int end = y;
        while (end + 1 <= bottom && highlighted(end + 1))
            ++end;
        return {y, end};
    }
    return {-1, -1};
}

// The middle screen row of the first highlighted band inside a list's area, or -1.
inline int highlightedRow(const QImage &shot, const QRect &list)
{
    const auto [top, bottom] = highlightedBand(shot, list);
    return top < 0 ? -1 : (top + bottom) / 2;
}

// How far apart two entries of the list stand: the height of its highlight; 0 without one.
inline int entryStep(const QImage &shot, const QRect &list)
{
    const auto [top, bottom] = highlightedBand(shot, list);
    return top < 0 ? 0 : bottom - top + 1;
}
