// Panel definition files: the reader that lays a panel's keys, labels and picture area out
// on the form and takes the colour settings, with the key sizes.

#include "ButtonColorSettings.h"
#include "FuzzSupport.h"
#include "ModButtonIni.h"
#include "ModIniFile.h"
#include "ModTools.h"
#include "PanelForm.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "LoadedMedia.h"

#include <QDir>
#include <QFile>
#include <QWidget>

namespace {

class Host : public PanelHost
{
public:
    QWidget *panelWidget() override { return &form; }
    LoadedMedia &loadedMedia() override { return playback; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }

    QWidget form;
    LoadedMedia playback;
};

// One form for every input, as the player keeps one: the definition read sets what it reads.
struct Panel
{
    Panel()
    {
        const QString root = Fuzz::scratchFolder() + QStringLiteral("/program");
        state.ProgramDir = root;
        state.SkinDir = root + QStringLiteral("/Skin");
        state.MaskDir = root + QStringLiteral("/Button Mask");
        state.ButtonCacheDir = root + QStringLiteral("/Cache");
        state.ButtonIniFile = state.SkinDir + QStringLiteral("/Button.ini");
        state.WidenItalic = true;
        state.ScreenClass = 1024;
        state.ScreenHeight = 768;
        for (const QString &dir : {state.SkinDir, state.MaskDir, state.ButtonCacheDir})
            QDir().mkpath(dir);
    }

    PanelState state;
    ButtonColorSettings colors;
    Host host;
    PanelForm form{host, state, colors};
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::startWidgets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Panel *panel = new Panel;
    IniFile = Fuzz::writeInput(data, size, QStringLiteral("program/Skin/Fuzz.INI"));
    ReadButtonIni(panel->form, true);
    QFile::remove(LogFilePath());  // two lines per input would fill the disk
    return 0;
}
