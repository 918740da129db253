// The main window as the playback engine and the panel's mouse handlers see it: the panel
// objects, menus, settings and neighbouring windows that playing touches, and the commands
// behind the keys.
#include "frmVCD.h"

#include "LyricList.h"
#include "MciCommand.h"
#include "MciWnd.h"
#include "ModTools.h"
#include "PanelForm.h"
#include "PanelGeometry.h"
#include "FilePlayback.h"
#include "PanelChoice.h"
#include "PlaybackEngine.h"
#include "SlideShow.h"
#include "SystemPaths.h"
#include "frmSet.h"
#include "frmTemp.h"

#include <QApplication>
#include <QFontDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>

namespace {

QLabel* labelAt(const QVector<QLabel*>& labels, int index)
{
    return index >= 0 && index < labels.size() ? labels[index] : nullptr;
}

}  // namespace

// ---------------------------------------------------------------- message line

QString frmVCD::message() const { return m_panel->obj().Label1->text(); }

void frmVCD::setMessage(const QString& text) { m_panel->obj().Label1->setText(text); }

void frmVCD::repaintMessage() { m_panel->obj().Label1->repaint(); }

void frmVCD::setMessageToolTip(const QString& text) { m_panel->obj().Label1->setToolTip(text); }

void frmVCD::setMessagePointer(MessagePointer pointer)
{
    PanelObjects& obj = m_panel->obj();
    obj.Label1->setCursor(pointer == MessagePointer::Cross ? QCursor(Qt::CrossCursor) : obj.PicIcon);
}

void frmVCD::bringMessageToFront() { m_panel->obj().Label1->raise(); }

void frmVCD::AdjLabel() { m_panel->obj().AdjLabel(); }

// ---------------------------------------------------------------- time labels

QString frmVCD::timeLabel(int index) const
{
    const QLabel* label = labelAt(m_panel->obj().Label2, index);
    return label ? label->text() : QString();
}

void frmVCD::setTimeLabel(int index, const QString& text)
{
    if (QLabel* label = labelAt(m_panel->obj().Label2, index)) setCaption(label, text);
}

bool frmVCD::timeLabelEnabled(int index) const
{
    const QLabel* label = labelAt(m_panel->obj().Label2, index);
    return label && label->isEnabled();
}

void frmVCD::setTimeLabelEnabled(int index, bool enabled)
{
    if (QLabel* label = labelAt(m_panel->obj().Label2, index)) label->setEnabled(enabled);
}

void frmVCD::setTimeLabelToolTip(int index, const QString& text)
{
    if (QLabel* label = labelAt(m_panel->obj().Label2, index)) label->setToolTip(text);
}

void frmVCD::setTimeLabelVisible(int index, bool visible)
{
    if (QLabel* label = labelAt(m_panel->obj().Label2, index)) label->setVisible(visible);
}

// ---------------------------------------------------------------- seek bar and number pad

PlaybackHost::SeekBarGeometry frmVCD::seekBarGeometry() const
{
    // Inside the panel window every length is pixels; the knob is placed in the same unit.
    const PanelObjects& obj = m_panel->obj();
    SeekBarGeometry bar;
    if (obj.PicCtl.size() > 13) {
        bar.grooveLeft = obj.PicCtl[13]->x();
        bar.grooveWidth = obj.PicCtl[13]->width();
        bar.knobWidth = obj.PicCtl[9]->width();
    }
    return bar;
}

void frmVCD::setKnobLeft(double left)
{
    if (m_panel->obj().PicCtl.size() > 9) setLeft(m_panel->obj().PicCtl[9], left);
}

void frmVCD::ChkLab(bool reset) { m_panel->obj().ChkLab(reset); }

void frmVCD::ChkLabColor(int index) { m_panel->obj().ChkLabColor(index); }

bool frmVCD::numberPadLoaded() const
{
    const PanelObjects& obj = m_panel->obj();
    return !obj.LabNum.isEmpty() && obj.LabNum[0]->isEnabled();
}

void frmVCD::setPlayKeyFace(int pauseFaceIndex) { m_panel->obj().setPlayKeyFace(pauseFaceIndex); }

// ---------------------------------------------------------------- pictures

void frmVCD::hideBackPicture()
{
    if (m_slides && m_slides->ImageBack) m_slides->ImageBack->hide();
}

