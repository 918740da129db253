#pragma once

#include "LyricList.h"
#include "MciWnd.h"
#include "PlaybackHost.h"

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
};
