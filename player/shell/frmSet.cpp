#include "frmSet.h"

#include "AppStore.h"
#include "Drives.h"
#include "ListBoxes.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "PanelState.h"
#include "PlaybackState.h"
#include "SettingsHost.h"
#include "ShellState.h"
#include "SystemPaths.h"
#include "frmFindMusic.h"
#include "frmProg.h"
#include "frmSeleDir.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

QCheckBox* newCheck(const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    return box;
}

void setCheckValue(QCheckBox* box, int value)
{
    box->setTristate(value == 2);
    box->setCheckState(value == 2 ? Qt::PartiallyChecked : value == 1 ? Qt::Checked : Qt::Unchecked);
}

int checkValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

// Chooses one button of a group, or none (-1).
void setGroupChoice(QButtonGroup* group, const QVector<QRadioButton*>& buttons, int chosen)
{
    group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i) buttons[i]->setChecked(i == chosen);
    group->setExclusive(true);
}

int groupChoice(const QVector<QRadioButton*>& buttons)
{
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked()) return i;
    return -1;
}

QGroupBox* optionFrame(const QString& caption, const QStringList& captions, QVector<QRadioButton*>& buttons,
                       QButtonGroup*& group, QWidget* parent)
{
    auto* frame = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(frame);
    group = new QButtonGroup(frame);
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QRadioButton(captions[i], frame);
        buttons << b;
        group->addButton(b, i);
        layout->addWidget(b);
    }
    return frame;
}

}  // namespace

frmSet::frmSet(SettingsHost& host, ShellState& shell, PanelState& panel, PlaybackState& playback,
               std::function<frmFindMusic&()> findMusic, std::function<void(const QString&)> lastPlayList,
               QWidget* parent)
    : QDialog(parent), m_host(host), m_shell(shell), m_panel(panel), m_playback(playback),
      m_findMusic(std::move(findMusic)), m_lastPlayList(std::move(lastPlayList))
{
    setObjectName(QStringLiteral("frmSet"));
    setWindowTitle(QStringLiteral("設定組態"));
    setModal(false);
    // The hidden lists serve start (the drive list) and the context menu; the dialog's own
    // controls are built when it is first shown.
    Drive1 = new DriveListBox(this);
    Dir1 = new DirListBox(this);
    Drive1->hide();
    Dir1->hide();
    File1 = new FileListBox(this);
    File1->hide();
}

void frmSet::buildWindow()
{
    if (ProgressBar1) return;
    buildControls();
    // What loading put into the controls: the devices listed then, the volume, the options.
    if (m_deviceEntries) Combo1->addItems(*m_deviceEntries);
    if (m_volumeBar >= 0) showVolumeBar();
    if (m_loaded) showOptions(m_options);
}

void frmSet::findMusicBuilt(frmFindMusic& window)
{
    m_findMusicBuilt = &window;
    connect(&window, &frmFindMusic::closed, this, [this] {
        setEnabled(true);
        if (!isVisible()) m_host.enableMainWindow();
    });
    connect(&window, &frmFindMusic::unloaded, this, &frmSet::SaveSetData);
    setCheckValue(window.Check1, m_options.AutoNum);
    setCheckValue(window.Check2, m_options.DiscVol);
}

QWidget* frmSet::folderRow(const QString& caption, QLineEdit*& box, QPushButton*& button)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    box = new QLineEdit(row);
    if (!caption.isEmpty()) {
        auto* label = new QLabel(caption, row);
        label->setBuddy(box);  // the box is named by its caption, also for screen readers
        layout->addWidget(label);
    }
    button = new QPushButton(QStringLiteral(".."), row);
    button->setFixedWidth(32);
    layout->addWidget(box, 1);
    layout->addWidget(button);
    return row;
}

