// Building all key faces of the default panel: from scratch and from the cache.
// Run from the program folder's bin/ so that Desk/, Skin/ and Button Mask/ are found.

#include "ButtonColorSettings.h"
#include "ModButtonIni.h"
#include "PanelForm.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "frmProg.h"
#include "LoadedMedia.h"

#include "ModIniFile.h"
#include "SystemPaths.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

class BenchHost : public PanelHost
{
public:
    QWidget *panelWidget() override { return &form; }
    LoadedMedia &loadedMedia() override { return playback; }
    QWidget form;
    LoadedMedia playback;
};

struct DefaultPanel
{
    QTemporaryDir work;
    BenchHost host;
    PanelState state;
    ButtonColorSettings colors;
    std::unique_ptr<PanelForm> form;

    bool load()
    {
        const QString bin = QCoreApplication::applicationDirPath();
        SystemPaths::setProgramFolder(work.path());  // the log goes here, not into bin/
        state.ProgramDir = bin;
        state.SkinDir = bin + QStringLiteral("/Skin");
        state.MaskDir = bin + QStringLiteral("/Button Mask");
        state.ButtonCacheDir = work.path() + QStringLiteral("/Cache");
        state.DeskPicFile = bin + QStringLiteral("/Desk/Quorvel.JPG");
        state.WidenItalic = true;
        QDir().mkpath(state.ButtonCacheDir);
        if (!QFileInfo::exists(state.DeskPicFile))
            return false;
        host.form.setWindowFlags(Qt::FramelessWindowHint);
        form = std::make_unique<PanelForm>(host, state, colors);
        form->obj().InitObj(false);
        form->ChkDeskName();
        IniFile = state.DeskIniFile;
        ReadButtonIni(*form, true);
        form->DeskUpdate(true);
        return true;
    }
};

DefaultPanel *panel = nullptr;

void KeyFacesBuilt(benchmark::State &bench)
{
    for (auto _ : bench) {
        panel->form->ChkDeskName();
        panel->form->ButtonUpdate(true);
        panel->form->progress().hide();  // as a panel load ends; a cached load never shows it
    }
    bench.counters["keys"] = panel->state.ButtonCount;
}

void KeyFacesCached(benchmark::State &bench)
{
    for (auto _ : bench) {
        panel->form->ChkDeskName();
        panel->form->ButtonUpdate(false);
    }
    bench.counters["keys"] = panel->state.ButtonCount;
}

BENCHMARK(KeyFacesBuilt)->Unit(benchmark::kMillisecond);
BENCHMARK(KeyFacesCached)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DefaultPanel defaultPanel;
    if (!defaultPanel.load()) {
        std::fprintf(stderr, "The default panel Desk/Quorvel.JPG is missing beside the program.\n");
        return 1;
    }
    panel = &defaultPanel;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
