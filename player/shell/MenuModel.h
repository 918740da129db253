#pragma once
// The data of the player's context menu: the item arrays other parts fill and the states
// they set. The menu's handlers and its pop-up build on this.

#include <QString>
#include <QVector>

struct MenuItem
{
    MenuItem() = default;
    MenuItem(const QString& text) : caption(text) {}  // an item as the design captions it

    QString caption;
    QString tag;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
};

struct MenuModel
{
    QVector<MenuItem> mDiskC{{QStringLiteral("C:")}};            // one per drive
    MenuItem mPath{QStringLiteral("搜尋目錄")};
    MenuItem mSele1{QStringLiteral("選擇播放清單")};
    MenuItem mSele1M{QStringLiteral("選擇播放清單")};
    QVector<MenuItem> mSeleItem1{{QStringLiteral("(1)")}};
    MenuItem mSele{QStringLiteral("快速選曲")};
    QVector<MenuItem> mSeleItem{{QStringLiteral("[1]")}};
    MenuItem mSele2{QStringLiteral("選擇播放清單")};
    MenuItem mSele2M{QStringLiteral("選擇播放清單")};
    QVector<MenuItem> mSeleItem2{{QStringLiteral("<1>")}};
    MenuItem mCutBmp1{QStringLiteral("單張抓圖")};
    MenuItem mCutBmp{QStringLiteral("連續抓圖")};
    QVector<MenuItem> mSize;
    QVector<MenuItem> mDeskPic{{QStringLiteral("(1)")}};         // one per panel picture
    QVector<MenuItem> mSeek;
    QVector<MenuItem> mSpeed1{{QStringLiteral("25%")}};
    QVector<MenuItem> mVolume{{QStringLiteral("100%")}};
    int SpeedIndex = 9;

    MenuModel();
    // The load of the menu: volume items 100% down to 0%, speed items 10% to 220% with
    // 100% ticked, the play-list branches disabled and the folder song branch hidden.
    void Form_Load();

    // Element i of an array, created (with the caption given) when it does not exist yet.
    static MenuItem& element(QVector<MenuItem>& array, int i);
};
