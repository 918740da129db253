// The main window drives the playback engine: a simulated audio CD in an optical drive is
// probed, played and stopped through the panel's keys, on virtual time.

#include "ShellTestSupport.h"

#include "Clock.h"
#include "Drives.h"
#include "MediaBackend.h"
#include "PanelForm.h"
#include "PanelMouse.h"
#include "PlaybackEngine.h"
#include "SimulatedDisc.h"
#include "frmVCD.h"

#include <QCoreApplication>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

class PlaybackWiringTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString program = ShellTest::freshWorld();
        ShellTest::addPanel(program);
        setMediaBackend(MediaBackend::Simulated);
        setMediaClock(&clock);
        Drives::SetSource(std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{
            {"/", "/dev/sda1", "", Drives::TypeFixed, true},
            {"/dev/sr0", "/dev/sr0", "", Drives::TypeOptical, false},
        }));
        simulatedDisc().insertAudioDisc({180000, 200000, 240000});
    }

    void TearDown() override
    {
        simulatedDisc().removeDisc();
        setMediaClock(nullptr);
    }

    // Lets virtual time run in steps, with the events each step raises.
    void run(qint64 ms)
    {
        for (qint64 t = 0; t < ms; t += 100) {
            clock.advance(100);
            QCoreApplication::processEvents();
        }
    }

    VirtualClock clock;
};

}  // namespace

TEST_F(PlaybackWiringTest, TitleButtonZeroProbesTheDiscAndTheControlBarStopsAndPlaysIt)
{
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.playback().CdDrive = "/dev/sr0";
    vcd.mouse().PicButton_MouseDown(0, PanelMouse::Left, 0, 1, 1);
    vcd.mouse().PicButton_MouseUp(0, PanelMouse::Left, 0, 1, 1);
    EXPECT_EQ(vcd.playback().MediaKind, "CDAudio");
    EXPECT_EQ(vcd.playback().MediaCount, 3);
    run(3000);
    const QString playing = vcd.panel().obj().Label2[0]->text();
    EXPECT_NE(playing, "00:00:00");

    vcd.mouse().PicCtl_MouseDown(1, PanelMouse::Left, 0, 1, 1);
    vcd.mouse().PicCtl_MouseUp(1, PanelMouse::Left, 0, 1, 1);  // stop
    run(1000);
    const QString stopped = vcd.panel().obj().Label2[0]->text();
    run(3000);
    EXPECT_EQ(vcd.panel().obj().Label2[0]->text(), stopped);

    vcd.mouse().PicCtl_MouseDown(0, PanelMouse::Left, 0, 1, 1);
    vcd.mouse().PicCtl_MouseUp(0, PanelMouse::Left, 0, 1, 1);  // play
    run(3000);
    EXPECT_NE(vcd.panel().obj().Label2[0]->text(), stopped);
    EXPECT_FALSE(vcd.playback().BusyFlag);
    vcd.CloseForm();
}
