#include "PanelMouse.h"

#include "MenuModel.h"
#include "PanelForm.h"
#include "PanelGeometry.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "PlaybackState.h"
#include "VbRuntime.h"

#include <QApplication>
#include <QFont>
#include <QListWidget>
#include <QMouseEvent>
#include <cmath>

namespace {

enum Family { TitleButtons, NumberPad, ControlBar };

constexpr int SeekKnob = 9;
constexpr int SeekTrack = 13;

int vbButton(Qt::MouseButtons buttons)
{
    int b = 0;
    if (buttons & Qt::LeftButton) b |= PanelMouse::Left;
    if (buttons & Qt::RightButton) b |= PanelMouse::Right;
    if (buttons & Qt::MiddleButton) b |= PanelMouse::Middle;
    return b;
}

int vbShift(Qt::KeyboardModifiers modifiers)
{
    int s = 0;
    if (modifiers & Qt::ShiftModifier) s |= 1;
    if (modifiers & Qt::ControlModifier) s |= 2;
    if (modifiers & Qt::AltModifier) s |= 4;
    return s;
}

template <class T> int indexIn(const QVector<T*>& array, const QObject* object)
{
    for (int i = 0; i < array.size(); ++i)
        if (array[i] == object) return i;
    return -1;
}

}  // namespace

PanelMouse::PanelMouse(PanelForm& panel, PlaybackState& playback, MenuModel& menu, PanelCommands& commands,
                       QObject* parent)
    : QObject(parent), m_panel(panel), m_playback(playback), m_menu(menu), m_commands(commands)
{
    // The desktop drag's timer only needs to run out once; its tick switches it off.
    connect(&TimerDesk, &QTimer::timeout, this, [this] { TimerDesk.stop(); });
}

void PanelMouse::setLists(QListWidget* songList, QListWidget* playList)
{
    m_songList = songList;
    m_playList = playList;
}

void PanelMouse::install()
{
    PanelObjects& obj = m_panel.obj();
    QList<QWidget*> objects{m_panel.host().panelWidget(), obj.Label1, obj.Image1};
    for (auto* w : obj.Label2) objects << w;
    for (auto* w : obj.Label3) objects << w;
    for (auto* w : obj.LabNum) objects << w;
    for (auto* w : obj.PicButton) objects << w;
    for (auto* w : obj.ImageButton) objects << w;
    for (auto* w : obj.PicNum) objects << w;
    for (auto* w : obj.PicCtl) objects << w;
    for (auto* w : obj.ImageButton1) objects << w;
    for (QWidget* w : objects)
        if (w) w->installEventFilter(this);
}

double PanelMouse::tppX() const { return m_panel.host().twipsPerPixelX(); }
double PanelMouse::tppY() const { return m_panel.host().twipsPerPixelY(); }

bool PanelMouse::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        // A disabled window takes no clicks (a dialog holds it, such as the settings); the
        // filter sees them all the same, so it swallows them here.
        if (!m_panel.host().panelWidget()->isEnabled()) return true;
        if (auto* widget = qobject_cast<QWidget*>(watched)) return dispatch(widget, static_cast<QMouseEvent*>(event));
        return false;
    default:
        return QObject::eventFilter(watched, event);
    }
}

bool PanelMouse::dispatch(QWidget* object, QMouseEvent* event)
{
    // A key's press lets events run while it draws the key pressed. A release already waiting
    // (a quick click, as a touchpad tap gives it) would run inside the press and restore the
    // face before the pressed look is painted over it: what arrives while a key is drawn
    // pressed waits, in order, and is taken once that press has returned. Nothing else holds
    // events, so that a command a press runs (a menu's choice, a dialog it waits on) leaves
    // the panel answering; what arrives while held events wait takes its turn after them.
    if (m_drawingPressed || !m_held.empty()) {
        m_held.push_back({object, std::unique_ptr<QMouseEvent>(event->clone())});
        if (!m_drawingPressed) deliverHeld();
        return true;
    }
    route(object, event);
    deliverHeld();
    return true;
}

void PanelMouse::deliverHeld()
{
    while (!m_drawingPressed && !m_held.empty()) {
        HeldEvent held = std::move(m_held.front());
        m_held.pop_front();
        if (held.object) route(held.object, held.event.get());
    }
}