void frmVCD::hideVideoPicture()
{
    VcdPic->hide();
    MCIWnd1->hide();
}

void frmVCD::Image1ADJ() { m_slides->Image1ADJ(); }

void frmVCD::PictureAreaClick() { m_slides->Image1_Click(); }

void frmVCD::setSlideShowEnabled(bool on)
{
    m_slideTimerEnabled = on;
    if (on && TimerBMP.interval() > 0)
        TimerBMP.start();
    else
        TimerBMP.stop();
}

// ---------------------------------------------------------------- lyric list

LyricList& frmVCD::songList() { return *m_lyrics; }

bool frmVCD::songListVisible() const { return !SongList->isHidden(); }

void frmVCD::setSongListVisible(bool visible) { SongList->setVisible(visible); }

// ---------------------------------------------------------------- main window and task bar

void frmVCD::setOnTop(bool onTop) { FormOnTop(this, onTop); }

void frmVCD::setMousePointer(int pointer)
{
    switch (pointer) {
    case 11:
        setCursor(Qt::WaitCursor);
        break;
    case 13:
        setCursor(Qt::BusyCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

bool frmVCD::mainEnabled() const { return isEnabled(); }

void frmVCD::setMainEnabled(bool enabled) { setEnabled(enabled); }

// Minimised is the panel's hidden state (it is its own task-bar entry), so it does not count as shown.
bool frmVCD::mainVisible() const { return isVisible() && !isMinimized(); }

void frmVCD::setMainVisible(bool visible) { setVisible(visible); }

int frmVCD::taskWindowState() const { return m_temp->WindowState(); }

void frmVCD::setTaskWindowState(int state) { m_temp->setWindowState(state); }

void frmVCD::setTaskCaption(const QString& text) { m_temp->setCaption(text); }

// ---------------------------------------------------------------- menus and settings

void frmVCD::setQuickSongMenuEnabled(bool enabled) { m_menu.mSele.enabled = enabled; }

void frmVCD::setPlayListMenuEnabled(bool enabled) { m_menu.mSele1.enabled = enabled; }

QString frmVCD::checkedSeekEntry() const
{
    for (const MenuItem& item : m_menu.mSeek)
        if (item.checked) return item.caption;
    return QString();
}

void frmVCD::setVolumeBar(int percent)
{
    m_set->setVolumeBar(percent);
}

PlaybackHost::EndOfDisc frmVCD::endOfDiscChoice() const
{
    switch (m_set->Options().StopMode) {
    case 1:
        return Eject;
    case 2:
        return Stop;
    default:
        return Repeat;
    }
}

QString frmVCD::songTempDir() const { return m_shell.SongTempDir; }

int frmVCD::creatSongDir() const { return m_shell.CreatSongDir; }

QString frmVCD::programFolder() const { return SystemPaths::ProgramFolder(); }

int frmVCD::ShowMsg(const QString& prompt, const QString& kind) { return ::ShowMsg(prompt, kind).toInt(); }

void frmVCD::beep() { QApplication::beep(); }

QString frmVCD::mciSendString(const QString& command)
{
    QString reply;
    ::mciSendString(command, &reply, 20);
    return reply;
}

// ---------------------------------------------------------------- commands of the keys

void frmVCD::CheckCdrom(bool autoPlay) { playbackCheckCdrom(autoPlay); }

void frmVCD::ChkVCDSize() { m_engine->filePlayback().ChkVCDSize(); }

void frmVCD::SeleDesk() { m_choice->SeleDesk(); }

void frmVCD::PlayCd(int track) { m_engine->PlayCd(track); }

void frmVCD::ChkCD(int code) { m_engine->ChkCD(code); }

void frmVCD::ChkSeek() { m_engine->ChkSeek(); }

void frmVCD::ChkSeekTime(double ratio) { m_engine->ChkSeekTime(ratio); }

void frmVCD::MinimiseToTaskBar()
{
    // The panel is its own task-bar entry: minimised, it is out of sight and the entry stays.
    m_temp->setWindowState(1);
}

void frmVCD::SongBookManager() { m_set->Command8_Click(); }

bool frmVCD::ChooseFont(QFont& font)
{
    bool confirmed = false;
    const QFont chosen = QFontDialog::getFont(&confirmed, font, this, QString(), QFontDialog::DontUseNativeDialog);
    if (confirmed) font = chosen;
    return confirmed;
}
