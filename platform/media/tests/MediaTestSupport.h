#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <ostream>

#include <functional>

// Helpers shared by the media tests.

// Makes a media file with ffmpeg from lavfi sources; returns false (and the
// test should be skipped) when ffmpeg is not installed.
bool makeMediaWithFfmpeg(const QStringList &arguments, const QString &output);

// Makes a video-CD image (folder/vcd.cue and vcd.bin) of one MPEG-1 track per
// entry of seconds, made by ffmpeg and vcdimager; each track shows a moving
// test picture with a tone. Returns the .cue path, or an empty text (with the
// reason in *why) when the tools failed.
QString makeVideoCdImage(const QString &folder, const QList<double> &seconds, QString *why);

// Damage done to a video-CD image, as seen on damaged discs.
enum class VideoCdDamage {
    RecordOfLengthOne,    // the root folder's first record claims a length of 1
    RootOf4GB,            // the volume descriptor gives the root folder a size of 4 GB
    FolderOf4GB,          // the root's record of the MPEGAV folder gives it a size of 4 GB
    FolderOfFFBytes,      // the MPEGAV folder's sector is all 0xFF bytes
    RecordPastItsSector,  // the root's record of MPEGAV ends its sector, its length claiming more
    EndsInItsLastTrack,   // the image ends half way through its last track
    FirstTrackPastTheEnd, // the first track's record places it past the end of the disc
    FirstTrackOfSizeZero, // the first track's record gives it no bytes
    FirstTrackOfSizeOne,  // the first track's record gives it one byte
};
// The damages that leave no file system to read (all but the short image and a record past
// its sector, which only the reader's own test needs).
inline const QList<VideoCdDamage> kUnreadableFileSystems{VideoCdDamage::RecordOfLengthOne, VideoCdDamage::RootOf4GB,
                                                          VideoCdDamage::FolderOf4GB, VideoCdDamage::FolderOfFFBytes};
// The damages that leave the first track unplayable and the others good.
inline const QList<VideoCdDamage> kDamagedFirstTracks{VideoCdDamage::FirstTrackPastTheEnd,
                                                      VideoCdDamage::FirstTrackOfSizeZero,
                                                      VideoCdDamage::FirstTrackOfSizeOne};
const char *damageName(VideoCdDamage damage);

// A copy of the video-CD image at cue (a .cue beside its .bin, as
// makeVideoCdImage makes it) in folder, damaged. Returns the copy's .cue
// path, or an empty text when it could not be made.
QString damagedVideoCdImage(const QString &cue, const QString &folder, VideoCdDamage damage);

// The 2048 data bytes of sector of a video-CD image's data track (Mode 2
// Form 1 sectors of 2352 bytes in its .bin), read or replaced.
QByteArray imageSector(const QString &cue, int sector);
bool setImageSector(const QString &cue, int sector, const QByteArray &data);

// Makes an audio-CD image (folder/audio.cue and audio.bin) of one tone track
// per entry of seconds (whole sectors of 1/75 s), made by ffmpeg. Returns the
// .cue path, or an empty text (with the reason in *why).
QString makeAudioCdImage(const QString &folder, const QList<double> &seconds, QString *why);

// Waits up to ms of real time, letting events run, until done() holds.
bool waitUntil(const std::function<bool()> &done, int ms);

// A QApplication for widget tests (made once per test program).
void ensureApplication();

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