void frmSet::buildControls()
{
    auto* grid = new QGridLayout(this);

    // Volume
    auto* volume = new QGroupBox(QStringLiteral("主通道音量"), this);
    auto* volumeLayout = new QHBoxLayout(volume);
    ProgressBar1 = new QProgressBar(volume);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    Label4 = new QLabel(volume);
    volumeLayout->addWidget(ProgressBar1, 1);
    volumeLayout->addWidget(Label4);
    grid->addWidget(volume, 0, 0, 1, 2);

    // Folders and files
    grid->addWidget(folderRow(QStringLiteral("工作中面版"), Text6, Command7), 1, 0, 1, 2);
    grid->addWidget(folderRow(QStringLiteral("按鈕快取目錄"), Text2, Command4), 2, 0, 1, 2);
    grid->addWidget(folderRow(QStringLiteral("抓圖目錄"), Text7, Command9), 3, 0, 1, 2);
    auto* songRow = new QWidget(this);
    auto* songLayout = new QHBoxLayout(songRow);
    songLayout->setContentsMargins(0, 0, 0, 0);
    Check3 = newCheck(QStringLiteral("自動建立歌詞影射目錄"), songRow);
    Check3->setToolTip(QStringLiteral("補捉光諜中用過的歌詞"));
    songLayout->addWidget(Check3);
    songLayout->addWidget(folderRow(QString(), Text5, Command6), 1);
    grid->addWidget(songRow, 4, 0, 1, 2);

    // File types
    auto* types = new QGroupBox(QStringLiteral("搜尋檔案類型"), this);
    auto* typesLayout = new QGridLayout(types);
    List1 = new QListWidget(types);
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    Text4 = new QLineEdit(types);
    Text4->setEnabled(false);
    typesLayout->addWidget(List1, 0, 0, 1, 4);
    typesLayout->addWidget(Text4, 1, 0, 1, 4);
    const QString typeButtons[4] = {QStringLiteral("加入"), QStringLiteral("刪除"), QStringLiteral("確定"),
                                    QStringLiteral("取消")};
    for (int i = 0; i < 4; ++i) {
        Command5[i] = new QPushButton(typeButtons[i], types);
        typesLayout->addWidget(Command5[i], 2, i);
        connect(Command5[i], &QPushButton::clicked, this, [this, i] { Command5_Click(i); });
    }
    Command5[2]->hide();
    Command5[3]->hide();
    grid->addWidget(types, 5, 0, 3, 1);

    // Option groups, two by two, and the device
    auto* right = new QGridLayout;
    right->addWidget(optionFrame(QStringLiteral("起動模式"),
                                 {QStringLiteral("起動時,從光碟機中搜尋"), QStringLiteral("搜尋指定裝置"),
                                  QStringLiteral("不要搜尋,我自給來")},
                                 Option1, m_groups[0], this),
                     0, 0);
    right->addWidget(optionFrame(QStringLiteral("當整片光碟撥放完畢時"),
                                 {QStringLiteral("重複撥放"), QStringLiteral("自動退片"), QStringLiteral("停止撥放")},
                                 Option2, m_groups[1], this),
                     0, 1);
    right->addWidget(optionFrame(QStringLiteral("秀圖設定"),
                                 {QStringLiteral("對著歌詞更換圖片"), QStringLiteral("定時更換圖片(秒)")}, Option3,
                                 m_groups[2], this),
                     1, 0);
    right->addWidget(optionFrame(QStringLiteral("CDROM 歌本"),
                                 {QStringLiteral("自動"), QStringLiteral("詢問"), QStringLiteral("不使用")}, Option4,
                                 m_groups[3], this),
                     1, 1);
    auto* device = new QGroupBox(QStringLiteral("指定裝置:"), this);
    auto* deviceLayout = new QVBoxLayout(device);
    Combo1 = new QComboBox(device);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    deviceLayout->addWidget(Combo1);
    right->addWidget(device, 2, 0, 1, 2);
    grid->addLayout(right, 5, 1, 3, 1);

    // Check boxes and the picture interval
    auto* checks = new QGridLayout;
    Check1 = newCheck(QStringLiteral("自動更換背景圖片"), this);
    Check2 = newCheck(QStringLiteral("光碟機進片自動撥放"), this);
    Check4 = newCheck(QStringLiteral("目錄明細檔作成"), this);
    Check5 = newCheck(QStringLiteral("搜尋後自動撥放"), this);
    Check6 = newCheck(QStringLiteral("MTV模式"), this);
    Check7 = newCheck(QStringLiteral("檢查混合光碟(Game CD)"), this);
    checks->addWidget(Check1, 0, 0);
    checks->addWidget(Check2, 0, 1);
    checks->addWidget(Check4, 1, 0);
    checks->addWidget(Check5, 1, 1);
    checks->addWidget(Check6, 2, 0);
    checks->addWidget(Check7, 2, 1);
    VScroll1 = new QScrollBar(Qt::Horizontal, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setRange(0, 30);
    Text3 = new QLineEdit(this);
    Text3->setReadOnly(true);
    Text3->setFixedWidth(40);
    auto* interval = new QLabel(QStringLiteral("換圖間隔(秒)"), this);
    interval->setBuddy(VScroll1);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(interval);
    intervalRow->addWidget(VScroll1, 1);
    checks->addLayout(intervalRow, 3, 0);
    checks->addWidget(Text3, 3, 1);
    grid->addLayout(checks, 8, 0, 1, 2);
    grid->addWidget(folderRow(QStringLiteral("背景圖片目錄"), Text1, Command1), 9, 0, 1, 2);

    // Commands
    auto* commands = new QHBoxLayout;
    Command10 = new QPushButton(QStringLiteral("清除按鈕快取"), this);
    Command8 = new QPushButton(QStringLiteral("歌本管理"), this);
    Command2 = new QPushButton(QStringLiteral("確定"), this);
    Command3 = new QPushButton(QStringLiteral("取消"), this);
    Label2 = new QLabel(this);
    commands->addWidget(Command10);
    commands->addWidget(Command8);
    commands->addWidget(Label2, 1);
    commands->addWidget(Command2);
    commands->addWidget(Command3);
    grid->addLayout(commands, 10, 0, 1, 2);
    // No button answers the Enter key: Enter in a text box (a new file type, a folder) must not
    // press whatever button happens to be first, such as the panel picture's file dialog.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);

    connect(Command2, &QPushButton::clicked, this, &frmSet::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmSet::Command3_Click);
    connect(Command10, &QPushButton::clicked, this, &frmSet::Command10_Click);
    connect(Command8, &QPushButton::clicked, this, &frmSet::Command8_Click);
    connect(Command1, &QPushButton::clicked, this,
            [this] { browseFolder(Text1, QStringLiteral("*.jpg;*.bmp;*.gif")); });
    connect(Command4, &QPushButton::clicked, this, [this] { browseFolder(Text2, QStringLiteral("*.*")); });
    connect(Command6, &QPushButton::clicked, this, [this] { browseFolder(Text5, QStringLiteral("*.*")); });
    connect(Command9, &QPushButton::clicked, this, [this] { browseFolder(Text7, QStringLiteral("*.*")); });
    connect(Command7, &QPushButton::clicked, this, &frmSet::Command7_Click);
    connect(List1, &QListWidget::currentRowChanged, this, &frmSet::List1_Click);
    connect(List1, &QListWidget::itemSelectionChanged, this, &frmSet::ChkPatten);
    connect(Check1, &QCheckBox::stateChanged, this, &frmSet::Check1_Click);
    connect(Check3, &QCheckBox::stateChanged, this, &frmSet::Check3_Click);
    for (QRadioButton* b : Option3) connect(b, &QRadioButton::toggled, this, &frmSet::Option3_Click);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmSet::VScroll1_Change);
    connect(Drive1, &DriveListBox::Change, this, &frmSet::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &frmSet::Dir1_Change);
}

