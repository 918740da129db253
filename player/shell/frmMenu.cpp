#include "frmMenu.h"

#include "MenuHost.h"
#include "MenuModel.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "PanelState.h"
#include "PlaybackState.h"
#include "ShellState.h"
#include "SystemPaths.h"
#include "VbRuntime.h"

#include <QAction>
#include <QMenu>
#include <functional>

namespace {

// Menu texts show "&" as it stands, not as a shortcut mark.
QString menuText(const QString& caption) { return QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&")); }

QAction* addItem(QMenu* menu, const MenuItem& item, const std::function<void()>& handler = {})
{
    if (!item.visible) return nullptr;
    if (item.caption == QLatin1String("-")) return menu->addSeparator();
    QAction* action = menu->addAction(menuText(item.caption));
    action->setEnabled(item.enabled);
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
    if (handler) QObject::connect(action, &QAction::triggered, menu, [handler] { handler(); });
    return action;
}

// A header repeats its branch's caption so that a branch popped up alone shows its title.
void addHeader(QMenu* menu, const QString& caption)
{
    menu->addAction(menuText(caption));
    menu->addSeparator();
}

QMenu* addSubMenu(QMenu* menu, const MenuItem& item)
{
    if (!item.visible) return nullptr;
    QMenu* sub = menu->addMenu(menuText(item.caption));
    sub->setEnabled(item.enabled);
    return sub;
}

void addArray(QMenu* menu, const QVector<MenuItem>& items, const std::function<void(int)>& handler)
{
    for (int i = 0; i < items.size(); ++i) addItem(menu, items[i], [handler, i] { handler(i); });
}

}  // namespace

frmMenu::frmMenu(MenuModel& model, PlaybackState& playback, PanelState& panel, ShellState& shell, MenuHost& host,
                 QObject* parent)
    : QObject(parent), m_model(model), m_playback(playback), m_panel(panel), m_shell(shell), m_host(host)
{
}

// ---------------------------------------------------------------- the tree

QMenu* frmMenu::build(Branch branch, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    addBranch(menu, branch);
    return menu;
}

void frmMenu::addBranch(QMenu* menu, Branch branch)
{
    MenuModel& m = m_model;
    switch (branch) {
    case Branch::Main:
        menu->setTitle(QStringLiteral("主清單"));
        addBranch(menu->addMenu(QStringLiteral("播放選單")), Branch::Disk);
        addBranch(menu->addMenu(QStringLiteral("畫面尺寸")), Branch::ReSize);
        addBranch(menu->addMenu(QStringLiteral("更換面版")), Branch::Desk);
        addItem(menu, MenuItem(QStringLiteral("設定參數")), [this] { mTool_Click(); });
        addBranch(menu->addMenu(QStringLiteral("前進/後退")), Branch::Seek);
        addBranch(menu->addMenu(QStringLiteral("播放速度")), Branch::Speed);
        addBranch(menu->addMenu(QStringLiteral("音量控制")), Branch::Volume);
        addBranch(menu->addMenu(QStringLiteral("播放清單")), Branch::List);
        break;
    case Branch::Disk: {
        QMenu* drives = menu->addMenu(QStringLiteral("搜尋裝置"));
        addArray(drives, m.mDiskC, [this](int i) { mDiskC_Click(i); });
        addItem(menu, m.mPath, [this] { mPath_Click(); });
        menu->addSeparator();
        addItem(menu, MenuItem(QStringLiteral("清單檔播放(m3u)")), [this] { mPath1_Click(); });
        menu->addSeparator();
        if (QMenu* lists = addSubMenu(menu, m.mSele1)) {
            addHeader(lists, m.mSele1M.caption);
            addArray(lists, m.mSeleItem1, [this](int i) { mSeleItem1_Click(i); });
        }
        if (QMenu* quick = addSubMenu(menu, m.mSele)) {
            addHeader(quick, QStringLiteral("快速選曲"));
            addArray(quick, m.mSeleItem, [this](int i) { mSeleItem_Click(i); });
        }
        if (QMenu* songs = addSubMenu(menu, m.mSele2)) addBranch(songs, Branch::Sele2);
        menu->addSeparator();
        addItem(menu, MenuItem(QStringLiteral("歌詞列印")), [this] { mSongText_Click(); });
        addItem(menu, MenuItem(QStringLiteral("歌本管理")), [this] { mFindMusic_Click(); });
        menu->addSeparator();
        addItem(menu, MenuItem(QStringLiteral("說明文件")), [this] { mReadme_Click(); });
        break;
    }
    case Branch::Sele2:
        addHeader(menu, m.mSele2M.caption);
        addArray(menu, m.mSeleItem2, [this](int i) { mSeleItem2_Click(i); });
        break;
    case Branch::ReSize:
        addHeader(menu, QStringLiteral("畫面尺寸"));
        addItem(menu, m.mCutBmp1, [this] { mCutBmp1_Click(); });
        addItem(menu, m.mCutBmp, [this] { mCutBmp_Click(); });
        menu->addSeparator();
        addArray(menu, m.mSize, [this](int i) { mSize_Click(i); });
        break;
    case Branch::Desk:
        addHeader(menu, QStringLiteral("更換面版"));
        addArray(menu, m.mDeskPic, [this](int i) { mDeskPic_Click(i); });
        break;
    case Branch::Seek:
        addHeader(menu, QStringLiteral("前進/後退"));
        addArray(menu, m.mSeek, [this](int i) { mSeek_Click(i); });
        break;
    case Branch::Speed:
        addHeader(menu, QStringLiteral("播放速度"));
        addArray(menu, m.mSpeed1, [this](int i) { mSpeed1_Click(i); });
        break;
    case Branch::Volume:
        addHeader(menu, QStringLiteral("音量控制"));
        addArray(menu, m.mVolume, [this](int i) { mVolume_Click(i); });
        break;
    case Branch::List:
        addHeader(menu, QStringLiteral("播放清單"));
        addItem(menu, MenuItem(QStringLiteral("加入清單中")), [this] { mADDList_Click(); });
        addItem(menu, MenuItem(QStringLiteral("由清單中刪除")));  // has no action
        break;
    }
}

void frmMenu::popUp(Branch branch, const QPoint& globalPos, QWidget* parent)
{
    QMenu* menu = build(branch, parent);
    menu->exec(globalPos);
    menu->deleteLater();
}

bool frmMenu::prepareBranch(int kind)
{
    switch (kind) {
    case 0:
        for (MenuItem& item : m_model.mDiskC) {
            item.visible = true;
            const QString drive = item.tag.isEmpty() ? item.caption : item.tag;
            item.checked = !m_playback.CdDrive.isEmpty() && drive == m_playback.CdDrive;
        }
        return true;
    case 1: {
        const bool videoShown = m_host.videoWindowVisible();
        for (MenuItem& item : m_model.mSize) {
            item.visible = true;
            item.enabled = videoShown;
        }
        return true;
    }
    case 2:
        for (MenuItem& item : m_model.mDeskPic) item.visible = true;
        return true;
    default:
        return false;
    }
}

void frmMenu::ChkMenu(int kind, const QPoint& globalPos, QWidget* parent)
{
    if (!prepareBranch(kind)) return;
    static const Branch branches[] = {Branch::Disk, Branch::ReSize, Branch::Desk};
    popUp(branches[kind], globalPos, parent);
}

int frmMenu::UpdateMenu(const QString& folder)
{
    // A folder that cannot be listed counts as one without songs: the list stays as it was.
    const QStringList files = m_host.songFilesIn(folder);
    const int n = static_cast<int>(files.size());
    for (int i = 0; i < n; ++i) {
        MenuItem& item = MenuModel::element(m_model.mSeleItem, i);
        item.caption = QStringLiteral("<") + ZeroFill(i + 1, 2) + QStringLiteral(">") + files[i];
        item.checked = false;
        item.visible = true;
    }
    if (n > 0) {
        for (int i = n; i < m_model.mSeleItem.size(); ++i) m_model.mSeleItem[i].visible = false;
        const int song = static_cast<int>(m_playback.SongIndex);
        if (song >= 0 && song < m_model.mSeleItem.size()) m_model.mSeleItem[song].checked = true;
    }
    return n;
}

// ---------------------------------------------------------------- drives and folders

void frmMenu::mDiskC_Click(int index)
{
    if (index < 0 || index >= m_model.mDiskC.size()) return;
    const MenuItem& item = m_model.mDiskC[index];
    m_shell.SearchFolder.clear();
    m_playback.CdDrive = item.tag.isEmpty() ? item.caption : item.tag;
    m_playback.VcdDir = AddPath(m_playback.CdDrive, QStringLiteral("Mpegav"));
    m_playback.DriveKind = static_cast<qint16>(m_host.driveType(m_playback.CdDrive));
    m_host.CheckCdrom(true);
}

void frmMenu::mPath_Click()
{
    const QString start = m_model.mPath.caption.mid(10);
    const QString chosen = m_host.chooseFolder(start, m_shell.SongPattern);
    if (chosen.isEmpty()) return;
    m_playback.MixedDisc = false;
    m_playback.CdDrive = GetDrive(chosen);
    m_shell.SearchDrive = m_playback.CdDrive;
    m_shell.SearchFolder = CutDrive(chosen);
    // Drive and folder joined whole: the folder may be several levels deep.
    const QString place = BelowDrive(m_shell.SearchDrive, m_shell.SearchFolder);
    m_model.mPath.caption = FixLen(m_model.mPath.caption, 9) + QStringLiteral(" ") + place;
    m_playback.VcdDir = AddPath(m_playback.CdDrive, QStringLiteral("Mpegav"));
    m_playback.DriveKind = static_cast<qint16>(m_host.driveType(m_playback.CdDrive));
    m_host.CheckCdrom(true);
}

void frmMenu::mPath1_Click()
{
    const QString listFile = m_host.lastListFile();
    const QStringList entries = m_host.runPlayListEditor(listFile);
    m_playback.ListEntryCount = int(entries.size());
    if (entries.isEmpty()) return;  // "放棄" or an empty list: nothing plays, the menu stays
    m_playback.MixedDisc = false;
    m_model.mSele1M.caption = QStringLiteral("清單檔:") + listFile;
    m_playback.PlayArray.clear();
    for (const QString& entry : entries) m_playback.PlayArray.append(entry);
    m_playback.MediaCount = int(entries.size());
    m_host.fillPlayList(entries);
    m_host.PlayMp31();
}

// ---------------------------------------------------------------- songs

void frmMenu::mSeleItem1_Click(int index)
{
    if (index < 0 || index >= m_playback.PlayArray.size()) return;
    m_playback.SongIndex = 0;
    m_playback.TrackIndex = index;
    m_host.PlayMp3(m_playback.PlayArray[index].toString(), 0);
}

void frmMenu::mSeleItem_Click(int index)
{
    const int entry = static_cast<int>(m_playback.TrackIndex);
    if (entry < 0 || entry >= m_playback.PlayArray.size()) return;
    m_playback.SongIndex = index;
    m_host.PlayMp3(m_playback.PlayArray[entry].toString(), index);
}

void frmMenu::mSeleItem2_Click(int index)
{
    m_playback.SongIndex = index;
    const int count = std::min<int>(m_playback.MediaCount, m_playback.PlayArray.size());
    for (int k = 0; k < count; ++k) {
        if (m_playback.PlayArray[k].toString() == m_model.mSele2M.caption) {
            m_playback.TrackIndex = k;
            break;
        }
    }
    const int entry = static_cast<int>(m_playback.TrackIndex);
    if (entry < 0 || entry >= m_playback.PlayArray.size()) return;
    m_host.PlayMp3(m_playback.PlayArray[entry].toString(), index);
}

void frmMenu::mADDList_Click()
{
    if (m_playback.CurMediaFile.isEmpty()) return;  // nothing plays: no empty row
    m_host.addToPlayListEditor(GetFileName(m_playback.CurMediaFile), GetFilePath(m_playback.CurMediaFile));
}

// ---------------------------------------------------------------- windows

void frmMenu::mFindMusic_Click() { m_host.SongBookManager(); }

void frmMenu::mSongText_Click() { m_host.PrintLyrics(); }

void frmMenu::mCutBmp1_Click() { m_host.captureFrame(false); }

void frmMenu::mCutBmp_Click() { m_host.captureFrame(true); }

void frmMenu::mTool_Click() { m_host.ShowSettings(); }

void frmMenu::mReadme_Click()
{
    const QString readme = AddPath(SystemPaths::ProgramFolder(), QStringLiteral("readme.htm"));
    if (!FileExist(readme))
        ShowMsg(QStringLiteral("找不到說明文件:\r\n") + readme, QStringLiteral("exc"));
    else  // told when no program on this desktop opens it
        m_host.openDocument(readme, [readme] {
            ShowMsg(QStringLiteral("無法開啟說明文件:\r\n") + readme, QStringLiteral("exc"));
        });
}

void frmMenu::mDeskPic_Click(int index)
{
    if (index < 0 || index >= m_model.mDeskPic.size() || m_model.mDeskPic[index].tag.isEmpty()) return;
    m_panel.DeskPicFile = m_model.mDeskPic[index].tag;
    m_host.writeLog(QStringLiteral("更換面板為") + m_panel.DeskPicFile);
    m_host.DeskShow();
}

// ---------------------------------------------------------------- video size, seek, speed, volume

void frmMenu::mSize_Click(int index)
{
    static const double factors[] = {0.5, 1, 1.5, 2, 0};
    if (index < 0 || index > 4) return;
    m_playback.VideoWidth = factors[index] * m_playback.NaturalWidth;
    m_playback.VideoHeight = factors[index] * m_playback.NaturalHeight;
    if (m_playback.VideoWidth == 0) {
        m_playback.VideoWidth = m_panel.ScreenClass;
        m_playback.VideoHeight = m_panel.ScreenHeight;
    }
    m_host.ChkVCDSize();
}

void frmMenu::mSeek_Click(int index)
{
    if (index < 0 || index >= m_model.mSeek.size()) return;
    for (MenuItem& item : m_model.mSeek) item.checked = false;
    m_model.mSeek[index].checked = true;
}

int frmMenu::LevelOf(const QString& caption)
{
    return Vb::toInt16Or(Vb::RoundHalfEven(Vb::Val(caption) * 10), 0);
}

void frmMenu::mSpeed1_Click(int index)
{
    if (index < 0 || index >= m_model.mSpeed1.size()) return;
    if (m_model.SpeedIndex >= 0 && m_model.SpeedIndex < m_model.mSpeed1.size())
        m_model.mSpeed1[m_model.SpeedIndex].checked = false;
    m_model.SpeedIndex = index;
    // The engine's speed follows, so that its faster and slower keys step on from here.
    m_playback.PlaySpeed = static_cast<qint16>(LevelOf(m_model.mSpeed1[index].caption));
    m_host.setControlSpeed(m_playback.PlaySpeed);
    m_model.mSpeed1[index].checked = true;
}

void frmMenu::mVolume_Click(int index)
{
    if (index < 0 || index >= m_model.mVolume.size()) return;
    for (MenuItem& item : m_model.mVolume) item.checked = false;
    m_playback.VolumeLevel = static_cast<qint16>(std::max(0, LevelOf(m_model.mVolume[index].caption)));
    if (!m_host.activeDeviceType().toUpper().contains(QLatin1String("SEQ"))) m_host.SetVolume();
    m_host.showVolumePercent(m_playback.VolumeLevel / 10);
}
