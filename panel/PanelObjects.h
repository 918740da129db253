#pragma once

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>

#include <cstdint>

class PanelHost;
struct PanelState;
class QFrame;

// A VB-style colour: red in the low byte, then green, then blue.
using VbColor = std::int32_t;
VbColor toVbColor(const QColor &color);
QColor fromVbColor(VbColor color);

// A picture-box key (control bar, number pad, title button). It shows its
// Picture at (0, 0); mouse handling belongs to whoever installs event filters.
class PanelKey : public QWidget
{
    Q_OBJECT
public:
    PanelKey(QWidget *parent, const QString &name, int index);

    const QImage &Picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    bool hasPicture() const { return !m_picture.isNull() && m_picture.height() > 0; }

    int Index() const { return m_index; }
    QString Tag;  // the name of the key's mask bitmap

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    int m_index;
};

// The hidden backing picture of a key: the key's mask bitmap stretched to the
// key's size, and the mask's full path in Tag.
struct BackingPicture
{
    QImage Picture;
    QString Tag;
    int Width = 0;
    int Height = 0;
};

// One line of the seek groove, drawn inside the seek track in its coordinates.
class PanelLine : public QWidget
{
    Q_OBJECT
public:
    PanelLine(QWidget *parent, int index);
    void setLine(int x1, int y1, int x2, int y2);
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    QColor BorderColor;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A hidden picture holder that remembers the path last loaded (DeskPic).
struct DeskPicture
{
    QImage Picture;
    QString Tag;
};

// The panel object set that a panel places and paints, created as children
// of the host's form. Arrays are indexed from 0 without gaps.
class PanelObjects
{
public:
    struct Counts
    {
        int ctl = 14;       // PicCtl: 9 the seek knob, 13 its track, 6 always hidden
        int num = 10;       // PicNum: 0..8 number keys, the last the page key
        int numBak = 15;    // PicNumBak has more elements than there are keys
        int button = 4;     // PicButton: 0 disc, 1 video size, 2 panel choice, 3 settings
        int timeLabels = 3; // Label2: 2 is the time under the dragged knob
        int logoLabels = 2; // Label3
    };

    PanelObjects(PanelHost &host, PanelState &state);
    PanelObjects(PanelHost &host, PanelState &state, const Counts &counts);
    PanelObjects(const PanelObjects &) = delete;
    PanelObjects &operator=(const PanelObjects &) = delete;

    // Control bar
    QVector<PanelKey *> PicCtl;
    QVector<BackingPicture> PicCtlBak;
    QVector<QLabel *> ImageButton1;
    QVector<PanelLine *> Line1;         // inside PicCtl(13)
    // Number pad
    QVector<PanelKey *> PicNum;
    QVector<BackingPicture> PicNumBak;
    QVector<QLabel *> LabNum;           // inside PicNum(i)
    // Title buttons
    QVector<PanelKey *> PicButton;
    QVector<BackingPicture> PicButtonB;
    QVector<QLabel *> ImageButton;      // inside PicButton(i)
    // Labels and picture area
    QLabel *Label1 = nullptr;           // message and lyric line
    QVector<QLabel *> Label2;           // time texts
    QVector<QLabel *> Label3;           // logo texts
    QVector<QPixmap> ImagePause;        // the play key's faces: 0 play, 1 pause
    QLabel *Image1 = nullptr;           // picture area
    QFrame *ObjBox = nullptr;           // highlight frame, always hidden
    QCursor PicIcon{Qt::PointingHandCursor};
    // Hidden helpers
    DeskPicture DeskPic;
    QLabel *ImageDesk = nullptr;        // desktop-drag image
    // The carrying window moves over a frozen desktop (DeskDrag): on a GIF panel,
    // whose outline lets the desktop show, ShowObj(True) lays ImageDesk under every
    // object as the window's drag frame.
    bool HasDeskDrag = false;
    QImage PictBack;                    // a pressed key's face before it was pressed

    // The form's background picture (the panel picture at (0, 0)).
    const QImage &FormPicture() const { return m_formPicture; }
    void setFormPicture(const QImage &picture);

    // The layout routines
    void FormResize();
    void InitObj(bool Show);
    void AdjLine();
    void AdjImage();
    void AdjLabel();
    void ShowObj(bool Show);
    void ChkLab(bool Reset);
    void ChkLabColor(double Track);
    static VbColor InvertColor(VbColor Color);
    void ButtonAdj(bool Show);
    void ADJForm();
    // The play key's icon shows ImagePause(Face): 1 while playing, 0 otherwise.
    void setPlayKeyFace(int Face);

    // Every panel object in creation order (the form's control order).
    QList<QWidget *> controls() const { return m_controls; }
    // The panel objects, then the form's other named child controls: FormResize
    // scales and ShowObj hides these too (unnamed children are left alone).
    QList<QWidget *> windowControls() const;
    PanelHost &host() { return m_host; }
    PanelState &state() { return m_state; }

private:
    void create(const Counts &counts);
    QColor labColor(int index) const;
    void placeBuiltInLayout();
    void loadIcons();
    void showDeskFrame();
    template <class T> T *add(T *control, const QString &name);

    PanelHost &m_host;
    PanelState &m_state;
    QList<QWidget *> m_controls;
    QImage m_formPicture;
};