// ---------------------------------------------------------------- loading

void frmSet::Form_Load()
{
    m_deviceEntries = QStringList();
    for (int i = 0; i < Drive1->listCount(); ++i) m_deviceEntries->append(Drive1->list(i));
    if (ProgressBar1) {
        Command5[0]->setEnabled(true);
        Combo1->clear();
        Combo1->addItems(*m_deviceEntries);
    }
    ReadSetData();
    m_loaded = true;
    if (ProgressBar1) ChkPatten();
}

void frmSet::ReadSetData()
{
    const OptionStore store = AppOptionStore();
    PlayerOptions o;
    m_playback.VolumeLevel = static_cast<qint16>(OptionRules::readVolume(store));
    showVolume(m_playback.VolumeLevel / 10);
    o.DeskPic = store.get(OptionKeys::DeskPic, QString());
    m_panel.DeskPicFile = o.DeskPic;
    o.FileTypes = OptionRules::readFileTypes(store);
    readFolders(store, o);
    o.ScanType = OptionRules::readGroup(store, OptionGroups::ScanType());
    o.StopMode = OptionRules::readGroup(store, OptionGroups::StopMode());
    o.ShowMode = OptionRules::readGroup(store, OptionGroups::ShowMode());
    o.History = OptionRules::readGroup(store, OptionGroups::History());
    FindCDROM();
    o.DiskName = store.get(OptionKeys::DiskName, m_playback.CdDrive);
    if (o.DiskName.isEmpty()) o.DiskName = m_playback.CdDrive;
    readChecks(store, o);
    readPictureOptions(store, o);
    m_shell.CdromLibFile = AddPath(m_shell.SongTempDir, QStringLiteral("CDROMLib.TXT"));
    m_shell.MusicLibFile = AddPath(m_shell.SongTempDir, QStringLiteral("MusicLib.TXT"));
    o.CutDelay = OptionRules::readCutDelay(store, m_host.captureDelayText());
    m_host.setCaptureDelay(o.CutDelay, static_cast<int>(-std::nearbyint(o.CutDelay.toDouble() * 10)));
    loadLastPlayList(store);
    setWindowTitle(QStringLiteral("設定組態 - Quorvel V") + VersionText());

    m_options = o;
    m_shell.SongPattern = OptionRules::ChkPatten(m_options.FileTypes);
    if (ProgressBar1) showOptions(m_options);
}

