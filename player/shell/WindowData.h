#pragma once
// The window data that survive between runs: panel picture, video and capture sizes,
// volume, the four colour bars and the place of the last folder search.

#include "PlayerOptions.h"

#include <QString>

struct WindowData
{
    QString DeskPic;
    QString CutPic;
    double Width = 0;          // video picture size
    double Height = 0;
    int CutWidth = 0;          // capture size
    double CutHeight = 0;
    int ColourBars[4] = {0, 0, 0, 0};   // "R", "G", "B", "Light"
    int Volume = 1000;
    QString SearchFolder;      // "CDROMPATH"
    QString SearchDrive;       // "CDROMDISK"
};

namespace WindowDataRules {

// The size the video and the capture start from when nothing usable is stored.
struct BaseSize
{
    double width = 354;
    double height = 242;
};

// Reads every datum in the order the start needs them; a stored value that is no number or
// lies outside its range gives its default. The colour bars and the search folder are not
// read: they start at 0 and "" on every run.
WindowData read(const OptionStore& store, const BaseSize& base, const QString& programFolder);

// Writes the data in their fixed order.
void write(const OptionStore& store, const WindowData& data);

// The largest picture size that is taken from the store (a 16-bit range).
inline constexpr double MaxSize = 32767;

}  // namespace WindowDataRules