void PanelMouse::drawPressed(const std::function<void()>& draw)
{
    m_drawingPressed = true;
    draw();
    m_drawingPressed = false;
}

bool PanelMouse::route(QWidget* object, QMouseEvent* event)
{
    PanelObjects& obj = m_panel.obj();
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool release = type == QEvent::MouseButtonRelease;
    const int button = vbButton(type == QEvent::MouseMove ? event->buttons() : Qt::MouseButtons(event->button()));
    const int shift = vbShift(event->modifiers());
    // From the pointer's place on the screen: while the window is being dragged, the place an
    // event reports within it may belong to where the window was before the last step.
    const QPointF local = object->mapFromGlobal(event->globalPosition());
    const double x = local.x(), y = local.y();
    const double tx = x * tppX(), ty = y * tppY();
    m_pointer = event->globalPosition().toPoint();

    // An icon on a key acts as the key: its position is given relative to the key.
    int i = indexIn(obj.ImageButton, object);
    if (i >= 0 && i < obj.PicButton.size()) object = obj.PicButton[i];
    else if ((i = indexIn(obj.ImageButton1, object)) >= 0 && i < obj.PicCtl.size()) object = obj.PicCtl[i];
    const QPointF keyPos = object->mapFromGlobal(event->globalPosition());

    if (object == m_panel.host().panelWidget()) {
        if (press) Form_MouseDown(button, shift, x, y);
        else if (type == QEvent::MouseMove) Form_MouseMove(button, shift, x, y);
        return true;
    }
    if (object == obj.Label1) {
        if (press) Label1_MouseDown(button, shift, tx, ty);
        return true;
    }
    if ((i = indexIn(obj.Label2, object)) >= 0) {
        if (press) Label2_MouseDown(i, button, shift, tx, ty);
        return true;
    }
    if ((i = indexIn(obj.Label3, object)) >= 0) {
        if (press) Label3_MouseDown(i, button, shift, tx, ty);
        else if (type == QEvent::MouseMove) Label3_MouseMove(i, button, shift, tx, ty);
        return true;
    }
    if ((i = indexIn(obj.LabNum, object)) >= 0) {
        if (press) LabNum_MouseDown(i, button, shift, 0, 0);
        else if (release) LabNum_MouseUp(i, button, shift, 0, 0);
        return true;
    }
    if ((i = indexIn(obj.PicButton, object)) >= 0) {
        if (press) PicButton_MouseDown(i, button, shift, keyPos.x(), keyPos.y());
        else if (release) PicButton_MouseUp(i, button, shift, keyPos.x(), keyPos.y());
        return true;
    }
    if ((i = indexIn(obj.PicNum, object)) >= 0) {
        if (press) PicNum_MouseDown(i, button, shift, keyPos.x(), keyPos.y());
        else if (release) PicNum_MouseUp(i, button, shift, keyPos.x(), keyPos.y());
        return true;
    }
    if ((i = indexIn(obj.PicCtl, object)) >= 0) {
        if (press) PicCtl_MouseDown(i, button, shift, keyPos.x(), keyPos.y());
        else if (release) PicCtl_MouseUp(i, button, shift, keyPos.x(), keyPos.y());
        else PicCtl_MouseMove(i, button, shift, keyPos.x(), keyPos.y());
        return true;
    }
    // The picture area: a left click steps the slide show.
    if (press && button == Left && object == obj.Image1) m_commands.PictureAreaClick();
    return true;
}

// ---------------------------------------------------------------- window drag

void PanelMouse::Form_MouseDown(int Button, int, double X, double Y)
{
    if (Button == Left) {
        DragX0 = DragLastX = X * tppX();
        DragY0 = DragLastY = Y * tppY();
        grabForDrag();
    } else if (Button == Right) {
        togglePlayList();
    }
}

void PanelMouse::Form_MouseMove(int Button, int, double X, double Y) { DragStep(Button, X * tppX(), Y * tppY()); }

void PanelMouse::Label3_MouseDown(int, int Button, int, double X, double Y)
{
    if (Button == Left) {
        DragX0 = DragLastX = X;
        DragY0 = DragLastY = Y;
        grabForDrag();
    } else if (Button == Right || Button == Middle) {
        m_commands.PopUpMenu(PanelCommands::Menu::Main, m_pointer);
    }
}