void frmSet::readFolders(const OptionStore& store, PlayerOptions& o)
{
    const QString tempFolder = SystemPaths::TempFolder();  // "C:\Temp", created here
    o.SongTempDir = SystemPaths::mapWindowsPlace(OptionRules::readFolder(store, OptionKeys::SongTempDir, tempFolder));
    m_shell.SongTempDir = o.SongTempDir;
    o.CreatSongDir = OptionRules::readCheck(store, OptionKeys::CreatSongDir, 0);
    m_shell.CreatSongDir = static_cast<qint16>(o.CreatSongDir);

    MakeDir(m_shell.SongTempDir);
    const QString windowsTemp = AddPath(GetWinDir(), QStringLiteral("Temp"));
    MakeDir(windowsTemp);
    m_shell.PlayerTempDir = AddPath(windowsTemp, QStringLiteral("Quorvel Temp"));
    MakeDir(m_shell.PlayerTempDir);

    // The first run for this user: the player never stored its options or window data.
    const bool firstRun = store.get(OptionKeys::DeskPic, QStringLiteral("\x01")) == QStringLiteral("\x01");
    o.ButtonTempDir = SystemPaths::mapWindowsPlace(
        OptionRules::readFolder(store, OptionKeys::ButtonTempDir, m_shell.PlayerTempDir));
    m_panel.ButtonCacheDir = o.ButtonTempDir;
    if (firstRun) DelTemp();
    MakeDir(m_panel.ButtonCacheDir);

    o.CutDir = SystemPaths::mapWindowsPlace(store.get(OptionKeys::CutDir, tempFolder));
    m_playback.CutFolder = o.CutDir;
    MakeDir(m_playback.CutFolder);
}

