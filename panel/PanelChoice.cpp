#include "PanelChoice.h"

#include "ModButtonIni.h"
#include "PanelForm.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "frmDir.h"

#include "ListBoxes.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModTools.h"

#include <QWidget>

#include <cmath>

namespace {
constexpr int MaxNamesPerScan = 255;
}  // namespace

PanelChoice::PanelChoice(PanelForm &form) : m_form(form) {}

PanelChoice::~PanelChoice() = default;

int PanelChoice::ScanFIleA(const QString &PathPattern, QStringList &Names, int Start)
{
    const QString folder = GetFilePath(PathPattern);
    const QStringList found = FileListBox::filesIn(folder, GetFileName(PathPattern));
    const int last = qMin(int(found.size()) - 1, MaxNamesPerScan - 1);
    if (Names.size() < Start + last + 1)
        Names.resize(Start + last + 1);
    for (int i = 0; i <= last; ++i)
        Names[Start + i] = AddPath(folder, found[i]);
    return Start + int(found.size());
}

qint16 PanelChoice::ScreenClassOf(int widthPixels, double heightPixels)
{
    static const int heights[] = {480, 600, 768, 864, 1024, 1200};
    static const int classes[] = {640, 800, 1024, 1152, 1280, 1600};
    for (int i = 0; i < 6; ++i)
        if (heightPixels == heights[i])
            return qint16(classes[i]);
    return qint16(widthPixels);
}

QString PanelChoice::deskCaption(const QString &fileName, int width, int height)
{
    return fileName + QStringLiteral(" (W") + QString::number(width) + QStringLiteral(" x H") +
           QString::number(height) + QLatin1Char(')');
}

QVector<DeskMenuEntry> PanelChoice::ChkDeskFile()
{
    const PanelState &state = m_form.state();
    QVector<DeskMenuEntry> entries;
    for (const QString &name : FileListBox::filesIn(state.SkinDir, QStringLiteral("*.jpg;*.bmp;*.gif"))) {
        DeskMenuEntry entry;
        entry.Tag = AddPath(state.SkinDir, name);
        GetPicSize(entry.Tag);
        entry.Caption = deskCaption(name, PictureWidth, PictureHeight);
        entry.Enabled = !(PictureWidth > state.ScreenClass || PictureHeight > state.ScreenHeight);
        entries.append(entry);
    }
    return entries;
}

QRect PanelChoice::screenPixels() const
{
    const PanelHost &host = m_form.host();
    return QRect(0, 0, int(std::lround(host.screenWidthTwips() / host.twipsPerPixelX())),
                 int(std::lround(host.screenHeightTwips() / host.twipsPerPixelY())));
}

void PanelChoice::keepBrowserOnScreen()
{
    const QRect screen = screenPixels();
    if (!screen.contains(browser().frameGeometry()))
        browser().fitToScreen(screen);
}

void PanelChoice::ScreenResize()
{
    PanelHost &host = m_form.host();
    PanelState &state = m_form.state();
    const int width = screenPixels().width();
    state.ScreenHeight = host.screenHeightTwips() / host.twipsPerPixelY();
    state.ScreenClass = ScreenClassOf(width, state.ScreenHeight);
    const QVector<DeskMenuEntry> entries = ChkDeskFile();
    if (deskMenuChanged)
        deskMenuChanged(entries);
    const bool loaded = state.DeskPicWidth.isValid();
    if (loaded && (state.DeskPicWidth.toDouble() > state.ScreenClass || state.DeskPicHeight > state.ScreenHeight)) {
        host.hideForm();
        ShowMsg(QStringLiteral("現在的畫面大小被更改,請重新選擇面版!"), QStringLiteral("ok"));
        // The browser is all the user has now: whole on the new screen.
        const QRect screen = screenPixels();
        browser().fitToScreen(screen);
        browser().show();
        browser().fitToScreen(screen);  // again with the frame the shown window got
    }
    m_form.obj().ADJForm();
}

void PanelChoice::DeskShow()
{
    m_form.ChkDeskName();
    IniFile = m_form.state().DeskIniFile;
    m_form.obj().ShowObj(false);
    ReadButtonIni(m_form, true);
    m_form.DeskUpdate(false);
    m_form.obj().ShowObj(true);
    m_form.obj().ButtonAdj(false);
}

void PanelChoice::SeleDesk()
{
    PanelHost &host = m_form.host();
    frmDir &dir = browser();
    host.FrmCenter(&dir);
    // A small screen cannot hold the browser's design size: its page bar and
    // grid sizes must stay within reach.
    keepBrowserOnScreen();
    SavedImageVisible = m_form.state().ImageVisible;
    const PanelHost::MediaWindowPlace place = host.stopMediaWindow();
    SavedPosition = place.position;
    SavedLength = place.length;
    dir.ReadPic();
    dir.show();
    dir.activateWindow();  // its keys reach it at once: the main window is disabled meanwhile
    keepBrowserOnScreen();  // again with the frame the shown window got
    host.panelWidget()->setEnabled(false);
}

frmDir &PanelChoice::browser()
{
    // A browser closed by its close box was unloaded: grid, pattern and
    // folder start again from the design values.
    if (m_browser && m_browser->Unloaded)
        m_browser.reset();
    if (!m_browser)
        m_browser = std::make_unique<frmDir>(*this);
    return *m_browser;
}