void PanelMouse::Label3_MouseMove(int, int Button, int, double X, double Y)
{
    DragStep(Button, X, Y);
    if (Button == Left) Vb::setTimer(TimerDesk, 250, true);
}

// The pointer on the screen (twips) for a position X, Y given in the frame of the grab point:
// the window's place plus the position, less the grabbed object's own offset, which every
// step of one drag shares.
QPointF PanelMouse::dragPointer(double X, double Y) const
{
    const QWidget* window = m_panel.host().panelWidget();
    return {window->x() * tppX() + X, window->y() * tppY() + Y};
}

void PanelMouse::grabForDrag() { m_dragPointer = dragPointer(DragX0, DragY0); }

void PanelMouse::DragStep(int Button, double X, double Y)
{
    // The pointer's travel is measured on the screen: once the window has followed it, the
    // position within the window is back near the grab point, and a step as long as the last
    // one would be taken for no move at all.
    const QPointF pointer = dragPointer(X, Y);
    const QPointF travel = pointer - m_dragPointer;
    if (Button != Left || std::abs(travel.x()) + std::abs(travel.y()) < 2 || WinMoving) return;
    WinMoving = true;
    m_panel.host().moveFormTwips(pointer.x() - DragX0, pointer.y() - DragY0);
    DragLastX = X;
    DragLastY = Y;
    m_dragPointer = pointer;
    WinMoving = false;
}

// ---------------------------------------------------------------- labels

void PanelMouse::Label1_MouseDown(int Button, int, double, double)
{
    if (Button == Left) showLyrics();
    else if (Button == Right || Button == Middle) chooseLyricFont();
}

void PanelMouse::showLyrics()
{
    if (!m_songList) return;
    PanelObjects& obj = m_panel.obj();
    const PanelState& s = m_panel.state();
    // The list lies on the picture area also without a lyric file, clear of the logo.
    m_songList->setGeometry(toPixels(s.ImageLeft), toPixels(s.ImageTop), toPixels(s.ImageWidth),
                            toPixels(s.ImageHeight));
    if (m_playback.LyricFile.isEmpty()) {
        m_songList->setVisible(m_songList->isHidden());
        return;
    }
    QFont font = m_songList->font();
    font.setFamily(obj.Label1->font().family());
    font.setPointSizeF(obj.Label1->font().pointSizeF());
    m_songList->setFont(font);
    QPalette palette = m_songList->palette();
    palette.setColor(QPalette::Text, foreColor(obj.Label1));
    m_songList->setPalette(palette);
    const bool shown = m_songList->isHidden();
    m_songList->setVisible(shown);
    if (shown) m_songList->raise();
    obj.Label1->setToolTip(shown ? QStringLiteral("隱藏整篇歌詞") : QStringLiteral("顯示整篇歌詞"));
    obj.Image1->setVisible(!shown);
}

void PanelMouse::chooseLyricFont()
{
    QLabel* line = m_panel.obj().Label1;
    QFont chosen = line->font();
    if (!m_commands.ChooseFont(chosen)) return;  // cancelled: both fonts stay
    for (QWidget* target : {static_cast<QWidget*>(m_songList), static_cast<QWidget*>(line)}) {
        if (!target) continue;
        QFont font = target->font();
        font.setFamily(chosen.family());
        font.setBold(chosen.bold());
        font.setItalic(chosen.italic());
        font.setPointSizeF(chosen.pointSizeF());
        font.setUnderline(chosen.underline());
        target->setFont(font);
    }
}

double PanelMouse::PlayListFontSize(double imageWidth)
{
    const double size = imageWidth / 480.0 * 20.0;
    return size < 8 ? 8 : size;
}

void PanelMouse::togglePlayList()
{
    if (!m_playList) return;
    const PanelState& s = m_panel.state();
    QFont font = m_playList->font();
    font.setFamily(m_panel.obj().Label1->font().family());
    font.setPointSizeF(PlayListFontSize(s.ImageWidth));
    m_playList->setFont(font);
    m_playList->setGeometry(toPixels(s.ImageLeft), toPixels(s.ImageTop), toPixels(s.ImageWidth),
                            toPixels(s.ImageHeight));
    const bool shown = m_playList->isHidden();
    m_playList->setVisible(shown);
    if (shown) m_playList->raise();
}

