#pragma once

#include <QString>

#include <array>
#include <functional>

// The button colour settings: the controls of the colour tool FrmColor
// without the window. ColorType(0..2) option buttons, VScroll1(0..3) bars,
// Check2(0..2) family check boxes. The visible tool edits one of these.
class ButtonColorSettings
{
public:
    enum ColorKind { Transparent = 0, Coloured = 1, Original = 2 };  // "透明", "彩色", "原色"
    enum Family { TitleButtons = 0, NumberPad = 1, ControlBar = 2 };  // Check2 indices
    static constexpr int ColorTypeCount = 3;
    static constexpr int BarCount = 4;
    static constexpr int FamilyCount = 3;

    // The selected ColorType option; exactly one is selected.
    int ColorType() const { return m_colorType; }
    // False, and nothing changes, when no option has that index.
    bool selectColorType(int index);

    // VScroll1(index).Value; 0 for an index without a bar.
    int VScroll1(int index) const;
    // False, and nothing changes, for a value outside the bar's range or no such bar.
    bool setVScroll1(int index, int value);
    static int barMin(int index);   // -255 for colour bars, -128 for brightness
    static int barMax(int index);   // 0 for colour bars, 128 for brightness

    // Check2(index).Value: 1 ticked, 0 not.
    int Check2(int index) const;
    void setCheck2(int index, int value);
    bool familyTicked(int index) const { return Check2(index) == 1; }

    // Derived colour values the face builder uses.
    int red() const;        // |VScroll1(0)|
    int green() const;      // |VScroll1(1)|
    int blue() const;       // |VScroll1(2)|
    int brightness() const; // -VScroll1(3)

    // Stored forms. Bar values are stored as they stand (the bars' negative
    // numbers): in a panel definition as "Mode" and "Color0".."Color3", in the
    // player's window data as "R", "G", "B" and "Light".
    static QString definitionKey(int index);   // "Color" + index
    static QString windowDataKey(int index);   // "R", "G", "B", "Light"; "" for no bar

    // The tool's own change handling; runs after a selection or a bar changed.
    std::function<void()> onChange;

private:
    void changed();

    int m_colorType = Transparent;
    std::array<int, BarCount> m_bars{0, 0, 0, 0};
    std::array<int, FamilyCount> m_families{1, 1, 1};
};
