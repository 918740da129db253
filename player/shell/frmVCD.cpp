#include "frmVCD.h"

#include "AppStore.h"
#include "Drives.h"
#include "FrmReadme.h"
#include "ListBoxes.h"
#include "LyricList.h"
#include "MciWnd.h"
#include "ModButtonIni.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModRegist.h"
#include "ModTools.h"
#include "PanelForm.h"
#include "PanelMouse.h"
#include "DiscWatcher.h"
#include "FilePlayback.h"
#include "FolderSongMenu.h"
#include "DeskDrag.h"
#include "FrmColor.h"
#include "PanelChoice.h"
#include "SlideShow.h"
#include "PlaybackEngine.h"
#include "SongBookScan.h"
#include "frmMenu.h"
#include "SettingsStore.h"
#include "SystemPaths.h"
#include "WindowData.h"
#include "WindowsAbovePlayer.h"
#include "frmFindMusic.h"
#include "frmProg.h"
#include "frmSet.h"
#include "frmSongSet.h"
#include "frmTemp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTreeWidget>
#include <cmath>

namespace {

const QString ProductLine() { return AppProduct() + QStringLiteral(".") + QString::number(AppRevision()); }

}  // namespace

frmVCD::frmVCD(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmVCD"));
    m_panelState.ProgramDir = SystemPaths::ProgramFolder();
    m_panel = std::make_unique<PanelForm>(*this, m_panelState, m_colors);
    Drive1 = new DriveListBox(this);
    Drive1->hide();
    FileBMP = new FileListBox(this);
    FileBMP->hide();
    // The other windows are top-level windows of their own: disabling the panel while a
    // dialog is open must leave the dialog usable.
    m_set = new frmSet(
        *this, m_shell, m_panelState, m_playback, [this]() -> frmFindMusic& { return *m_findMusic; },
        [this](const QString& listFile) { loadLastPlayList(listFile); });
    m_temp = new frmTemp(*this);
    new WindowsAbovePlayer(*this);  // owned by the panel: they show above it all the same
    m_menu.Form_Load();
    createMenusAndLibrary();
    createPlayback();
    createPanelHelpers();
    // Display changes (a screen's size, screens added or removed) come from the engine's watcher.
    connect(&m_engine->discWatcher(), &DiscWatcher::DisplayChanged, this, &frmVCD::SysInfo1_DisplayChanged);
}

frmVCD::~frmVCD()
{
    delete m_colorTool;
    delete m_set;
    // The editor's list reports its changes to the editor's own slots; while the editor is being
    // destroyed those slots must not run on it any more.
    if (frmSongSet* editor = m_songSet.get()) {
        editor->ListView1->model()->disconnect(editor);
        editor->ListView1->disconnect(editor);
        delete editor;
    }
    delete m_findMusic.get();
    delete m_readme;
}

void frmVCD::createPlayback()
{
    VcdPic = new QLabel(this);
    VcdPic->setObjectName(QStringLiteral("VcdPic"));
    // A black ground from the palette: a style sheet would load the style sheet engine at start.
    VcdPic->setAutoFillBackground(true);
    QPalette black = VcdPic->palette();
    black.setColor(QPalette::Window, Qt::black);
    VcdPic->setPalette(black);
    VcdPic->hide();
    MCIWnd1 = new MciWnd(VcdPic);  // the video lies in its ground, at its top left corner
    MCIWnd1->setObjectName(QStringLiteral("MCIWnd1"));
    MCIWnd1->hide();
    SongList = new QListWidget(this);
    SongList->setObjectName(QStringLiteral("SongList"));
    SongList->hide();
    PlayList = new QListWidget(this);
    PlayList->setObjectName(QStringLiteral("PlayList"));
    PlayList->hide();
    connect(PlayList, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { PlayList_ItemCheck(PlayList->row(item)); });
    m_lyrics = std::make_unique<ListWidgetLyricList>(SongList);
    m_engine = std::make_unique<PlaybackEngine>(m_playback, *this);
    m_engine->connectControl(MCIWnd1);

    m_mouse = std::make_unique<PanelMouse>(*m_panel, m_playback, m_menu, *this);
    m_mouse->setLists(SongList, PlayList);
    m_mouse->install();
}

