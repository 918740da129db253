#pragma once

#include <QObject>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <functional>

class FileListBox;
class PanelForm;
class QLabel;
class QTimer;

// The picture area's slide show: pictures of the slide folder (FileBMP), one
// at a time, fitted into the panel's picture area with their proportions kept
// and centred on a frame (ImageBack) coloured like the panel behind it.
//
// The carrying window owns the hidden file list FileBMP, the slide timer
// TimerBMP and the shared PicFolder; the slide show works on them. It has no
// QObject parent: its owner keeps it (for instance in a unique_ptr) and ends
// it before the panel.
class SlideShow : public QObject
{
    Q_OBJECT
public:
    SlideShow(PanelForm &form, FileListBox &FileBMP, QTimer &TimerBMP, QString &PicFolder);

    // One step: shows the picture PicFolder names and prepares the next one.
    void Image1ADJ();
    // The slide timer's tick.
    void TimerBMP_Timer();
    // A click on the picture area: the next picture at once, and a running
    // timer starts its interval anew.
    void Image1_Click();

    // The player is minimised (its task-bar window is): steps show nothing.
    std::function<bool()> playerMinimized;
    // The settings ask for the picture of the play time's share (the box
    // "自動更換背景圖片" ticked and "定時更換圖片(秒)" chosen).
    std::function<bool()> followsPlayTime;

    // The size a picture is shown at in the area: never larger than the
    // area; only square pictures are also enlarged (to the area's smaller side).
    static QSizeF FitPicture(const QSizeF &picture, const QSizeF &area);
    // The entry the play-time choice names: Int(SeekPos / MediaLength * n + 1.5),
    // 0 when there is no length, at most the last entry (n - 1).
    static int playTimeEntry(double SeekPos, double MediaLength, int n);

    // The path the previous step tried to show ("" at start).
    QString LastPic;
    // The frame of the picture area; Image1 lies centred on it.
    QLabel *ImageBack = nullptr;

private:
    void setFrameVisible(bool visible);
    void choosePlayTimePicture();
    void showPicture();
    // Fits a picture of this size into the area as the panel now lays it out and shows it.
    void placePicture(const QSize &pictureSize);
    void advanceCursor();

    PanelForm &m_form;
    FileListBox &m_files;
    QTimer &m_timer;
    QString &m_picFolder;
};
