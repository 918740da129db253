// What one panel looks like and where its objects stand: the single source from
// which both the panel picture and its definition file are made, so the two
// always agree.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

namespace art {

// The glyph drawn on a key. Control-bar glyphs follow the key's command.
enum class Glyph {
    None, PlayPause, Stop, Back, VolumeDown, VolumeUp, Forward, Eject, Close,
    Knob, Previous, Next, Minimize, Groove, Disc, Screen, PanelChoice, Settings,
    Play, Pause   // the two faces of the play key's icon
};

struct KeySpec {
    QRect rect;
    QString mask;      // file name in "Button Mask"
    Glyph glyph = Glyph::None;
    bool visible = true;
};

struct FontSpec {
    QString name;
    int points = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

struct LabelSpec {
    QPoint pos;
    int width = 0;
    int height = 0;
    FontSpec font;
    bool visible = true;
};

// Colours of one panel's face.
struct Theme {
    QColor bodyTop, bodyBottom;      // panel body gradient
    QColor bevelLight, bevelDark;    // raised edges of the body
    QColor well;                     // sunken areas (screen, message strip)
    QColor lcd, lcdEdge;             // time read-out
    QColor keyTop, keyBottom;        // key caps as drawn on the picture
    QColor padTop, padBottom;        // number-pad caps
    QColor glyph;                    // glyph ink
    QColor accent;                   // small decorations
};

// Button colour settings stored with the panel ("編輯").
struct ColourSettings {
    int mode = 0;                    // 0 透明, 1 彩色, 2 原色
    int bars[4] = {0, 0, 0, 0};      // red, green, blue (-255..0), brightness (-128..128)
};

enum class PictureFormat { Jpeg, Bmp, Gif };

struct PanelLayout {
    QString fileName;                // picture file name, e.g. "Quorvel.JPG"
    QSize size;
    PictureFormat format = PictureFormat::Jpeg;
    Theme theme;
    ColourSettings colours;
    bool rounded = false;            // GIF pod: body is a rounded shape on a key-colour margin
    QColor keyColour = QColor(255, 0, 255);
    int bodyRadius = 0;

    std::vector<KeySpec> controlKeys;   // 14: command codes 0..13 (9 knob, 13 track)
    std::vector<KeySpec> numberKeys;    // 10: nine numbers and the page key
    std::vector<KeySpec> titleKeys;     // 4: disc, video size, panel, settings

    std::vector<LabelSpec> logoLabels;  // 2: text and its offset twin
    std::vector<LabelSpec> timeLabels;  // 3: elapsed, total, knob time
    LabelSpec messageLine;
    LabelSpec numberCaption;            // caption offset inside a number key
    QRect pictureArea;
    bool pictureAreaVisible = true;

    // Decorations of the picture only (not panel objects).
    QRect screenWell;                 // frame around the picture area
    QRect messageWell;                // dark strip behind the message line
    QRect timeWell;                   // LCD behind the time labels
    QRect knobTimeWell;               // LCD behind the knob time label
    QRect logoBand;                   // band that carries the logo texts
    QString engraving;                // small text engraved on the body
    QRect engravingBox;               // where it goes; empty: centred along the bottom edge
};

// The definition file's name for a picture: the name with its three-letter
// extension replaced by "INI".
QString definitionNameFor(const QString &pictureName);

} // namespace art
