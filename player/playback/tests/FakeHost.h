#pragma once

#include "LyricList.h"
#include "MciWnd.h"
#include "PlaybackHost.h"

#include <QDir>
#include <QMap>
#include <QRect>
#include <QVector>
#include <QVariant>
#include <QStringList>
#include <memory>

// A lyric list kept in memory.
class MemoryLyricList : public LyricList
{
public:
    QStringList items;
    int current = -1;
    int count() const override { return int(items.size()); }
    QString item(int index) const override { return items.value(index); }
    void clear() override { items.clear(); current = -1; }
    void addItem(const QString &text) override { items << text; }
    int currentIndex() const override { return current; }
    void setCurrentIndex(int index) override { current = index; }
};

// The main window as a recorder of what the engine shows.
class FakeHost : public PlaybackHost
{
public:
    QString messageText;
    QStringList messages;            // every non-empty text set on Label1
    QString messageTip;
    MessagePointer pointer = MessagePointer::Cross;
    QString labels[3];
    bool labelEnabled[3] = {true, true, true};
    QString labelTips[3];
    SeekBarGeometry bar{1000, 3000, 200};
    double knob = -1;
    int chkLabCalls = 0;
    int markedKey = -2;
    bool padLoaded = true;
    int playKeyFace = -1;
    bool slideShow = false;
    int slideSteps = 0;
    bool songListShown = true;
    bool onTop = false;
    bool enabled = true;
    bool visible = true;
    int taskState = 0;
    QString taskCaption;
    bool quickSongMenu = true;
    bool playListMenu = true;
    QString seekEntry = QStringLiteral("1  Min");
    int volumeBar = -1;
    EndOfDisc endChoice = Repeat;
    QString songDir;
    int createDirs = 0;
    QString program = QStringLiteral("/nonexistent-program-folder");
    QStringList prompts;             // "kind|prompt" of every ShowMsg
    int answer = 7;                  // No
    int beeps = 0;
    MemoryLyricList lyrics;
    std::unique_ptr<MciWnd> control = std::make_unique<MciWnd>();

    QString message() const override { return messageText; }
    void setMessage(const QString &text) override
    {
        messageText = text;
        if (!text.isEmpty())
            messages << text;
    }
    void repaintMessage() override {}
    void setMessageToolTip(const QString &text) override { messageTip = text; }
    void setMessagePointer(MessagePointer p) override { pointer = p; }
    void bringMessageToFront() override {}
    void AdjLabel() override {}
    QString timeLabel(int i) const override { return labels[i]; }
    void setTimeLabel(int i, const QString &text) override { labels[i] = text; }
    bool timeLabelEnabled(int i) const override { return labelEnabled[i]; }
    void setTimeLabelEnabled(int i, bool on) override { labelEnabled[i] = on; }
    void setTimeLabelToolTip(int i, const QString &text) override { labelTips[i] = text; }
    void setTimeLabelVisible(int, bool) override {}
    SeekBarGeometry seekBarGeometry() const override { return bar; }
    void setKnobLeft(double left) override { knob = left; }
    void ChkLab(bool) override { ++chkLabCalls; }
    void ChkLabColor(int index) override { markedKey = index; }
    bool numberPadLoaded() const override { return padLoaded; }
    void setPlayKeyFace(int face) override { playKeyFace = face; }
    void hideBackPicture() override {}
    void hideVideoPicture() override {}
    void clearPictureArea() override {}
    void Image1ADJ() override { ++slideSteps; }
    void setSlideShowEnabled(bool on) override { slideShow = on; }
    LyricList &songList() override { return lyrics; }
    bool songListVisible() const override { return songListShown; }
    void setSongListVisible(bool v) override { songListShown = v; }
    void setOnTop(bool on) override { onTop = on; }
    void setMousePointer(int) override {}
    bool mainEnabled() const override { return enabled; }
    void setMainEnabled(bool on) override { enabled = on; }
    bool mainVisible() const override { return visible; }
    void setMainVisible(bool v) override { visible = v; }
    int taskWindowState() const override { return taskState; }
    void setTaskWindowState(int s) override { taskState = s; }
    void setTaskCaption(const QString &text) override { taskCaption = text; }
    MciWnd *mainMci() override { return control.get(); }
    void setQuickSongMenuEnabled(bool on) override { quickSongMenu = on; }
    void setPlayListMenuEnabled(bool on) override { playListMenu = on; }
    QString checkedSeekEntry() const override { return seekEntry; }
    void setVolumeBar(int percent) override { volumeBar = percent; }
    EndOfDisc endOfDiscChoice() const override { return endChoice; }
    QString songTempDir() const override { return songDir; }
    int creatSongDir() const override { return createDirs; }
    QString programFolder() const override { return program; }
    int ShowMsg(const QString &prompt, const QString &kind) override
    {
        prompts << kind + QLatin1Char('|') + prompt;
        return answer;
    }
    void beep() override { ++beeps; }

