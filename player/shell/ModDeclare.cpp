#include "ModDeclare.h"

#include "FrmReadme.h"
#include "InstanceGuard.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModRegist.h"
#include "ModTools.h"
#include "frmTemp.h"
#include "frmVCD.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

namespace ModDeclare {

namespace {

// Commands of an automated test, given through the instance socket.
void runTestCommand(frmVCD& vcd, const QString& command)
{
    if (command.startsWith(QLatin1String("click "))) {
        const QString caption = command.mid(6);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible()) continue;
            for (QAbstractButton* b : top->findChildren<QAbstractButton*>())
                if (b->isVisible() && b->text() == caption) {
                    b->click();
                    return;
                }
        }
    } else if (command == QLatin1String("close")) {
        vcd.close();  // as the window manager closes it
    } else if (command == QLatin1String("quit")) {
        vcd.CloseForm();
    } else if (command == QLatin1String("minimize")) {
        vcd.taskEntry().setWindowState(1);
    } else if (command == QLatin1String("restore")) {
        vcd.taskEntry().setWindowState(0);
    }
}

}  // namespace

bool ChkPrevInstance(frmVCD& form)
{
    auto* guard = new InstanceGuard(&form);
    if (!guard->claim()) return false;
    QObject::connect(guard, &InstanceGuard::comeForward, &form, [&form] {
        // The window the user sees comes forward: the readme while it holds the start.
        QWidget* front = form.readme().isVisible() ? static_cast<QWidget*>(&form.readme()) : &form;
        if (front == &form && form.isMinimized()) form.taskEntry().setWindowState(0);
        front->raise();
        front->activateWindow();
    });
    QObject::connect(guard, &InstanceGuard::testCommand, &form,
                     [&form](const QString& command) { runTestCommand(form, command); });
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
    if (!ChkPrevInstance(*vcd)) {
        delete vcd;
        return 0;  // another copy runs and was asked to come forward
    }

    TakeOverAudioCDPlay();
    StartLog();
    WriteLog(QStringLiteral("設定參數"));
    vcd->panelState().WidenItalic = true;

    RunReadmeGate(vcd->readme());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    WriteLog(QStringLiteral("檢查完畢!"));
    QApplication::processEvents();
    const bool started = vcd->Start();
    if (!started || vcd->ended()) {
        delete vcd;
        return 0;
    }
    const int code = app.exec();
    delete vcd;
    return code;
}

}  // namespace ModDeclare
