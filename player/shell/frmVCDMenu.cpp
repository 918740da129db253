// The main window as the context menu, the song library and the media probe see it, and the
// seams to the playback engine's file playback, capture and probe.
#include "frmVCD.h"

#include "AppStore.h"
#include "DeskDrag.h"
#include "DocumentOpener.h"
#include "Drives.h"
#include "FilePlayback.h"
#include "FolderSongMenu.h"
#include "FrameCapture.h"
#include "ListBoxes.h"
#include "LyricPrintRun.h"
#include "MciWnd.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "PanelForm.h"
#include "PanelGeometry.h"
#include "PlaybackEngine.h"
#include "SongBookScan.h"
#include "frmCutSet.h"
#include "frmFindMusic.h"
#include "frmMenu.h"
#include "FrmPlay.h"
#include "frmSeleDir.h"
#include "frmSet.h"
#include "frmSongSet.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QScrollBar>
#include <QTreeWidget>
#include <cmath>

// ---------------------------------------------------------------- context menu

void frmVCD::ChkMenu(int kind, const QPoint& globalPos) { m_frmMenu->ChkMenu(kind, globalPos, this); }

void frmVCD::PopUpMenu(Menu menu, const QPoint& globalPos)
{
    switch (menu) {
    case Menu::Main:
        m_frmMenu->popUp(frmMenu::Branch::Main, globalPos, this);
        break;
    case Menu::PlayLists:
        m_frmMenu->popUp(frmMenu::Branch::List, globalPos, this);
        break;
    case Menu::SeekStep:
        m_frmMenu->popUp(frmMenu::Branch::Seek, globalPos, this);
        break;
    case Menu::Volume:
        m_frmMenu->popUp(frmMenu::Branch::Volume, globalPos, this);
        break;
    case Menu::Speed:
        m_frmMenu->popUp(frmMenu::Branch::Speed, globalPos, this);
        break;
    }
}

int frmVCD::UpdateMenu(const QString& folder)
{
    File1->setPattern(m_shell.SongPattern);
    const int count = m_frmMenu->UpdateMenu(folder);
    // The settings dialog's hidden list keeps the main window's pattern.
    m_set->File1->setPattern(File1->pattern());
    return count;
}

QString frmVCD::songListEntry(int index) const { return File1->list(index); }

QStringList frmVCD::songFilesIn(const QString& folder) const
{
    File1->setPattern(m_shell.SongPattern);
    if (!File1->setPath(folder)) return {};
    QStringList names;
    for (int i = 0; i < File1->listCount(); ++i) names << File1->list(i);
    return names;
}

void frmVCD::setPlayListItems(const QStringList& captions, int checked)
{
    for (int i = 0; i < captions.size(); ++i) {
        MenuItem& item = MenuModel::element(m_menu.mSeleItem1, i);
        item.caption = captions[i];
        item.visible = true;
        item.checked = (i == checked);
    }
    for (int i = static_cast<int>(captions.size()); i < m_menu.mSeleItem1.size(); ++i)
        m_menu.mSeleItem1[i].visible = false;
}

void frmVCD::setCaptureMenusEnabled(bool enabled)
{
    m_menu.mCutBmp.enabled = enabled;
    m_menu.mCutBmp1.enabled = enabled;
}

// ---------------------------------------------------------------- number pad's song menu

void frmVCD::ChkMp3Menu(int index, bool popUp)
{
    const PanelObjects& obj = m_panel->obj();
    if (index < 0 || index >= obj.PicNum.size()) return;
    // The page key pops up the entry list mSele1 as it stands now.
    m_entryMenu->clear();
    for (int i = 0; i < m_menu.mSeleItem1.size(); ++i) {
        const MenuItem& item = m_menu.mSeleItem1[i];
        if (!item.visible) continue;
        QAction* action = m_entryMenu->addAction(item.caption);
        action->setEnabled(item.enabled);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        connect(action, &QAction::triggered, this, [this, i] { m_frmMenu->mSeleItem1_Click(i); });
    }
    m_folderSongMenu->ChkMp3Menu(index, popUp, m_playback.MediaKind, obj.PicNum[index]->toolTip(),
                                 m_shell.SongPattern, m_playback.CurMediaFile, m_entryMenu);
}

void frmVCD::ChkMp3Menu(int key, const QPoint& globalPos)
{
    Q_UNUSED(globalPos);  // the song menu opens at the pointer
    ChkMp3Menu(key, true);
}

// ---------------------------------------------------------------- playback engine

void frmVCD::PlayMp3(const QString& folder, int track) { m_engine->filePlayback().PlayMp3(folder, track); }

