#pragma once
// The panel editor's globals, one instance owned by the main window. The
// panel engine's own globals (the zoom, the folders, the panel picture and
// its definition file, the key-face cache) live in `panel`; each value has
// exactly one home:
//   ZoomRate        -> panel.Zoom
//   SkinDir, MaskDir, DeskPicFile, DeskIniFile, ButtonCacheFile -> panel.*
//   TempFolder      -> panel.ButtonCacheDir (the key-face cache lives there)
//   DeskPicWidth/Height -> panel.DeskPicWidth / panel.DeskPicHeight
//   PictureAreaShown    -> panel.ImageVisible

#include "ButtonColorSettings.h"
#include "PanelState.h"

#include <QString>

// The mask size options of the colour tool: "遮罩尺寸", "不改變", "自定" and
// the width and height boxes used with "自定".
struct MaskSizeChoice
{
    enum Kind { MaskOwnSize = 0, KeepSize = 1, Custom = 2 };
    int MaskSize = MaskOwnSize;
    QString Text1Width = QStringLiteral("24");
    QString Text1Height = QStringLiteral("24");
};

struct EditorState
{
    PanelState panel;
    ButtonColorSettings colors;
    MaskSizeChoice maskSize;

    double &ZoomRate() { return panel.Zoom; }
    double ZoomRate() const { return panel.Zoom; }
    QString &TempFolder() { return panel.ButtonCacheDir; }
    bool &PictureAreaShown() { return panel.ImageVisible; }

    double LastZoomRate = 1;  // the zoom the canvas objects are scaled to
    qint16 GridStep = 1;      // drag step in panel pixels, 1 to 16
    QString DeskPicName;      // file name of DeskPicFile
    qint16 ButtonTotal = 0;   // keys of a full rebuild
    int ButtonDone = 0;       // keys handled in the running rebuild
    double UndoLeft = 0;      // the undo point: where the selection was pressed
    double UndoTop = 0;
    int CanvasWidth = 0;      // the canvas surface, pixels
    double CanvasHeight = 0;
    bool CanvasReady = false; // False while the canvas picture is rebuilt
    bool PanelOpen = false;   // EditForm is the canvas (True) or the main window
};
