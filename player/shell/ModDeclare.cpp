#include "ModDeclare.h"

#include "EndRequests.h"
#include "FrmReadme.h"
#include "InstanceGuard.h"
#include "Leftovers.h"
#include "MediaBackend.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModRegist.h"
#include "ModTools.h"
#include "MpvRuntime.h"
#include "TestControl.h"
#include "frmTemp.h"
#include "frmVCD.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>

namespace ModDeclare {

bool ChkPrevInstance(frmVCD& form, QString* channelNotice)
{
    auto* guard = new InstanceGuard(&form);
    if (!guard->claim()) return false;
    if (channelNotice) *channelNotice = guard->notice();
    QObject::connect(guard, &InstanceGuard::comeForward, &form, [&form] {
        // The window the user sees comes forward: the readme while it holds the start.
        QWidget* front = form.readmeShown() ? static_cast<QWidget*>(&form.readme()) : &form;
        if (front == &form && form.isMinimized()) form.taskEntry().setWindowState(0);
        front->raise();
        front->activateWindow();
    });
    // Queued: a command runs from the event loop, not inside the socket's own handler, since
    // the commands let events run and the socket may go away meanwhile.
    QObject::connect(
        guard, &InstanceGuard::testCommand, &form, [&form](const QString& command) { TestControl::Run(form, command); },
        Qt::QueuedConnection);
    return true;
}

void SetMciDriver()
{
    const QString windows = GetWinDir();
    IniFile = AddPath(windows, QStringLiteral("SYSTEM.INI"));
    WriteIni(QStringLiteral("mci"), QStringLiteral("MPEGVideo"), QStringLiteral("mciqtz.drv"));
    WriteIni(QStringLiteral("mci"), QStringLiteral("CDIVideo"), QStringLiteral("mciqtz.drv"));
    IniFile = AddPath(windows, QStringLiteral("WIN.INI"));
    WriteIni(QStringLiteral("mci extensions"), QStringLiteral("dat"), QStringLiteral("MPEGVideo"));
    WriteIni(QStringLiteral("mci extensions"), QStringLiteral("mpg"), QStringLiteral("MPEGVideo"));
}

void TakeOverAudioCDPlay()
{
    const QString command = GetAudioCDPlay();
    if (command.isEmpty()) return;
    SaveAudioCDPlay(command);
    SetAudioCDPlay(QString());
}

void GiveBackAudioCDPlay() { SetAudioCDPlay(GetSavedAudioCDPlay()); }

// An end from outside while the readme waits or the main window starts: the window holds
// nothing of the user's yet (its data are not even read), so the start is left at once,
// without unwinding the waits it stands in, after the log line and the autoplay command.
[[noreturn]] void EndBeforeTheWindowRuns()
{
    WriteLog(QStringLiteral("不正常關閉") + AppProductLine());
    GiveBackAudioCDPlay();
    std::_Exit(0);
}

void PreloadMediaEngine(frmVCD& form)
{
    if (mediaBackend() != MediaBackend::Real) return;
    MpvRuntime::preload(&form, [](bool loaded) {
        if (loaded) return;
        WriteLog(QStringLiteral("無法載入媒體引擎: ") + MpvRuntime::error());
        ShowMsg(MpvRuntime::unavailableMessage(), QStringLiteral("error"));
    });
}

int Main(QApplication& app)
{
    SetAppProduct(QStringLiteral("Quorvel V1.1"));
    SetAppRevision(400);
    SetLogFileName(QStringLiteral("Quorvel.log"));

    const QString winVersion = GetWinVersion();
    SetMciDriver();

    auto* vcd = new frmVCD;
    vcd->shellState().WinVersion = winVersion;
    vcd->panelState().WinVersion = winVersion;
    QString channelNotice;
    if (!ChkPrevInstance(*vcd, &channelNotice)) {
        delete vcd;
        return 0;  // another copy runs and was asked to come forward
    }

    TakeOverAudioCDPlay();
    // From here on the system's autoplay command is ours: a kill, Ctrl+C or the end of the
    // session must give it back whenever it comes.
    EndRequests outside;
    bool running = false;
    QObject::connect(&outside, &EndRequests::requested, vcd, [vcd, &running] {
        if (running) {
            // The road of a close by the window manager: logged as such, window data kept.
            if (!vcd->ended()) vcd->close();
            return;
        }
        EndBeforeTheWindowRuns();
    });
    StartLog();
    if (!channelNotice.isEmpty()) WriteLog(QStringLiteral("單一執行通道: ") + channelNotice);
    Leftovers::removeCueAliasFolders();
    WriteLog(QStringLiteral("設定參數"));
    vcd->panelState().WidenItalic = true;

    RunReadmeGate([vcd]() -> FrmReadme& { return vcd->readme(); });

    QApplication::setOverrideCursor(Qt::WaitCursor);
    WriteLog(QStringLiteral("檢查完畢!"));
    QApplication::processEvents();
    const bool started = vcd->Start();
    if (!started) GiveBackAudioCDPlay();  // no panel: the player ends before it ever ran
    if (!started || vcd->ended()) {
        delete vcd;
        return 0;
    }
    PreloadMediaEngine(*vcd);
    running = true;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, vcd, [vcd] {
        if (!vcd->ended()) vcd->close();
    });
    const int code = app.exec();
    delete vcd;
    return code;
}

}  // namespace ModDeclare