void frmVCD::PlayMp31() { m_engine->filePlayback().PlayMp31(); }

void frmVCD::SetVolume() { m_engine->SetVolume(); }

void frmVCD::setControlSpeed(int speed)
{
    m_engine->frmPlay().MCIWnd1()->setSpeed(speed);
    MCIWnd1->setSpeed(speed);
}

QString frmVCD::activeDeviceType() const
{
    return m_playback.ActiveMci ? m_playback.ActiveMci->DeviceType() : QString();
}

bool frmVCD::videoWindowVisible() const { return m_engine->frmPlay().isVisible(); }

void frmVCD::captureFrame(bool continuous)
{
    if (continuous)
        m_engine->frameCapture().mCutBmp_Click();
    else
        m_engine->frameCapture().mCutBmp1_Click();
}

QString frmVCD::captureDelayText() { return m_engine->frameCapture().delayText(); }

void frmVCD::setCaptureDelay(const QString& text, int scrollValue)
{
    m_engine->frameCapture().setDelay(text, scrollValue);
}

// ---------------------------------------------------------------- windows of other parts

void frmVCD::DeskShow() { m_choice->DeskShow(); }

void frmVCD::DeskTopRef() { m_deskDrag->DeskTopRef(); }

PanelHost::MediaWindowPlace frmVCD::stopMediaWindow()
{
    MCIWnd1->setCommand(QStringLiteral("Stop"));
    MediaWindowPlace place;
    place.position = MCIWnd1->Position();
    place.length = MCIWnd1->Length();
    return place;
}

void frmVCD::replayVideoAt(double fraction)
{
    m_engine->frmPlay().hide();
    // The video-CD track that plays (a video start clears the song file name).
    m_engine->filePlayback().PlayVCD(m_playback.VcdFile);
    m_engine->ChkSeekTime(fraction);
    m_engine->ChkSeek();
}

void frmVCD::playMediaWindow()
{
    // The panel's objects were hidden for the change: a video of the panel shows again.
    m_engine->filePlayback().showVideoInPanel();
    MCIWnd1->setCommand(QStringLiteral("PLAY"));
}

void frmVCD::PrintLyrics()
{
    LyricPrintRun run(*m_songSet);
    run.centre = [this](frmSongSet& editor) { FrmCenter(&editor); };
    if (run.mSongText_Click() <= 0) return;
    // The printed files are the play array afterwards, as a handed-over play list is.
    m_playback.MediaCount = m_songSet->ListEntryCount;
    m_playback.PlayArray.clear();
    for (const QString& path : m_songSet->PlayArray.mid(0, m_songSet->ListEntryCount)) m_playback.PlayArray.append(path);
}

QString frmVCD::chooseFolder(const QString& startFolder, const QString& pattern)
{
    SeleDirPath = startFolder;
    SeleDirPattern = pattern;
    ShowSeleDir();
    return SeleDirPath;
}

QString frmVCD::lastListFile() const
{
    return AppOptionStore().get(QStringLiteral("ListFile"), AddPath(m_shell.SongTempDir, QStringLiteral("unknow.m3u")));
}

QStringList frmVCD::runPlayListEditor(const QString& listFile)
{
    FrmCenter(m_songSet);
    setEnabled(false);  // the editor's close enables the panel again
    m_songSet->SetPlayListMode(listFile, m_shell.SongPattern);
    m_songSet->ListEntryCount = 0;
    m_songSet->ShowAndWait();
    setEnabled(true);
    if (m_songSet->ListEntryCount <= 0) return {};
    return m_songSet->PlayArray.mid(0, m_songSet->ListEntryCount);
}

void frmVCD::addToPlayListEditor(const QString& fileName, const QString& folder) { m_songSet->AddRow(fileName, folder); }

