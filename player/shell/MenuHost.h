#pragma once
// What the context menu's handlers ask of the player: the playback engine's operations, the
// windows of the song library, the panel engine and the settings dialog, and the few system
// services a menu item starts. The main window carries them out; tests record them.

#include <QString>
#include <QStringList>
#include <functional>

class MenuHost
{
public:
    virtual ~MenuHost() = default;

    // Playback engine
    virtual void CheckCdrom(bool autoPlay) = 0;
    virtual void PlayMp3(const QString& folder, int track) = 0;
    virtual void PlayMp31() = 0;
    virtual void SetVolume() = 0;
    virtual void ChkVCDSize() = 0;
    // The speed of both media window controls, the video window's and the main window's.
    virtual void setControlSpeed(int speed) = 0;
    // Device type of the media control in use ("" with none).
    virtual QString activeDeviceType() const = 0;
    virtual bool videoWindowVisible() const = 0;
    virtual void captureFrame(bool continuous) = 0;

    // Windows of other parts
    virtual void DeskShow() = 0;
    virtual void ShowSettings() = 0;
    virtual void SongBookManager() = 0;
    virtual void PrintLyrics() = 0;
    // The folder picker opened on a folder with a file pattern; "" when cancelled.
    virtual QString chooseFolder(const QString& startFolder, const QString& pattern) = 0;
    // The play-list file last used (the setting "ListFile", by default "unknow.m3u" in the
    // song folder).
    virtual QString lastListFile() const = 0;
    // Runs the play-list editor for a play list and waits until it closes; the entries it
    // handed over (none after "放棄").
    virtual QStringList runPlayListEditor(const QString& listFile) = 0;
    virtual void addToPlayListEditor(const QString& fileName, const QString& folder) = 0;
    // The play list of the main window, every entry ticked.
    virtual void fillPlayList(const QStringList& entries) = 0;
    // The volume shown on the settings dialog's bar and in the third time label.
    virtual void showVolumePercent(int percent) = 0;

    // System
    virtual int driveType(const QString& drive) const = 0;
    virtual QStringList songFilesIn(const QString& folder) const = 0;
    // Opens a document with the desktop's program for it; cannotOpen runs later when nothing
    // could open it.
    virtual void openDocument(const QString& path, std::function<void()> cannotOpen) = 0;
    virtual void writeLog(const QString& line) = 0;
};
