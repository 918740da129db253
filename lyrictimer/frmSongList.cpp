#include "frmSongList.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

frmSongList::frmSongList(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("歌詞"));
    m_title = new QLabel(QStringLiteral("歌名"), this);
    m_singer = new QLabel(QStringLiteral("主唱:"), this);
    m_songList = new QListWidget(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_singer);
    layout->addWidget(m_songList, 1);
    resize(360, 420);
}