void frmVCD::fillPlayList(const QStringList& entries)
{
    PlayList->clear();
    for (const QString& entry : entries) {
        auto* item = new QListWidgetItem(entry, PlayList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

void frmVCD::showVolumePercent(int percent)
{
    setVolumeBar(percent);
    setTimeLabel(2, QStringLiteral("Volume=") + QString::number(m_set->volumeBar()) + QStringLiteral("%"));
}

int frmVCD::driveType(const QString& drive) const { return Drives::DriveType(drive); }

void frmVCD::openDocument(const QString& path, std::function<void()> cannotOpen)
{
    DocumentOpener::Open(path, std::move(cannotOpen));
}

void frmVCD::writeLog(const QString& line) { WriteLog(line); }

// ---------------------------------------------------------------- panel pieces for playing

void frmVCD::setPictureAreaVisible(bool visible) { m_panel->obj().Image1->setVisible(visible); }

void frmVCD::showSpeedKeyIcons()
{
    PanelObjects& obj = m_panel->obj();
    for (int key : {10, 11})
        if (key < obj.ImageButton1.size()) obj.ImageButton1[key]->show();
}

void frmVCD::setControlToolTip(int key, const QString& text)
{
    PanelObjects& obj = m_panel->obj();
    if (key >= 0 && key < obj.PicCtl.size()) obj.PicCtl[key]->setToolTip(text);
}

bool frmVCD::pictureAreaShown() const { return m_panelState.ImageVisible; }

QRect frmVCD::pictureArea() const
{
    return QRect(toPixels(m_panelState.ImageLeft), toPixels(m_panelState.ImageTop), toPixels(m_panelState.ImageWidth),
                 toPixels(m_panelState.ImageHeight));
}

void frmVCD::showVideoPicture(const QRect& area)
{
    // The dark ground under the video; the engine lays the media control over it.
    VcdPic->setGeometry(area);
    VcdPic->show();
    VcdPic->raise();
}

QRect frmVCD::mainWindowRect() const { return frameGeometry(); }

int frmVCD::screenClass() const { return m_panelState.ScreenClass; }

int frmVCD::screenHeight() const { return static_cast<int>(std::lround(m_panelState.ScreenHeight)); }

QString frmVCD::slideFolder() const { return FileBMP->path(); }

void frmVCD::setSlideFolder(const QString& folder) { FileBMP->setPath(folder); }

QStringList frmVCD::slidePictures() const
{
    QStringList names;
    for (int i = 0; i < FileBMP->listCount(); ++i) names << FileBMP->list(i);
    return names;
}

// The slide show's current picture is the one PicFolder names (one variable for both names).
void frmVCD::setSlidePicture(const QString& path) { m_shell.PicFolder = path; }

// The picture setting names a picture whose folder holds the pictures (or the folder itself):
// start-up and every song without pictures of its own take the same folder.
QString frmVCD::backgroundPictureFolder() const { return GetFilePath(m_set->Options().ShowPicFile); }

// ---------------------------------------------------------------- settings read by the probe

bool frmVCD::probeVideoCds() const
{
    const auto& types = m_set->Options().FileTypes;
    return types.size() >= 2 && types[1].selected;
}

bool frmVCD::autoPlayAfterSearch() const { return m_set->Options().AutoPlay == 1; }

bool frmVCD::askAboutMixedDiscs() const { return m_set->Options().GameCD == 1; }

QString frmVCD::cdromSubPath() const
{
    // The folder of the last folder search of this run: the stored one would be the
    // previous run's, and the folder search item would then search the wrong folder.
    return m_shell.SearchFolder;
}

int frmVCD::ScanMp3(const QString& path)
{
    const int count = m_songBookScan->ScanMp3(path, *m_findMusic);
    m_playback.PlayArray.clear();
    for (const QString& folder : m_songBookScan->PlayArray) m_playback.PlayArray.append(folder);
    return count;
}

void frmVCD::applySongPattern() { File1->setPattern(m_shell.SongPattern); }

void frmVCD::SaveSetData() { m_set->SaveSetData(); }

// ---------------------------------------------------------------- the song library's view

int frmVCD::driveKind() const { return m_playback.DriveKind; }

QString frmVCD::songPattern() const { return m_shell.SongPattern; }

QString frmVCD::cdromLibFile() const { return m_shell.CdromLibFile; }

QString frmVCD::musicLibFile() const { return m_shell.MusicLibFile; }

int frmVCD::historyMode() const { return m_set->Options().History; }

bool frmVCD::songBookTicked() const { return m_set->Options().SongBook == 1; }

void frmVCD::showMessage(const QString& text)
{
    setMessage(text);
    AdjLabel();
}

void frmVCD::delay(double seconds) { m_engine->Delay(seconds); }

void frmVCD::setSongBookTitle(const QString& title) { m_menu.mSele1M.caption = title; }

// ---------------------------------------------------------------- play list ticks

void frmVCD::PlayList_ItemCheck(int Item)
{
    if (PlayList->isHidden() || Item < 0 || Item >= PlayList->count()) return;  // filling the list
    const bool ticked = PlayList->item(Item)->checkState() == Qt::Checked;
    QStringList captions;
    for (const QLabel* label : m_panel->obj().LabNum) captions << label->text();
    for (int i : LabelsShowingEntry(captions, Item)) m_panel->obj().LabNum[i]->setEnabled(ticked);
    MenuModel::element(m_menu.mSeleItem1, Item).enabled = ticked;
}
