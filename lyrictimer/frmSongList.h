#pragma once

#include <QWidget>

class QLabel;
class QListWidget;

// The separate lyric window (caption "歌詞"): the lyric lines of the medium
// with the labels "歌名" and "主唱:". It has no behaviour of its own.
class frmSongList : public QWidget
{
    Q_OBJECT
public:
    explicit frmSongList(QWidget *parent = nullptr);

    QListWidget *SongList() const { return m_songList; }

private:
    QLabel *m_title;
    QLabel *m_singer;
    QListWidget *m_songList;
};