void frmVCD::createMenusAndLibrary()
{
    File1 = new FileListBox(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->hide();
    m_frmMenu = std::make_unique<frmMenu>(m_menu, m_playback, m_panelState, m_shell, *this);
    m_songBookScan = std::make_unique<SongBookScan>(*this);
    m_folderSongMenu = std::make_unique<FolderSongMenu>();
    m_entryMenu = new QMenu(this);
    connect(m_folderSongMenu.get(), &FolderSongMenu::songChosen, this, [this](int index, const QString& folder) {
        m_menu.mSele2M.caption = folder;
        m_frmMenu->mSeleItem2_Click(index);
    });
}

void frmVCD::createPanelHelpers()
{
    m_slides = std::make_unique<SlideShow>(*m_panel, *FileBMP, TimerBMP, m_shell.PicFolder);
    m_slides->playerMinimized = [this] { return m_temp->WindowState() == 1; };
    m_slides->followsPlayTime = [this] {
        const PlayerOptions& o = m_set->Options();
        return o.ShowPic == 1 && o.ShowMode == 1;
    };
    m_choice = std::make_unique<PanelChoice>(*m_panel);
    m_choice->deskMenuChanged = [this](const QVector<DeskMenuEntry>& entries) { showDeskMenu(entries); };
    m_deskDrag = std::make_unique<DeskDrag>(*m_panel);
    m_colorCanvas = std::make_unique<ColorToolCanvas>(*m_panel);
}

frmFindMusic* frmVCD::makeFindMusic()
{
    auto* window = new frmFindMusic;
    m_set->findMusicBuilt(*window);
    return window;
}

frmSongSet* frmVCD::makeSongSet()
{
    auto* editor = new frmSongSet;
    connect(editor, &frmSongSet::closed, this, [this] { setEnabled(true); });
    showLastPlayList(*editor);
    return editor;
}

void frmVCD::loadLastPlayList(const QString& listFile)
{
    m_lastPlayList = LastPlayList{listFile, frmSongSet::ReadListRows(listFile)};
    if (frmSongSet* editor = m_songSet.get()) showLastPlayList(*editor);
}

void frmVCD::showLastPlayList(frmSongSet& editor)
{
    if (!m_lastPlayList) return;
    editor.CurListFile = m_lastPlayList->file;
    if (m_lastPlayList->rows) editor.ShowListRows(m_lastPlayList->file, *m_lastPlayList->rows);
    editor.Command13->setToolTip(m_lastPlayList->file);
    m_lastPlayList.reset();
}

frmSet& frmVCD::settings()
{
    m_set->buildWindow();
    return *m_set;
}

FrmColor& frmVCD::colorTool()
{
    // It shows the colour settings as they stand when it is built, and follows them after.
    if (!m_colorTool) m_colorTool = new FrmColor(*m_colorCanvas);
    return *m_colorTool;
}

FrmReadme& frmVCD::readme()
{
    if (!m_readme) m_readme = new FrmReadme;
    return *m_readme;
}

bool frmVCD::readmeShown() const { return m_readme && m_readme->isVisible(); }

void frmVCD::SysInfo1_DisplayChanged()
{
    if (!m_ended) ScreenResize();
}

void frmVCD::ShowSettings()
{
    m_set->buildWindow();
    FrmCenter(m_set);
    FormOnTop(this, false);
    m_set->show();
    m_set->raise();
    setEnabled(false);
}

// ---------------------------------------------------------------- playback engine calls

void frmVCD::playbackCheckCdrom(bool autoPlay) { m_engine->CheckCdrom(autoPlay); }

void frmVCD::playbackShowPoint() { m_engine->ShowPoint(); }

void frmVCD::playbackVCDResize() { m_engine->filePlayback().VCDResize(); }

void frmVCD::playbackDelay(double seconds) { m_engine->Delay(seconds); }

void frmVCD::playbackStopMedia() { m_engine->StopMedia(); }

void frmVCD::playbackResetMedia() { m_engine->ResetMedia(); }

// ---------------------------------------------------------------- start

double frmVCD::screenWidthTwips() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return (s ? s->geometry().width() : 1024) * twipsPerPixelX();
}

