#pragma once
// The editor's canvas: the panel picture with the panel objects laid over it,
// the selection with its frame and eight resize handles, drag on a grid,
// one level of undo, the key-face builder and the zoom of the objects.

#include "EditRules.h"
#include "PanelForm.h"
#include "PanelHost.h"
#include "LoadedMedia.h"

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QVector>
#include <QWidget>

#include <array>
#include <memory>

struct EditorState;
class CanvasOwner;
class QLabel;
class QScrollArea;

// An object's place on the canvas at full precision: whole pixels lose too
// much over a few zoom steps.
namespace CanvasPlace {
QRectF exactGeometry(const QWidget *control);
void setExactGeometry(QWidget *control, const QRectF &r);
// A label's font size as the panel has it (at 100 %): the size kept with the
// label while it still shows the size it was given at zoom, else its size now / zoom.
double panelFontSize(const QLabel *label, double zoom);
// Gives the label the panel size at the zoom, and keeps the panel size with it:
// zoom changes then scale from it and never add up rounding.
void setPanelFontSize(QLabel *label, double panelSize, double zoom);
}

// Picture1: the panel picture at the current zoom; the panel objects are its children.
class CanvasSurface : public QWidget
{
    Q_OBJECT
public:
    explicit CanvasSurface(QWidget *parent);
    const QImage &picture() const { return m_picture; }
    void setPicture(const QImage &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

// A resize handle: an 8 x 8 outlined box.
class PointerHandle : public QWidget
{
    Q_OBJECT
public:
    PointerHandle(QWidget *parent, int index);
    int Index() const { return m_index; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_index;
};

class frmPic : public QWidget, public PanelHost
{
    Q_OBJECT
public:
    frmPic(EditorState &state, CanvasOwner *owner, QWidget *parent = nullptr);
    ~frmPic() override;

    // PanelHost
    QWidget *panelWidget() override;
    LoadedMedia &loadedMedia() override { return m_playback; }
    void showForm() override {}
    void hideForm() override {}

    PanelForm &panel() { return *m_panel; }
    PanelObjects &obj() { return m_panel->obj(); }
    CanvasSurface *Picture1() const { return m_surface; }
    QScrollArea *scrollArea() const { return m_scroll; }
    const QImage &PicTemp() const { return m_picTemp; }

    // ---- panel picture and zoom
    // Whether the picture can be decoded, not only recognised by its header.
    static bool PictureReadable(const QString &path);
    // Loads the panel picture at its own size (ResizePic's picture part); False when unreadable.
    bool LoadPanelPicture(const QString &path);
    // Paints PicTemp into Picture1 at width x height.
    void PaintZoomedPicture(int width, int height);
    // Rescales every canvas object by NewZoom / OldZoom.
    void ZooObj(double NewZoom, double OldZoom);

    // ---- drawing
    void ChkDeskName();
    void DeskUpdate(bool Rebuild);
    void ButtonUpdate(bool Rebuild);
    void ButtonUpdateA(QVector<PanelKey *> &Objs, QVector<BackingPicture> &Baks, bool Rebuild);
    void ButtonUpdate1(PanelKey &Obj, BackingPicture &Bak, bool Rebuild);
    void ButtonMask(BackingPicture &Mask, PanelKey &Target, bool Rebuild);
    void ShowObj(bool Show);
    // Re-styles the LOGO pair after a font change; a drag step keeps the undo point of its press.
    void AdjLogo(bool newUndoPoint = true);
    void AdjLab();
    // The LOGO shadow label beside its label.
    void placeLogoShadow();
    // Applies a mask bitmap to the selection (or to a sample's whole family).
    // False, with nothing changed, when the mask cannot be loaded.
    bool ChangButton(const QString &MaskFile);
    // The colour tool's samples: 0 title button, 1 number key, 2 control key.
    const QImage &Sample(int index) const { return m_samples.at(index); }

    // ---- selection, drag and handles
    void ButtonAdj(bool Flag);
    void ShowACT();
    void ShowPointer(bool Show);
    void AdjPointer();
    void ShowObjBox(bool Show);
    void ResizeA();
    void Undo();
    // A colour-tool sample chosen as the selection (index 0..2).
    void SelectSample(int index);

    QWidget *SelObj() const { return m_selObj; }
    QLabel *FontLabel() const { return m_fontLabel; }
    void setFontLabel(QLabel *label) { m_fontLabel = label; }
    QWidget *ActObj() const { return m_actObj; }
    int SelectedSample() const { return m_sample; }
    PointerHandle *Pointer(int index) const { return m_pointers.at(index); }
    const EditRules::Handles &handles() const { return m_handles; }

signals:
    void closedByFrame();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createCanvas();
    void giveToolTips();
    void watch(QWidget *control);
    bool keyPressed(PanelKey *key, const QPointF &pos, Qt::MouseButton button);
    bool releasedOnIcon(PanelKey *key, const QPointF &pos) const;
    void labelPressed(QLabel *label, const QPointF &pos, Qt::MouseButton button, const QPointF &globalPos);
    void imagePressed(const QPointF &pos, Qt::MouseButton button, const QPointF &globalPos);
    void MoveButtonObj(Qt::MouseButtons buttons, double X, double Y);
    void MoveLabelObj(QWidget *target, Qt::MouseButtons buttons, double X, double Y, bool finalAdj);
    void pointerMoved(int index, Qt::MouseButtons buttons, double X, double Y);
    void placePointers();
    BackingPicture *backingOf(QWidget *control);
    void applyMaskToFamily(int sample, const QImage &mask, int width, int height, const QString &maskFile);
    void sendSamples();

    EditorState &m_state;
    CanvasOwner *m_owner;
    LoadedMedia m_playback;
    QScrollArea *m_scroll = nullptr;
    CanvasSurface *m_surface = nullptr;
    std::unique_ptr<PanelForm> m_panel;
    QImage m_picTemp;
    std::array<QImage, 3> m_samples;
    QVector<PointerHandle *> m_pointers;
    EditRules::Handles m_handles{};

    // selection and drag state
    QPointer<QWidget> m_selObj;
    BackingPicture *m_selObjBak = nullptr;  // the backing of a selected key
    int m_sample = -1;                      // a selected colour-tool sample
    QPointer<QLabel> m_fontLabel;
    QPointer<QWidget> m_actObj;
    QPointer<QWidget> m_dragImage;
    double m_downX = 0, m_downY = 0;
    double m_lastX = 0, m_lastY = 0;
};