void frmSet::readChecks(const OptionStore& store, PlayerOptions& o)
{
    o.ShowPic = OptionRules::readCheck(store, OptionKeys::ShowPic, 1);
    o.AutoScan = OptionRules::readCheck(store, OptionKeys::AutoScan, 1);
    o.SongBook = OptionRules::readCheck(store, OptionKeys::SongBook, 1);
    o.AutoPlay = OptionRules::readCheck(store, OptionKeys::AutoPlay, 1);
    o.MtvMode = OptionRules::readCheck(store, OptionKeys::MtvMode, 1);
    o.GameCD = OptionRules::readCheck(store, OptionKeys::GameCD, 0);
    // The song-book window's two boxes are its own controls: they take the stored values.
    // Until that window is built its boxes hold what was read last (at first their design state).
    o.AutoNum = OptionRules::readCheck(store, OptionKeys::AutoNum,
                                       m_findMusicBuilt ? checkValue(m_findMusicBuilt->Check1) : m_options.AutoNum);
    o.DiscVol = OptionRules::readCheck(store, OptionKeys::DiscVol,
                                       m_findMusicBuilt ? checkValue(m_findMusicBuilt->Check2) : m_options.DiscVol);
    if (!m_findMusicBuilt) return;
    setCheckValue(m_findMusicBuilt->Check1, o.AutoNum);
    setCheckValue(m_findMusicBuilt->Check2, o.DiscVol);
}

void frmSet::readPictureOptions(const OptionStore& store, PlayerOptions& o)
{
    o.ShowTime = OptionRules::readShowTime(store, m_options.ShowTime);
    m_host.setPictureInterval(o.ShowTime * 1000);
    m_panel.ShowPic = o.ShowPic == 1;
    o.ShowPicFile = store.get(OptionKeys::ShowPicFile, QString());
    m_shell.PicFolder = o.ShowPicFile;
}

void frmSet::loadLastPlayList(const OptionStore& store)
{
    const QString listFile =
        store.get(OptionKeys::ListFile, AddPath(m_shell.SongTempDir, QStringLiteral("unknow.m3u")));
    m_lastPlayList(listFile);
}

QString frmSet::VersionText() { return QStringLiteral("1.1"); }

void frmSet::FindCDROM()
{
    // Every entry is examined: on this system the first entry is no floppy drive.
    for (int i = 0; i < Drive1->listCount(); ++i) {
        const QString drive = Drives::DriveOfEntry(Drive1->list(i));
        if (Drives::DriveType(drive) != Drives::TypeOptical) continue;
        m_playback.CdDrive = drive;
        m_host.showMessageLine(QStringLiteral("光碟機=") + drive);
        m_playback.VcdDir = AddPath(drive, QStringLiteral("Mpegav"));
    }
}

void frmSet::DelTemp()
{
    if (ButtonCacheFiles(m_panel.ButtonCacheDir, panelStems()).size() < 2) return;
    if (ShowMsg(QStringLiteral("第一次執行,您是否要清除舊的快取資料?"), QStringLiteral("yesno")).toInt() == 6)
        DelButtonTemp();
}

// ---------------------------------------------------------------- controls <-> options

void frmSet::showOptions(const PlayerOptions& o)
{
    Text6->setText(o.DeskPic);
    setFileTypes(o.FileTypes);
    Text5->setText(o.SongTempDir);
    setCheckValue(Check3, o.CreatSongDir);
    Check3_Click();
    Text2->setText(o.ButtonTempDir);
    Text7->setText(o.CutDir);
    setGroupChoice(m_groups[0], Option1, o.ScanType);
    setGroupChoice(m_groups[1], Option2, o.StopMode);
    setGroupChoice(m_groups[2], Option3, o.ShowMode);
    Option3_Click();
    setGroupChoice(m_groups[3], Option4, o.History);
    showDevice(o.DiskName);
    setCheckValue(Check1, o.ShowPic);
    setCheckValue(Check2, o.AutoScan);
    setCheckValue(Check4, o.SongBook);
    setCheckValue(Check5, o.AutoPlay);
    setCheckValue(Check6, o.MtvMode);
    setCheckValue(Check7, o.GameCD);
    VScroll1->setValue(o.ShowTime);
    VScroll1_Change();
    Text1->setText(o.ShowPicFile);
    Check1_Click();
    Command5[0]->show();
    Command5[1]->show();
    Command5[2]->hide();
    Command5[3]->hide();
    Text4->setEnabled(false);
    ChkPatten();
}

