#pragma once

#include "Clock.h"
#include "FakeHost.h"
#include "FileTransport.h"
#include "MciCommand.h"
#include "MediaBackend.h"
#include "PlaybackEngine.h"
#include "PlaybackState.h"
#include "SimulatedDisc.h"
#include "SimulatedMedia.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// File playback as a list of calls, each with the busy flag it met.
class RecordingFiles : public FileTransport
{
public:
    explicit RecordingFiles(PlaybackState &state) : m_state(state) {}
    QStringList calls;
    QList<bool> busyDuringCall;
    void PlayVCD(const QString &file) override { record(QStringLiteral("PlayVCD ") + file); }
    void PlayMp3(const QString &folder, int song) override
    {
        record(QStringLiteral("PlayMp3 ") + folder + QLatin1Char(' ') + QString::number(song));
    }
    void ChkVCD(int code) override { record(QStringLiteral("ChkVCD ") + QString::number(code)); }
    void ChkMP3(int code) override { record(QStringLiteral("ChkMP3 ") + QString::number(code)); }

private:
    void record(const QString &call)
    {
        calls << call;
        busyDuringCall << m_state.BusyFlag;
    }
    PlaybackState &m_state;
};

// A simulated three-track audio CD (3:00, 2:00, 1:30) in the player's drive,
// virtual time, and every command string recorded.
class EngineTest : public ::testing::Test
{
protected:
    VirtualClock clock;
    QTemporaryDir temp;
    PlaybackState state;
    FakeHost host;
    RecordingFiles files{state};
    std::unique_ptr<PlaybackEngine> engine;
    QStringList commands;
    QString discFolder;

    void SetUp() override
    {
        setMediaBackend(MediaBackend::Simulated);
        setMediaClock(&clock);
        mciResetDevices();
        simulatedDisc().setSpinUpMs(0);
        simulatedDisc().insertAudioDisc({180000, 120000, 90000});
        setMciCommandObserver([this](const QString &command, int, const QString &) { commands << command; });

        host.songDir = temp.filePath("Temp");
        discFolder = host.songDir + "/1A2B-3C4D";
        QDir().mkpath(discFolder);
        state.CdDrive = "/media/cdrom";
        state.DriveKind = 5;
        state.MediaKind = "CDAudio";
        state.MediaCount = 3;

        engine = std::make_unique<PlaybackEngine>(state, host);
        engine->setFileTransport(&files);
        engine->setVolumeSerialSource([](const QString &) { return QStringLiteral("1a2b3c4d"); });
    }

    void TearDown() override
    {
        setMciCommandObserver({});
        engine.reset();
        host.control->setFileName(QString());
        mciResetDevices();
        simulatedDisc().removeDisc();
        SimulatedMediaFiles::clear();
        setMediaClock(nullptr);
    }

    void writeLyric(const QString &name, const QByteArray &bytes)
    {
        QFile file(discFolder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    int count(const QString &command) const { return int(commands.count(command)); }
};