double frmVCD::screenHeightTwips() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return (s ? s->geometry().height() : 768) * twipsPerPixelY();
}

bool frmVCD::Start()
{
    m_playback.BusyFlag = true;
    m_panelState.ScreenClass = static_cast<qint16>(std::lround(screenWidthTwips() / twipsPerPixelX()));
    m_panelState.ScreenHeight = screenHeightTwips() / twipsPerPixelY();
    if (!checkPanelFolders()) {
        m_ended = true;
        return false;
    }
    // One wait pointer for the whole start: the caller may have set it already, and a second
    // one on the stack would be loaded and shown for an instant as the start ends.
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
    buildMenusAndSettings();
    readWindowState();
    layOutPanel();
    showAndProbe();
    finishStart();
    return true;
}

bool frmVCD::checkPanelFolders()
{
    WriteLog(QStringLiteral("檢查面板目錄"));
    const QString program = SystemPaths::ProgramFolder();
    m_panelState.SkinDir = program + QStringLiteral("/Skin");
    MakeDir(m_panelState.SkinDir);
    m_panelState.MaskDir = program + QStringLiteral("/Button Mask");
    MakeDir(m_panelState.MaskDir);

    QStringList names;
    int count = ScanFIleA(m_panelState.SkinDir + QStringLiteral("/*.Jpg"), names, 0);
    count = ScanFIleA(m_panelState.SkinDir + QStringLiteral("/*.Bmp"), names, count);
    count = ScanFIleA(m_panelState.SkinDir + QStringLiteral("/*.Gif"), names, count);
    if (count > 0) return true;
    WriteLog(QStringLiteral("找不到面板?"));
    QApplication::beep();
    ::ShowMsg(QStringLiteral("找不到任何面板,請將面板放在\r\n") + m_panelState.SkinDir + QStringLiteral("目錄下"),
            QStringLiteral("error"));
    return false;
}

void frmVCD::buildMenusAndSettings()
{
    // The panel menu is filled once its screen class is known, by readWindowState's ScreenResize.
    for (int i = 0; i < Drive1->listCount(); ++i) {
        MenuItem& item = MenuModel::element(m_menu.mDiskC, i);
        item.caption = Drive1->list(i);
        item.tag = Drives::DriveOfEntry(Drive1->list(i));
    }
    m_panelState.Zoom = 1;
    QApplication::changeOverrideCursor(Qt::BusyCursor);

    WriteLog(QStringLiteral("設定面板選單"));
    m_set->Form_Load();

    // The picture area starts from the first picture of the picture folder.
    const QString pictureFolder = backgroundPictureFolder();
    FileBMP->setPattern(QStringLiteral("*.bmp;*.gif;*.jpg"));
    if (!pictureFolder.isEmpty() && !DirEx(pictureFolder + QStringLiteral("/")).isEmpty()) {
        FileBMP->setPath(pictureFolder);
        if (FileBMP->listCount() > 0) {
            FileBMP->setListIndex(0);
            m_shell.PicFolder = AddPath(FileBMP->path(), FileBMP->list(0));
        }
    }
}

void frmVCD::readWindowState()
{
    hide();
    m_playback.NaturalWidth = 354;
    m_playback.NaturalHeight = 242;
    WriteLog(QStringLiteral("讀取設定"));
    ReadFormData();
    MakeDir(m_panelState.ButtonCacheDir);

    m_playback.StoppedFlag = false;
    m_panelState.PressOffsetX = 1;
    m_panelState.PressOffsetY = 1;
    m_playback.VideoBorderWidth = 8;
    m_playback.VideoBorderHeight = 27;
    m_playback.PlaySpeed = 1000;
    m_playback.VideoFirstSizing = true;
    ScreenResize();
}