    // Probe, file playback and capture.
    bool pictureVisible = true;
    QMap<int, QString> controlTips;
    bool pictureShown = false;
    QRect area;
    QRect videoPicture;
    QSize cutPicture;
    QRect mainRect{0, 0, 300, 400};
    int screenWide = 1024;
    int screenHigh = 768;
    bool captureMenus = false;
    QStringList playListItems;
    int playListChecked = -1;
    QStringList folderSongs;        // File1 after UpdateMenu
    QString songPattern = QStringLiteral("*.mp3");
    QStringList mp3Menus;           // "index popUp" of every ChkMp3Menu
    QString slidePath;
    QString slidePicture;
    QString background;
    bool videoCds = true;
    bool autoPlay = false;
    bool askMixed = false;
    QString subPath;
    QStringList scanned;            // paths handed to ScanMp3
    QVector<QVariant> scanResult;   // what ScanMp3 puts into the play array
    QVector<QVariant> *playArray = nullptr;
    int patternApplied = 0;
    int saveSetDataCalls = 0;

    void setPictureAreaVisible(bool on) override { pictureVisible = on; }
    void setControlToolTip(int key, const QString &text) override { controlTips[key] = text; }
    bool pictureAreaShown() const override { return pictureShown; }
    QRect pictureArea() const override { return area; }
    void showVideoPicture(const QRect &place) override { videoPicture = place; }
    void setCutPictureSize(int w, int h) override { cutPicture = QSize(w, h); }
    QRect mainWindowRect() const override { return mainRect; }
    int screenClass() const override { return screenWide; }
    int screenHeight() const override { return screenHigh; }
    void setCaptureMenusEnabled(bool on) override { captureMenus = on; }
    void setPlayListItems(const QStringList &captions, int checked) override
    {
        playListItems = captions;
        playListChecked = checked;
    }
    int UpdateMenu(const QString &folder) override
    {
        folderSongs = QDir(folder).entryList({songPattern}, QDir::Files, QDir::Name);
        return int(folderSongs.size());
    }
    QString songListEntry(int index) const override { return folderSongs.value(index); }
    void ChkMp3Menu(int index, bool popUp) override
    {
        mp3Menus << QString::number(index) + (popUp ? QStringLiteral(" popup") : QStringLiteral(" quiet"));
    }
    QString slideFolder() const override { return slidePath; }
    void setSlideFolder(const QString &folder) override { slidePath = folder; }
    QStringList slidePictures() const override
    {
        return slidePath.isEmpty() ? QStringList() : QDir(slidePath).entryList({"*.jpg", "*.bmp"}, QDir::Files);
    }
    void setSlidePicture(const QString &file) override { slidePicture = file; }
    QString backgroundPictureFolder() const override { return background; }
    bool probeVideoCds() const override { return videoCds; }
    bool autoPlayAfterSearch() const override { return autoPlay; }
    bool askAboutMixedDiscs() const override { return askMixed; }
    QString cdromSubPath() const override { return subPath; }
    int ScanMp3(const QString &path) override
    {
        scanned << path;
        if (playArray)
            *playArray = scanResult;
        return int(scanResult.size());
    }
    void applySongPattern() override { ++patternApplied; }
    void SaveSetData() override { ++saveSetDataCalls; }
};
