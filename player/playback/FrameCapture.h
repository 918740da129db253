#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

class MciWnd;
class PlaybackEngine;
class frmCutSet;

// Frame capture of the playing video into bitmap files: a continuous run
// steps through the video one seek step at a time and lays the frames out as
// contact sheets of CutGrid x CutGrid cells; a single capture writes the
// frame on screen. Each frame may carry the play time. Files are numbered on
// from CutFile in the capture folder.
class FrameCapture
{
public:
    explicit FrameCapture(PlaybackEngine &engine);
    ~FrameCapture();

    // The capture settings dialog, made on first use.
    frmCutSet &cutSet();
    // The dialog's delay box (Text8) and its bar (VScroll3). Before the dialog is made the
    // values are kept and given to it when it is made, so reading the options at start does
    // not build it; the text is then the box's design text until a value was set.
    QString delayText();
    void setDelay(const QString &text, int scrollValue);

    void mCutBmp_Click();    // 連續抓圖
    void mCutBmp1_Click();   // 單張抓圖
    // Grabs the frame on screen into cell Idx (1-based; 0 a single frame)
    // and writes the sheet when it is full.
    void CutBmp(int Idx, int Grid);
    // Writes one cell (Idx 0) or the whole sheet, then numbers CutFile on.
    void SaveCutBmp(int Idx, int Grid);

    // Cell size of the sheet in pixels, taken when a continuous run starts.
    double CellWidth = 0;
    qint16 CellHeight = 0;
    qint32 SeekBefore = 0;
    double CellX = 0;
    qint16 CellY = 0;

    // Bitmaps written by the last capture, and the time stamped on each of
    // its cells in order ("" for a cell taken without a stamp).
    int filesWritten() const { return m_filesWritten; }
    const QStringList &stamps() const { return m_stamps; }
    // The sheet being filled (Picture2 of the work window).
    const QImage &sheet() const { return m_sheet; }

private:
    bool waitForSettings();
    void chooseFreeName();
    void prepareSheet(int grid);
    QImage grabFrame();
    void stampTime(QImage &frame);
    // Lets the video play briefly so that it shows the frame at its new place.
    void showNewFrame();
    void waitForSeekToLand(MciWnd *control);
    bool writeBitmap(const QImage &picture);

    PlaybackEngine &m_engine;
    std::unique_ptr<frmCutSet> m_cutSet;
    std::optional<std::pair<QString, int>> m_pendingDelay;
    QImage m_sheet;
    bool m_sheetHasCells = false;
    bool m_running = false;
    int m_filesWritten = 0;
    QStringList m_stamps;
};