void frmVCD::layOutPanel()
{
    PanelObjects& obj = m_panel->obj();
    obj.setFormPicture(QImage());
    setAutoFillBackground(false);
    m_panelState.PixelScale = twipsPerPixelX() / 15.0;
    if (obj.Label3.size() > 1) {
        obj.Label3[0]->move(14, 12);
        obj.Label3[1]->move(obj.Label3[0]->x() + 1, obj.Label3[0]->y() + 1);
    }
    obj.FormResize();

    // The built-in layout is written afresh at every start.
    m_panelState.ButtonIniFile = m_panelState.SkinDir + QStringLiteral("/Button.ini");
    IniFile = m_panelState.ButtonIniFile;
    SaveButtonIni(*m_panel);
    QApplication::processEvents();

    WriteLog(QStringLiteral("物件初始化"));
    obj.InitObj(false);
    if (m_panelState.DeskPicFile.isEmpty())
        m_panelState.DeskPicFile = SystemPaths::ProgramFolder() + QStringLiteral("/Desk/Quorvel.JPG");
    m_panel->ChkDeskName();
    m_panel->prefetchDeskPicture();  // decoded while the definition is read
    if (FileExist(m_panelState.DeskIniFile)) {
        IniFile = m_panelState.DeskIniFile;
        ReadButtonIni(*m_panel, true);
    }

    WriteLog(QStringLiteral("開始載入面板及按鈕"));
    m_panel->DeskUpdate(false);
    WriteLog(QStringLiteral("面板及按鈕載入完成"));
}

void frmVCD::showAndProbe()
{
    m_playback.KnobHeld = false;
    m_playback.SeekPos = 0;
    m_playback.MediaLength = 0;
    m_playback.TrackIndex = 0;
    m_playback.MediaCount = 0;
    playbackShowPoint();
    show();
    playbackVCDResize();
    WriteLog(QStringLiteral("參數設定"));
    // Nothing to capture until a video plays: before the probe, which may start one at once.
    setCaptureMenusEnabled(false);
    startupProbe();
    playbackShowPoint();
}

void frmVCD::finishStart()
{
    // The task-bar entry is the panel window itself (frmTemp): nothing to place.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    WriteLog(QStringLiteral("進入主程式"));
    m_playback.CutFile = AddPath(m_playback.CutFolder, QStringLiteral("Cut0000.BMP"));
    m_panelState.LabColor.clear();
    for (QLabel* label : m_panel->obj().LabNum) m_panelState.LabColor.append(label->palette().color(QPalette::WindowText));
    m_playback.BusyFlag = false;
    m_engine->discWatcher().start();
}

void frmVCD::startupProbe()
{
    const PlayerOptions& options = m_set->Options();
    const QString chosenDrive = options.DiskName;
    switch (options.ScanType) {
    case 0:
        playbackDelay(0.1);
        showMessageLine(QStringLiteral("讀取光碟資訊中..."));
        m_set->FindCDROM();
        m_playback.DriveKind = static_cast<qint16>(Drives::DriveType(m_playback.CdDrive));
        playbackCheckCdrom(true);
        break;
    case 1:
        showMessageLine(QStringLiteral("讀取指定裝置資訊中..."));
        m_playback.CdDrive = chosenDrive;
        m_playback.DriveKind = static_cast<qint16>(Drives::DriveType(m_playback.CdDrive));
        playbackCheckCdrom(true);
        break;
    case 2:
        m_playback.CdDrive = chosenDrive;
        m_playback.DriveKind = static_cast<qint16>(Drives::DriveType(m_playback.CdDrive));
        showMessageLine(QStringLiteral("自動搜尋關閉中,請按光碟鈕開始搜尋") + m_playback.CdDrive);
        m_panel->obj().AdjLabel();
        break;
    default:
        break;  // no option of the group is set: nothing is probed
    }
}

