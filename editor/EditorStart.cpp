#include "EditorStart.h"

#include "EditorState.h"

#include "Leftovers.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "SystemPaths.h"

void StartEditor(EditorState &state)
{
    SetAppProduct(QStringLiteral("Quorvel Editor"));
    SetLogFileName(QStringLiteral("Quorvel.log"));
    const QString programDir = SystemPaths::ProgramFolder();
    PanelState &panel = state.panel;
    panel.ProgramDir = programDir;
    panel.SkinDir = programDir + QStringLiteral("/Skin");
    MakeDir(panel.SkinDir);
    Leftovers::removeUnfinishedPanelSaves(panel.SkinDir);
    panel.MaskDir = programDir + QStringLiteral("/Button Mask");
    MakeDir(panel.MaskDir);
    // The built-in layout the colour tool's "恢復原始設定" goes back to.
    panel.ButtonIniFile = panel.SkinDir + QStringLiteral("/Button.ini");
    const QString fallback = GetWinDir() + QStringLiteral("/Temp/Quorvel Temp");
    QString temp = GetAppSetting(QStringLiteral("TempDir"), fallback);
    if (temp.isEmpty())
        temp = fallback;
    state.TempFolder() = SystemPaths::mapWindowsPlace(temp);
    // The Windows folder here need not hold a Temp folder yet: the whole path is made.
    SystemPaths::ensureFolder(state.TempFolder());
    state.ZoomRate() = 1;
    state.LastZoomRate = 1;
}
