#pragma once
// A carrying window, folders and panel art for the panel engine's tests.

#include "ButtonColorSettings.h"
#include "PanelForm.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "LoadedMedia.h"

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

class TestHost : public PanelHost
{
public:
    TestHost() { form.setWindowFlags(Qt::FramelessWindowHint); }
    QWidget *panelWidget() override { return &form; }
    LoadedMedia &loadedMedia() override { return playback; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
    QString mciSendString(const QString &command) override
    {
        mciCommands << command;
        return QString();
    }
    void deskPicFileChanged(const QString &path) override { shownDeskPic = path; }

    QWidget form;
    LoadedMedia playback;
    QStringList mciCommands;
    QString shownDeskPic;
};

// Where screenshots of the tests go.
QString testOutputFolder();
// The window as the screen shows it: what its outline cuts away is transparent.
QImage screenshot(QWidget &form);

// A fresh program folder with Skin, Button Mask and a cache folder, and a
// panel form on a test window, set up as the player sets it up.
class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A new form on a new window, sharing state and colour settings.
    void recreateForm();
    QString logText() const;
    void clearLog();

    QString skinDir() const { return state.SkinDir; }
    QString maskDir() const { return state.MaskDir; }
    QString cacheDir() const { return state.ButtonCacheDir; }

    QTemporaryDir programDir;
    PanelState state;
    ButtonColorSettings colors;
    std::unique_ptr<TestHost> host;
    std::unique_ptr<PanelForm> form;
};

// Panel art made here: a panel picture that draws a key under every key
// place of the form, and mask bitmaps.
QImage makePanelPicture(PanelObjects &obj, int width, int height);
// A round mask: key colour black around, grey 128 inside, a white rim.
QImage makeRoundMask(int size);
bool saveMask(const QString &path, const QImage &mask);
// Gives every key the mask name, writes the mask into MaskDir.
void useMaskForAllKeys(PanelObjects &obj, const QString &maskDir, const QString &maskName);
