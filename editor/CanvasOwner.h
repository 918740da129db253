#pragma once
// What the canvas asks of the window around it (the editor's main window):
// status and progress, the caption, the undo command, the font menu. Every
// call has a harmless default so that tests can carry a canvas alone.

#include <QImage>
#include <QPoint>
#include <QString>

class CanvasOwner
{
public:
    virtual ~CanvasOwner() = default;
    virtual void setStatusText(const QString &text) {}
    virtual void setProgressValue(int percent) {}
    virtual void setMainCaption(const QString &caption) {}
    virtual void setUndoEnabled(bool enabled) {}
    virtual void popupFontMenu(const QPoint &globalPos) {}
    // The canvas window was closed by its frame: commands needing a panel go off.
    virtual void canvasClosed() {}
    // New faces for the colour tool's samples (title button, number key, control key).
    virtual void colorSamplesChanged(const QImage &title, const QImage &number, const QImage &control) {}
};
