#include "ButtonColorSettings.h"

#include <cstdlib>

bool ButtonColorSettings::selectColorType(int index)
{
    if (index < 0 || index >= ColorTypeCount)
        return false;
    if (m_colorType != index) {
        m_colorType = index;
        changed();
    }
    return true;
}

int ButtonColorSettings::VScroll1(int index) const
{
    return index >= 0 && index < BarCount ? m_bars[index] : 0;
}

bool ButtonColorSettings::setVScroll1(int index, int value)
{
    if (index < 0 || index >= BarCount || value < barMin(index) || value > barMax(index))
        return false;
    if (m_bars[index] != value) {
        m_bars[index] = value;
        changed();
    }
    return true;
}

int ButtonColorSettings::barMin(int index)
{
    return index == 3 ? -128 : -255;
}

int ButtonColorSettings::barMax(int index)
{
    return index == 3 ? 128 : 0;
}

int ButtonColorSettings::Check2(int index) const
{
    return index >= 0 && index < FamilyCount ? m_families[index] : 0;
}

void ButtonColorSettings::setCheck2(int index, int value)
{
    if (index >= 0 && index < FamilyCount)
        m_families[index] = value;
}

int ButtonColorSettings::red() const { return std::abs(m_bars[0]); }
int ButtonColorSettings::green() const { return std::abs(m_bars[1]); }
int ButtonColorSettings::blue() const { return std::abs(m_bars[2]); }
int ButtonColorSettings::brightness() const { return -m_bars[3]; }

void ButtonColorSettings::changed()
{
    if (onChange)
        onChange();
}

QString ButtonColorSettings::definitionKey(int index)
{
    return QStringLiteral("Color") + QString::number(index);
}

QString ButtonColorSettings::windowDataKey(int index)
{
    static const char *const keys[BarCount] = {"R", "G", "B", "Light"};
    return index >= 0 && index < BarCount ? QString::fromLatin1(keys[index]) : QString();
}
