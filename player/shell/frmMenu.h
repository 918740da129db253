#pragma once
// The player's context menu: one menu tree whose branches the panel pops up alone or whole,
// built from the menu data at each pop-up, and the handlers of its items.

#include <QObject>
#include <QPoint>
#include <QString>

class MenuHost;
class QAction;
class QMenu;
class QWidget;
struct MenuModel;
struct PanelState;
struct PlaybackState;
struct ShellState;

class frmMenu : public QObject
{
    Q_OBJECT
public:
    // The whole tree and the branches that are popped up alone.
    enum class Branch { Main, Disk, ReSize, Desk, Seek, Speed, Volume, List, Sele2 };

    frmMenu(MenuModel& model, PlaybackState& playback, PanelState& panel, ShellState& shell, MenuHost& host,
            QObject* parent = nullptr);

    // A branch as a menu, its actions wired to the handlers; the caller owns it.
    QMenu* build(Branch branch, QWidget* parent = nullptr);
    // Builds the branch and shows it at the pointer until an item is chosen or it is closed.
    void popUp(Branch branch, const QPoint& globalPos, QWidget* parent = nullptr);

    // Refreshes and pops up the branch of title button 0 to 2; other kinds do nothing.
    void ChkMenu(int kind, const QPoint& globalPos, QWidget* parent = nullptr);
    // Refreshes the drive and size branches for ChkMenu without showing them.
    bool prepareBranch(int kind);
    // Rebuilds the quick selection from a folder's song files; the number of files.
    int UpdateMenu(const QString& folder);

    // Handlers
    void mDiskC_Click(int index);
    void mPath_Click();
    void mPath1_Click();
    void mSeleItem1_Click(int index);
    void mSeleItem_Click(int index);
    void mSeleItem2_Click(int index);
    void mFindMusic_Click();
    void mReadme_Click();
    void mSize_Click(int index);
    void mDeskPic_Click(int index);
    void mTool_Click();
    void mSeek_Click(int index);
    void mSpeed1_Click(int index);
    void mVolume_Click(int index);
    void mADDList_Click();
    void mSongText_Click();
    void mCutBmp1_Click();
    void mCutBmp_Click();

    // The number at the start of a percent caption times ten, as a 16-bit value.
    static int LevelOf(const QString& caption);

private:
    void addBranch(QMenu* menu, Branch branch);

    MenuModel& m_model;
    PlaybackState& m_playback;
    PanelState& m_panel;
    ShellState& m_shell;
    MenuHost& m_host;
};