void PanelMouse::Label2_MouseDown(int, int Button, int, double, double)
{
    if (Button == Left) m_commands.SongBookManager();
}

// ---------------------------------------------------------------- number pad captions

void PanelMouse::LabNum_MouseDown(int Index, int Button, int, double, double)
{
    PicNum_MouseDown(Index, Button, 0, 0, 0);
}

void PanelMouse::LabNum_MouseUp(int Index, int Button, int, double, double) { PicNum_MouseUp(Index, Button, 0, 0, 0); }

// ---------------------------------------------------------------- pressed look and release

void PanelMouse::releaseKey(int family, int index)
{
    PanelObjects& obj = m_panel.obj();
    switch (family) {
    case TitleButtons: {
        PanelKey* key = obj.PicButton[index];
        key->setPicture(obj.PictBack);
        key->repaint();
        if (index < obj.ImageButton.size()) {
            centreIn(obj.ImageButton[index], key);
            obj.ImageButton[index]->repaint();
        }
        obj.Label1->setText(QString());
        break;
    }
    case NumberPad: {
        PanelKey* key = obj.PicNum[index];
        key->setPicture(obj.PictBack);
        key->repaint();
        if (index < obj.LabNum.size()) {
            centreIn(obj.LabNum[index], key);
            obj.LabNum[index]->repaint();
        }
        QApplication::processEvents();
        break;
    }
    case ControlBar: {
        PanelKey* key = obj.PicCtl[index];
        key->setPicture(obj.PictBack);
        key->repaint();
        QApplication::processEvents();
        if (index < obj.ImageButton1.size()) {
            QLabel* icon = obj.ImageButton1[index];
            icon->move(icon->x(), (key->height() - icon->height()) / 2);
            icon->move((key->width() - icon->width()) / 2, icon->y());
            icon->repaint();
        }
        break;
    }
    }
}

// ---------------------------------------------------------------- title buttons

void PanelMouse::PicButton_MouseDown(int Index, int Button, int, double, double)
{
    PanelObjects& obj = m_panel.obj();
    if (Index < 0 || Index >= obj.PicButton.size()) return;
    if (Button == Left) {
        drawPressed([&] {
            obj.PictBack = obj.PicButton[Index]->Picture();
            m_panel.ButtonDown1(obj.PicButton, obj.ImageButton, Index);
        });
    } else if (Button == Right && Index != 3) {
        m_commands.ChkMenu(Index, m_pointer);
    }
}

