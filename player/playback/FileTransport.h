#pragma once

#include <QString>

// File playback as the track and clock routines call it: video files, songs
// of a folder or play list, and their transport commands. The file-playback
// part of the engine implements it; tests record the calls.
class FileTransport
{
public:
    virtual ~FileTransport() = default;
    virtual void PlayVCD(const QString &file) = 0;
    virtual void PlayMp3(const QString &folder, int song) = 0;
    virtual void ChkVCD(int code) = 0;
    virtual void ChkMP3(int code) = 0;
};