// ---------------------------------------------------------------- panel choice

int frmVCD::ScanFIleA(const QString& pathPattern, QStringList& names, int start)
{
    return PanelChoice::ScanFIleA(pathPattern, names, start);
}

void frmVCD::showDeskMenu(const QVector<DeskMenuEntry>& entries)
{
    // Items beyond the list keep what they hold: menu items are never removed.
    for (int i = 0; i < entries.size(); ++i) {
        MenuItem& item = MenuModel::element(m_menu.mDeskPic, i);
        item.tag = entries[i].Tag;
        item.caption = entries[i].Caption;
        item.enabled = entries[i].Enabled;
    }
}

int frmVCD::ScreenClassOf(int widthPixels, int heightPixels)
{
    return PanelChoice::ScreenClassOf(widthPixels, heightPixels);
}

void frmVCD::ScreenResize() { m_choice->ScreenResize(); }

// ---------------------------------------------------------------- window data

void frmVCD::ReadFormData()
{
    const WindowData d = WindowDataRules::read(AppOptionStore(), {m_playback.NaturalWidth, m_playback.NaturalHeight},
                                               SystemPaths::ProgramFolder());
    m_panelState.DeskPicFile = d.DeskPic;
    m_playback.CutPicFile = d.CutPic;
    m_playback.VideoWidth = d.Width;
    m_playback.VideoHeight = d.Height;
    m_playback.CaptureWidth = d.CutWidth;
    m_playback.CaptureHeight = d.CutHeight;
    for (int i = 0; i < ButtonColorSettings::BarCount; ++i) m_colors.setVScroll1(i, 0);
    m_playback.VolumeLevel = static_cast<qint16>(d.Volume);
    m_shell.SearchFolder.clear();
    m_shell.SearchDrive = d.SearchDrive;
    m_menu.mPath.caption =
        FixLen(m_menu.mPath.caption, 9) + QStringLiteral(" ") + m_shell.SearchDrive + m_shell.SearchFolder;
}

void frmVCD::SaveFormData()
{
    WindowData d;
    d.DeskPic = m_panelState.DeskPicFile;
    d.CutPic = m_playback.CutPicFile;
    d.Width = m_playback.VideoWidth;
    d.Height = m_playback.VideoHeight;
    d.CutWidth = static_cast<int>(m_playback.CaptureWidth);
    d.CutHeight = m_playback.CaptureHeight;
    for (int i = 0; i < 4; ++i) d.ColourBars[i] = m_colors.VScroll1(i);
    d.Volume = m_playback.VolumeLevel;
    d.SearchFolder = m_shell.SearchFolder;
    d.SearchDrive = m_shell.SearchDrive;
    // A key that cannot be saved is told to the user by the store (one box for all of them);
    // the log keeps it too, since the user may be gone by the time the box would be read.
    bool saved = true;
    const OptionStore store{{}, [&saved](const QString& key, const QString& value) {
                                saved = SaveAppSetting(key, value) && saved;
                            }};
    WindowDataRules::write(store, d);
    if (!saved) WriteLog(QStringLiteral("無法儲存設定:") + SettingsStore::fileName(AppCompany(), AppProduct()));
}

// ---------------------------------------------------------------- shut-down

void frmVCD::CloseForm()
{
    if (m_ended) return;
    WriteLog(QStringLiteral("儲存個人參數"));
    SaveFormData();
    WriteLog(QStringLiteral("關閉媒體控制介面"));
    playbackStopMedia();
    SetAudioCDPlay(GetSavedAudioCDPlay());
    WriteLog(QStringLiteral("釋放所有物件"));
    colorTool().CloseMe();
    m_panel->obj().DeskPic.Picture = QImage();
    WriteLog(QStringLiteral("退出") + ProductLine());
    UnloadAllForms();
}

