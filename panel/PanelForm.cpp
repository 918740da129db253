#include "PanelForm.h"

#include "ButtonColorSettings.h"
#include "ModButtonIni.h"
#include "ModOutLine.h"
#include "PanelGeometry.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "PictureFile.h"
#include "PlainPanel.h"
#include "frmProg.h"

#include "DirSearch.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModTools.h"
#include "SystemPaths.h"
#include "VbRuntime.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

PanelForm::PanelForm(PanelHost &host, PanelState &state, ButtonColorSettings &colors)
    : PanelForm(host, state, colors, PanelObjects::Counts{})
{
}

PanelForm::PanelForm(PanelHost &host, PanelState &state, ButtonColorSettings &colors,
                     const PanelObjects::Counts &counts)
    : m_host(host), m_state(state), m_colors(colors), m_objects(host, state, counts)
{
}

PanelForm::~PanelForm()
{
    delete m_prog;
}

frmProg &PanelForm::progress()
{
    if (!m_prog) {
        m_prog = new frmProg;
        m_prog->ProgressBar1->setValue(m_progressValue);
        if (!m_progressPanel.isNull())
            m_prog->Label2->setText(m_progressPanel);
        if (!m_progressFile.isNull())
            m_prog->Label3->setText(m_progressFile);
    }
    return *m_prog;
}

void PanelForm::showProgressValue(int value)
{
    m_progressValue = value;
    if (m_prog)
        m_prog->ProgressBar1->setValue(value);
}

void PanelForm::showProgressPanel(const QString &text)
{
    m_progressPanel = text;
    if (m_prog)
        m_prog->Label2->setText(text);
}

void PanelForm::showProgressFile(const QString &text)
{
    m_progressFile = text;
    if (m_prog)
        m_prog->Label3->setText(text);
}

QString PanelForm::DefaultDeskPicFile() const
{
    const QString programDir = m_state.ProgramDir.isEmpty() ? SystemPaths::ProgramFolder() : m_state.ProgramDir;
    return AddPath(programDir + QStringLiteral("/Desk"), QStringLiteral("Quorvel.JPG"));
}

void PanelForm::ChkDeskName()
{
    if (!FileExist(m_state.DeskPicFile))
        m_state.DeskPicFile = DefaultDeskPicFile();
    const QString name = GetFileName(m_state.DeskPicFile);
    m_state.DeskIniFile = AddPath(m_state.SkinDir, name.left(qMax(0, name.size() - 3)) + QStringLiteral("INI"));
    m_state.ButtonCacheFile =
        AddPath(m_state.ButtonCacheDir, name.left(qMax(0, name.size() - 4)) + QStringLiteral("-00.Bmp"));
    showProgressPanel(QStringLiteral("面板檔名:") + name);
}

namespace {
// The picture's colour at (x, y) as a VB colour; -1 (no colour) off the picture.
VbColor pointColour(const QImage &picture, double x, double y)
{
    const int px = toPixels(x);
    const int py = toPixels(y);
    if (!picture.valid(px, py))
        return -1;
    return toVbColor(picture.pixelColor(px, py));
}
}

void PanelForm::colourLabelsFromPicture()
{
    const QImage &picture = m_objects.DeskPic.Picture;
    QLabel *message = m_objects.Label1;
    const VbColor c1 = pointColour(picture, message->x() + Vb::Int(message->width() / 2.0), message->y());
    VbColor messageColour = PanelObjects::InvertColor(c1);
    if (m_state.ShowPic && m_state.ImageVisible)
        messageColour |= 0xC0C0C0;  // a light colour over a changing picture area
    setForeColor(message, fromVbColor(messageColour));

    if (m_objects.Label2.size() > 2) {
        QLabel *knobTime = m_objects.Label2[2];
        const VbColor c2 =
            pointColour(picture, knobTime->x() + Vb::RoundHalfEven(knobTime->width() / 2.0), knobTime->y());
        setForeColor(knobTime, fromVbColor(PanelObjects::InvertColor(c2)));
    }
}

void PanelForm::prefetchDeskPicture()
{
    takePrefetched(QString());  // one at a time
    m_prefetchedPath = DirSearch::ResolveCase(m_state.DeskPicFile);
    m_prefetched = std::async(std::launch::async, [path = m_prefetchedPath] { return PictureFile::read(path); });
}

