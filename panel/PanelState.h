#pragma once

#include <QColor>
#include <QString>
#include <QVariant>
#include <QVector>

// The panel engine's globals, one instance owned by the window that carries
// the panel. Positions and sizes are the form's units (pixels in the player).
struct PanelState
{
    // Scale between panel-file units and form units: 1 in the player.
    double Zoom = 1;
    // The definition reader widens italic time labels (True in the player).
    bool WidenItalic = false;

    // Panel files and folders
    QString SkinDir;          // <program folder>/Skin
    QString MaskDir;          // <program folder>/Button Mask
    QString DeskPicFile;      // full path of the current panel picture
    QString DeskIniFile;      // its definition file, always in SkinDir
    QString ButtonIniFile;    // SkinDir/Button.ini, the built-in layout
    QString ButtonCacheDir;   // folder of the option "ButtonTempDir"
    QString ButtonCacheFile;  // the next cached key face, <panel>-NN.Bmp
    QString ProgramDir;       // where Desk/Quorvel.JPG, the default panel, lies

    // The panel picture; DeskPicWidth stays empty until a picture was loaded.
    QVariant DeskPicWidth;
    double DeskPicHeight = 0;
    double DeskFormWidth = 0;   // twips
    double DeskFormHeight = 0;  // twips

    // Picture area and message line as the definition reader left them
    bool ImageVisible = false;
    double ImageLeft = 0;
    qint16 ImageTop = 0;
    double ImageWidth = 0;
    double ImageHeight = 0;
    double TextLeft = 0;
    double TextTop = 0;
    double TextWidth = 0;
    qint16 TextHeight = 0;

    // Screen
    qint16 ScreenClass = 0;     // screen width in pixels, later its size class
    double ScreenHeight = 0;    // pixels
    double PixelScale = 1;      // twips per pixel / 15

    // Number-pad caption colours taken after the panel is laid out
    QVector<QColor> LabColor;

    QString WinVersion;         // "" here: there is no Windows version
    bool ShowPic = false;       // option "自動更換背景圖片" (pictures change automatically)

    // Key faces
    qint16 ButtonCount = 0;
    int PressOffsetX = 1;       // how far a pressed key's face moves
    int PressOffsetY = 1;
};