PlayerOptions frmSet::editedOptions() const
{
    PlayerOptions o = m_options;
    o.DeskPic = Text6->text();
    o.FileTypes = fileTypes();
    o.SongTempDir = Text5->text();
    o.CreatSongDir = checkValue(Check3);
    o.ButtonTempDir = Text2->text();
    o.CutDir = Text7->text();
    o.ScanType = groupChoice(Option1);
    o.StopMode = groupChoice(Option2);
    o.ShowMode = groupChoice(Option3);
    o.History = groupChoice(Option4);
    o.DiskName = Drives::DriveOfEntry(Combo1->currentText().trimmed());
    o.ShowPic = checkValue(Check1);
    o.AutoScan = checkValue(Check2);
    o.SongBook = checkValue(Check4);
    o.AutoPlay = checkValue(Check5);
    o.MtvMode = checkValue(Check6);
    o.GameCD = checkValue(Check7);
    o.ShowTime = VScroll1->value();
    o.ShowPicFile = Text1->text();
    return o;
}

void frmSet::setFileTypes(const QVector<FileTypeEntry>& list)
{
    const QSignalBlocker block(List1);
    List1->clear();
    for (const FileTypeEntry& e : list) {
        auto* item = new QListWidgetItem(e.text, List1);
        item->setSelected(e.selected);
    }
    List1->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
}

QVector<FileTypeEntry> frmSet::fileTypes() const
{
    QVector<FileTypeEntry> list;
    for (int i = 0; i < List1->count(); ++i) list.append({List1->item(i)->text(), List1->item(i)->isSelected()});
    return list;
}

void frmSet::showDevice(const QString& drive)
{
    int match = -1;
    for (int i = 0; i < Combo1->count(); ++i)
        if (Drives::DriveOfEntry(Combo1->itemText(i)).compare(drive, Qt::CaseInsensitive) == 0) match = i;
    if (match >= 0)
        Combo1->setCurrentIndex(match);
    else
        Combo1->setEditText(drive);  // a device not present now is kept, not lost
}

// ---------------------------------------------------------------- saving

void frmSet::SaveSetData()
{
    const OptionStore store = AppOptionStore();
    const PlayerOptions& o = m_options;
    MakeDir(m_shell.SongTempDir);

    m_panel.DeskPicFile = o.DeskPic;
    store.set(OptionKeys::DeskPic, o.DeskPic);

    store.set(OptionKeys::CreatSongDir, QString::number(o.CreatSongDir));
    m_shell.CreatSongDir = static_cast<qint16>(o.CreatSongDir);  // the lyric lookup follows at once
    store.set(OptionKeys::SongTempDir, o.SongTempDir);
    store.set(OptionKeys::ButtonTempDir, o.ButtonTempDir);
    store.set(OptionKeys::CutDir, o.CutDir);
    MakeDir(m_playback.CutFolder);

    OptionRules::writeGroup(store, OptionGroups::ScanType(), o.ScanType);
    OptionRules::writeGroup(store, OptionGroups::StopMode(), o.StopMode);
    OptionRules::writeGroup(store, OptionGroups::ShowMode(), o.ShowMode);
    OptionRules::writeGroup(store, OptionGroups::History(), o.History);

    store.set(OptionKeys::ShowPic, QString::number(o.ShowPic));
    store.set(OptionKeys::AutoScan, QString::number(o.AutoScan));
    store.set(OptionKeys::SongBook, QString::number(o.SongBook));
    store.set(OptionKeys::AutoPlay, QString::number(o.AutoPlay));
    store.set(OptionKeys::MtvMode, QString::number(o.MtvMode));
    store.set(OptionKeys::GameCD, QString::number(o.GameCD));
    if (m_findMusicBuilt) {
        m_options.AutoNum = checkValue(m_findMusicBuilt->Check1);
        m_options.DiscVol = checkValue(m_findMusicBuilt->Check2);
    }
    store.set(OptionKeys::AutoNum, QString::number(o.AutoNum));
    store.set(OptionKeys::DiscVol, QString::number(o.DiscVol));

    store.set(OptionKeys::ShowPicFile, o.ShowPicFile);
    OptionRules::writeFileTypes(store, o.FileTypes);

    store.set(OptionKeys::ShowTime, QString::number(o.ShowTime));
    m_host.setPictureInterval(o.ShowTime * 1000);

    m_playback.CdDrive = o.DiskName;
    store.set(OptionKeys::DiskName, m_playback.CdDrive);
    m_playback.VcdDir = AddPath(m_playback.CdDrive, QStringLiteral("Mpegav"));
    m_playback.DriveKind = static_cast<qint16>(Drives::DriveType(m_playback.CdDrive));

    m_panel.ShowPic = o.ShowPic == 1;
    m_host.applyPictureArea();

    m_options.CutDelay = m_host.captureDelayText();
    store.set(OptionKeys::CutDelay, m_options.CutDelay);
}