void frmVCD::UnloadAllForms()
{
    m_temp->UnloadRequested = true;
    // Every other window first, in the order of the player's window list; then the panel.
    for (QWidget* w : {static_cast<QWidget*>(m_findMusic.get()), static_cast<QWidget*>(m_panel->progressIfBuilt()),
                       static_cast<QWidget*>(m_readme), static_cast<QWidget*>(m_set),
                       static_cast<QWidget*>(m_songSet.get())})
        if (w) w->hide();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this) w->hide();
    QuitPlayer();
}

void frmVCD::QuitPlayer()
{
    playbackResetMedia();
    endProgram();
}

void frmVCD::endProgram()
{
    m_ended = true;
    hide();
    // Ends the event loop; outside one (an end during the start) the entry routine sees ended().
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

void frmVCD::closeEvent(QCloseEvent* event)
{
    if (m_ended || m_temp->UnloadRequested) {
        event->accept();
        return;
    }
    // Closed from outside (task bar, window manager, session end). The line says so, and
    // nothing the user set is lost: the window data and the autoplay command are kept.
    WriteLog(QStringLiteral("不正常關閉") + ProductLine());
    SaveFormData();
    SetAudioCDPlay(GetSavedAudioCDPlay());
    QuitPlayer();
    event->accept();
}

void frmVCD::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) m_temp->Form_Resize();
}

// ---------------------------------------------------------------- placement

QPointF frmVCD::FrmCenterPlace(double screenWidth, double screenHeight, double mainWidth, double formWidth,
                               double formHeight)
{
    const double freeWidth = screenWidth - mainWidth;
    double left = 0;
    if (formWidth > freeWidth)
        left = std::floor((screenWidth - formWidth) / 2);
    else
        left = mainWidth + std::floor((freeWidth - formWidth) / 2);
    const double top = std::floor(screenHeight - formHeight) / 2;
    return {left, top};
}

void frmVCD::FrmCenter(QWidget* form)
{
    if (!form) return;
    // A window never sized has no size of its own yet; one that was shown keeps the size it
    // has (a hidden window's size hint is its children's extent, smaller than its own size).
    if (!form->isVisible() && !form->testAttribute(Qt::WA_Resized)) form->adjustSize();
    const QPointF place = FrmCenterPlace(screenWidthTwips(), screenHeightTwips(), formWidthTwips(),
                                         form->frameGeometry().width() * twipsPerPixelX(),
                                         form->frameGeometry().height() * twipsPerPixelY());
    form->move(static_cast<int>(std::lround(place.x() / twipsPerPixelX())),
               static_cast<int>(std::lround(place.y() / twipsPerPixelY())));
}

// ---------------------------------------------------------------- hosts

void frmVCD::deskPicFileChanged(const QString& path) { m_set->setDeskPic(path); }

void frmVCD::showMessageLine(const QString& text)
{
    QLabel* line = m_panel->obj().Label1;
    line->setText(text);
    line->repaint();
}

void frmVCD::setPictureInterval(int milliseconds)
{
    // A running timer takes the new interval from now on. An interval of 0 never fires: the
    // slide show pauses (a QTimer at 0 ms would fire on every pass of the event loop) and goes
    // on with the song when an interval is set again.
    TimerBMP.stop();
    TimerBMP.setInterval(qMax(0, milliseconds));
    if (m_slideTimerEnabled && milliseconds > 0) TimerBMP.start();
}

void frmVCD::applyPictureArea() { m_panel->obj().Image1->setVisible(m_panelState.ImageVisible); }

void frmVCD::clearPictureArea()
{
    m_panel->obj().Image1->clear();
    m_panel->obj().Image1->hide();
}

void frmVCD::enableMainWindow() { setEnabled(true); }

void frmVCD::rebuildButtonFaces() { m_panel->DeskUpdate(true); }

frmProg* frmVCD::progressWindow() { return &m_panel->progress(); }

void frmVCD::centreDialog(QWidget* dialog) { FrmCenter(dialog); }