void PanelMouse::PicButton_MouseUp(int Index, int Button, int, double, double)
{
    if (Button != Left || Index < 0 || Index >= m_panel.obj().PicButton.size()) return;
    releaseKey(TitleButtons, Index);
    switch (Index) {
    case 0:
        m_commands.CheckCdrom(true);
        break;
    case 1:
        m_playback.VideoWidth = Vb::Int(m_playback.VideoWidth * 1.25);
        m_playback.VideoHeight = Vb::Int(m_playback.VideoHeight * 1.25);
        m_commands.ChkVCDSize();
        break;
    case 2:
        m_commands.SeleDesk();
        break;
    case 3:
        m_commands.ShowSettings();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- number pad

bool PanelMouse::numberKeyEnabled(int index) const
{
    const PanelObjects& obj = m_panel.obj();
    return index >= 0 && index < obj.LabNum.size() && index < obj.PicNum.size() && obj.LabNum[index]->isEnabled();
}

void PanelMouse::PicNum_MouseDown(int Index, int Button, int, double, double)
{
    if (!numberKeyEnabled(Index)) return;
    PanelObjects& obj = m_panel.obj();
    if (Button == Left) {
        drawPressed([&] {
            m_panel.ButtonDown(obj.PicNum, obj.LabNum, Index);
            obj.PictBack = obj.PicNum[Index]->Picture();
            m_panel.ButtonDown1(obj.PicNum, obj.LabNum, Index);
        });
    } else {
        m_commands.ChkMp3Menu(Index, m_pointer);
    }
}

void PanelMouse::PicNum_MouseUp(int Index, int Button, int, double, double)
{
    if (Button != Left || !numberKeyEnabled(Index)) return;
    PanelObjects& obj = m_panel.obj();
    const QString caption = obj.LabNum[Index]->text();  // read before the release lets events run
    releaseKey(NumberPad, Index);
    if (Index == obj.PicNum.size() - 1)
        obj.ChkLab(false);
    else
        m_commands.PlayCd(static_cast<int>(Vb::Val(caption)));
}

// ---------------------------------------------------------------- control bar

int PanelMouse::VolumeItemOf(int volumeLevel)
{
    return static_cast<int>(Vb::RoundHalfEven(10.0 - volumeLevel / 100.0));
}

void PanelMouse::controlBarMenu(int index)
{
    switch (index) {
    case 0:
        m_commands.PopUpMenu(PanelCommands::Menu::PlayLists, m_pointer);
        break;
    case 2:
    case 5:
        m_commands.PopUpMenu(PanelCommands::Menu::SeekStep, m_pointer);
        break;
    case 3:
    case 4: {
        for (MenuItem& item : m_menu.mVolume) item.checked = false;
        const int tick = VolumeItemOf(m_playback.VolumeLevel);
        if (tick >= 0 && tick < m_menu.mVolume.size()) m_menu.mVolume[tick].checked = true;
        m_commands.PopUpMenu(PanelCommands::Menu::Volume, m_pointer);
        break;
    }
    case 10:
    case 11:
        m_commands.PopUpMenu(PanelCommands::Menu::Speed, m_pointer);
        break;
    default:
        break;
    }
}

void PanelMouse::PicCtl_MouseDown(int Index, int Button, int, double X, double Y)
{
    if (Index < 0 || Index >= m_panel.obj().PicCtl.size()) return;
    PressX = X;
    PressY = Y;
    if (Button != Left) {
        controlBarMenu(Index);
        return;
    }
    PanelObjects& obj = m_panel.obj();
    drawPressed([&] {
        obj.PictBack = obj.PicCtl[Index]->Picture();
        m_panel.ButtonDown1(obj.PicCtl, obj.ImageButton1, Index);
    });
    if (Index == SeekKnob) m_playback.KnobHeld = true;
}

void PanelMouse::PicCtl_MouseMove(int Index, int Button, int, double X, double Y)
{
    if (Index != SeekKnob) return;
    if (Button != Left || std::abs(X - LastMoveX) + std::abs(LastMoveY - Y) < 1 || ObjMoving) return;
    knobDrag(X, Y);
}

void PanelMouse::knobDrag(double X, double Y)
{
    PanelObjects& obj = m_panel.obj();
    if (obj.PicCtl.size() <= SeekTrack) return;
    PanelKey* knob = obj.PicCtl[SeekKnob];
    const PanelKey* track = obj.PicCtl[SeekTrack];
    ObjMoving = true;
    knob->move(toPixels(knob->x() + X - PressX), knob->y());
    obj.AdjLine();
    if (knob->x() <= track->x() + 2) knob->move(track->x(), knob->y());
    const int rightEnd = track->x() + track->width() - knob->width();
    if (knob->x() >= rightEnd) knob->move(rightEnd, knob->y());
    const int travel = track->width() - knob->width();
    const float ratio = travel > 0 ? static_cast<float>(knob->x() - track->x()) / travel : 0.0f;
    m_commands.ChkSeekTime(ratio);
    LastMoveX = X;
    LastMoveY = static_cast<int>(Vb::RoundHalfEven(Y));
    ObjMoving = false;
    obj.ButtonAdj(false);
}

void PanelMouse::runBusy(const std::function<void()>& command)
{
    m_playback.BusyFlag = true;
    command();
    m_playback.BusyFlag = false;
}

void PanelMouse::PicCtl_MouseUp(int Index, int Button, int, double, double)
{
    m_playback.KnobHeld = false;
    if (Button != Left || Index < 0 || Index >= m_panel.obj().PicCtl.size()) return;
    releaseKey(ControlBar, Index);
    switch (Index) {
    case 8:
        m_commands.CloseForm();  // the program ends here: nothing may follow
        return;
    case SeekKnob:
        runBusy([this] { m_commands.ChkSeek(); });
        return;
    case 12:
        runBusy([this] {
            if (!(m_playback.MediaKind == QLatin1String("VCD") && m_panel.state().ImageVisible))
                m_commands.MinimiseToTaskBar();
        });
        return;
    default:
        runBusy([this, Index] { m_commands.ChkCD(Index); });
        return;
    }
}