// ---------------------------------------------------------------- commands

void frmSet::Command2_Click()
{
    m_host.enableMainWindow();
    hide();
    QApplication::processEvents();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_options = editedOptions();
    m_panel.ButtonCacheDir = m_options.ButtonTempDir;
    MakeDir(m_panel.ButtonCacheDir);  // the next key faces are written there at once
    m_shell.SongPattern = OptionRules::ChkPatten(m_options.FileTypes);
    SaveSetData();
    if (m_options.ShowPic == 1) m_host.clearPictureArea();
    QApplication::restoreOverrideCursor();
    CloseForm();
}

void frmSet::Command3_Click() { CloseForm(); }

void frmSet::CloseForm()
{
    m_host.enableMainWindow();
    hide();
    if (ProgressBar1) showOptions(m_options);  // the edits are dropped: the options in force stay
}

void frmSet::closeEvent(QCloseEvent* event)
{
    CloseForm();
    event->accept();
}

void frmSet::reject() { CloseForm(); }

void frmSet::Command10_Click()
{
    DelButtonTemp();
    m_host.rebuildButtonFaces();
}

QStringList frmSet::ButtonCacheFiles(const QString& folder, const QStringList& panelStems)
{
    QStringList files;
    if (folder.isEmpty()) return files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        static const QRegularExpression cacheName(QStringLiteral("^(.+)-(\\d\\d)\\.bmp$"),
                                                  QRegularExpression::CaseInsensitiveOption);
        const auto m = cacheName.match(name);
        if (!m.hasMatch()) continue;
        for (const QString& stem : panelStems) {
            if (m.captured(1).compare(stem, Qt::CaseInsensitive) == 0) {
                files << dir.filePath(name);
                break;
            }
        }
    }
    return files;
}

