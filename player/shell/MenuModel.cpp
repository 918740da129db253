#include "MenuModel.h"

MenuModel::MenuModel()
{
    for (const char* c : {"原始畫面一半", "原始畫面大小", "原始畫面 1.5倍", "原始畫面 2 倍", "全      螢      幕"})
        mSize.append(MenuItem(QString::fromUtf8(c)));
    for (const char* c : {"1   Frame", "5   Frame", "10 Frame", "0.5 Sec", "1  Sec", "2  Sec", "3  Sec", "5 Sec",
                          "10 Sec", "20 Sec", "30 Sec", "1  Min", "2  Min", "3  Min", "5  Min", "10  Min"})
        mSeek.append(MenuItem(QString::fromLatin1(c)));
    mSeek[11].checked = true;
    mSele1.enabled = false;
    mSele.enabled = false;
    mSele2.visible = false;
}

MenuItem& MenuModel::element(QVector<MenuItem>& array, int i)
{
    while (array.size() <= i) array.append(MenuItem{});
    return array[i];
}

void MenuModel::Form_Load()
{
    for (int j = 0; j <= 10; ++j) {
        MenuItem& item = element(mVolume, j);
        item.caption = QString::number(100 - j * 10) + QStringLiteral("%");
        item.visible = true;
    }
    for (int j = 0; j <= 21; ++j) {
        MenuItem& item = element(mSpeed1, j);
        item.caption = QString::number(10 + j * 10) + QStringLiteral("%");
        item.visible = true;
        item.checked = (j == 9);
    }
    SpeedIndex = 9;
    mSele1.enabled = false;
    mSele.enabled = false;
    mSele2.visible = false;
}