// The picture decoded ahead for this path (waiting for it if need be), or a null picture.
QImage PanelForm::takePrefetched(const QString &path)
{
    if (!m_prefetched.valid())
        return {};
    QImage picture = m_prefetched.get();
    return path == m_prefetchedPath ? picture : QImage();
}

bool PanelForm::loadDeskPicture()
{
    const QString path = DirSearch::ResolveCase(m_state.DeskPicFile);
    QImage picture = takePrefetched(path);
    if (picture.isNull())
        picture = PictureFile::read(path);
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1)
        return false;
    m_objects.DeskPic.Picture = picture;
    return true;
}

// The default panel with its own definition, when it is not the panel that failed.
bool PanelForm::fallBackToDefaultPanel()
{
    const QString fallback = DefaultDeskPicFile();
    if (m_state.DeskPicFile == fallback || !FileExist(fallback))
        return false;
    m_state.DeskPicFile = fallback;
    if (!loadDeskPicture()) {
        WriteLog(QStringLiteral("這個面板格式錯誤") + fallback);
        return false;
    }
    ChkDeskName();
    IniFile = m_state.DeskIniFile;
    ReadButtonIni(*this, true);
    return true;
}

void PanelForm::usePlainPanel()
{
    m_plainPanel = true;
    m_objects.DeskPic.Picture = PlainPanelPicture(m_objects);
}

void PanelForm::DeskLoad()
{
    if (m_objects.DeskPic.Tag == m_state.DeskPicFile) {
        m_host.setFormSizeTwips(m_state.DeskFormWidth, m_state.DeskFormHeight);
        m_objects.ADJForm();
        return;
    }
    m_plainPanel = false;
    if (!loadDeskPicture()) {
        // A window without its picture would be black, keyless and without a way to the
        // menu; the faces would be built from the previous panel under the new name.
        WriteLog(QStringLiteral("這個面板格式錯誤") + m_state.DeskPicFile);
        if (!fallBackToDefaultPanel())
            usePlainPanel();
    }
    const QImage picture = m_objects.DeskPic.Picture;
    m_host.deskPicFileChanged(m_state.DeskPicFile);
    m_state.DeskPicWidth = double(picture.width());
    m_state.DeskPicHeight = picture.height();
    QCoreApplication::processEvents();

    colourLabelsFromPicture();

    m_state.DeskFormWidth = picture.width() * m_host.twipsPerPixelX();
    m_state.DeskFormHeight = picture.height() * m_host.twipsPerPixelY();
    m_host.setFormSizeTwips(m_state.DeskFormWidth, m_state.DeskFormHeight);
    m_objects.ADJForm();
    m_objects.ImageDesk->move(0, 0);

    m_host.hideForm();
    m_objects.setFormPicture(picture);
    QCoreApplication::processEvents();

    // Only a GIF panel has a key-colour margin; every other panel is the plain
    // rectangle, whatever outline the panel before it left.
    if (GetExtName(m_state.DeskPicFile) == QLatin1String("gif"))
        SetFormOutLine(m_host.panelWidget(), picture);
    else
        ClearFormOutLine(m_host.panelWidget(), picture.width(), picture.height());

    m_objects.DeskPic.Tag = m_plainPanel ? QString() : m_state.DeskPicFile;  // a plain ground is tried again
    QCoreApplication::processEvents();
    m_objects.DeskPic.Picture = QImage();  // the form keeps its own copy
}

void PanelForm::DeskUpdate(bool Rebuild)
{
    showProgressValue(0);
    m_host.hideForm();
    WriteLog(QStringLiteral("開始載入面板-") + m_state.DeskPicFile);
    DeskLoad();
    WriteLog(QStringLiteral("載入面板完成"));
    ChkDeskName();
    WriteLog(QStringLiteral("開始載入按鈕"));
    m_objects.ShowObj(false);
    ButtonUpdate(Rebuild);
    WriteLog(QStringLiteral("載入按鈕完成"));
    m_objects.ShowObj(true);
    if (m_prog)
        m_prog->hide();
    m_host.showForm();
    m_objects.Label1->setText(QString());
}