QStringList frmSet::panelStems() const
{
    // The panels whose key faces the cache holds: those of the skin folder and the current one.
    QStringList stems;
    const QDir skin(m_panel.SkinDir);
    if (!m_panel.SkinDir.isEmpty())
        for (const QString& name :
             skin.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.gif")}, QDir::Files))
            stems << QFileInfo(name).completeBaseName();
    if (!m_panel.DeskPicFile.isEmpty()) stems << QFileInfo(m_panel.DeskPicFile).completeBaseName();
    return stems;
}

void frmSet::DelButtonTemp()
{
    const QStringList files = ButtonCacheFiles(m_panel.ButtonCacheDir, panelStems());
    frmProg* prog = m_host.progressWindow();
    if (prog) {
        prog->Label1->setText(QStringLiteral("正在刪除舊的快取資料中!!"));
        prog->Label2->clear();
        prog->Label3->clear();
        prog->show();
    }
    for (int i = 0; i < files.size(); ++i) {
        if (prog) {
            prog->Label2->setText(files[i]);
            prog->ProgressBar1->setValue(i * 100 / files.size());
        }
        QApplication::processEvents();
        QFile::remove(files[i]);  // a file that cannot be deleted stays
    }
    if (prog) {
        prog->hide();
        prog->Label1->setText(QStringLiteral("正在建立面板快取中"));
    }
}

void frmSet::Command8_Click()
{
    frmFindMusic& window = m_findMusic();
    m_host.centreDialog(&window);
    window.ReadDiscList(m_shell.CdromLibFile);
    window.show();
    setEnabled(false);
}

void frmSet::browseFolder(QLineEdit* box, const QString& pattern)
{
    SeleDirPath = box->text();
    SeleDirPattern = pattern;
    setEnabled(false);
    ShowSeleDir();
    setEnabled(true);
    if (!SeleDirPath.isEmpty()) box->setText(SeleDirPath);
}

void frmSet::Command7_Click()
{
    const QString current = Text6->text();
    const QString start = current.isEmpty() ? QString() : current;
    const QString chosen = QFileDialog::getOpenFileName(
        this, QString(), start, QStringLiteral("Allfile(*.jpg *.bmp);;*.jpg (*.jpg);;*.bmp (*.bmp)"));
    if (!chosen.isEmpty()) Text6->setText(chosen);
}

void frmSet::Command5_Click(int index)
{
    switch (index) {
    case 0:  // "加入"
        Command5[0]->hide();
        Command5[1]->hide();
        Command5[2]->show();
        Command5[3]->show();
        Text4->clear();
        Text4->setEnabled(true);
        Text4->setFocus();
        break;
    case 1: {  // "刪除"
        const int current = List1->currentRow();
        if (current < OptionRules::FirstDeletable) return;
        const QString prompt = List1->item(current)->text() + QStringLiteral("\r\n是否確定要刪除本格式?");
        if (ShowMsg(prompt, QStringLiteral("yesno")).toInt() != 6) return;
        delete List1->takeItem(current);
        List1->setCurrentRow(List1->count() - 1, QItemSelectionModel::NoUpdate);
        List1_Click();
        break;
    }
    case 2:  // "確定"
        if (Text4->text().trimmed().isEmpty()) {
            // An empty entry would end the list when it is read back: nothing is added.
            Command5_Click(3);
            break;
        }
        new QListWidgetItem(Text4->text(), List1);
        List1->setCurrentRow(List1->count() - 1, QItemSelectionModel::NoUpdate);
        List1_Click();
        Command5_Click(3);
        ChkPatten();  // back to browsing: the box shows the pattern again, not the new text
        break;
    case 3:  // "取消"
        Command5[2]->hide();
        Command5[3]->hide();
        Command5[0]->show();
        Command5[1]->show();
        Text4->setEnabled(false);
        break;
    }
}

void frmSet::List1_Click()
{
    const int current = List1->currentRow();
    Command5[1]->setEnabled(current >= OptionRules::FirstDeletable);
    if (current >= 0) Text4->setText(List1->item(current)->text());
    ChkPatten();
}

void frmSet::ChkPatten()
{
    // The dialog shows the pattern of its edits; the pattern in force follows "確定".
    if (!Text4->isEnabled()) Text4->setText(OptionRules::ChkPatten(fileTypes()));
}

void frmSet::Check1_Click()
{
    Text1->setEnabled(Check1->checkState() == Qt::Checked);
    Command1->setEnabled(Text1->isEnabled());
}

void frmSet::Check3_Click()
{
    const bool on = Check3->checkState() == Qt::Checked;
    Command6->setEnabled(on);
    Text5->setEnabled(on);
}

void frmSet::Option3_Click() { Check6->setEnabled(Option3.size() > 1 && Option3[1]->isChecked()); }

void frmSet::VScroll1_Change() { Text3->setText(QString::number(VScroll1->value())); }

void frmSet::Drive1_Change() { Dir1->setPath(Drive1->drive()); }

void frmSet::Dir1_Change()
{
    Dir1->hide();
    Drive1->hide();
    Text2->setText(Dir1->path());
}

void frmSet::setDeskPic(const QString& path)
{
    m_options.DeskPic = path;
    if (Text6) Text6->setText(path);
}

void frmSet::showVolume(int levelTenths) { setVolumeBar(qBound(0, levelTenths, 100)); }

void frmSet::setVolumeBar(int percent)
{
    if (percent < 0 || percent > 100) return;  // as the bar itself ignores a value off its range
    m_volumeBar = percent;
    if (ProgressBar1) showVolumeBar();
}

void frmSet::showVolumeBar()
{
    ProgressBar1->setValue(m_volumeBar);
    Label4->setText(QString::number(ProgressBar1->value()) + QStringLiteral("%"));
}
