// The main window's file commands and the recent-files list.
#include "frmMain.h"

#include "EditRules.h"
#include "EditorUi.h"
#include "EditorColorCanvas.h"
#include "EditorDialogs.h"
#include "EditorState.h"
#include "FrmReadme.h"
#include "PanelGeometry.h"
#include "frmAbout.h"
#include "frmButtonMask.h"
#include "frmPic.h"

#include "ModButtonIni.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModTools.h"
#include "SystemPaths.h"
#include "VbRuntime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QToolBar>

#include <cstdio>

using EditorUi::BusyPointer;
using EditorUi::letEventsRun;
using EditorUi::twipsPerPixel;

namespace {

const QString PictureFilter =
    QStringLiteral("全部圖檔|*.gif;*.jpg;*.bmp|通透圖 (*.gif)|*.gif|壓縮圖片(*.jpg)|*.jpg|點陣圖 (*.bmp)|*.bmp");
const QString DeskFilter =
    QStringLiteral("通透圖 (*.gif)|*.gif|壓縮圖片(*.jpg)|*.jpg|點陣圖 (*.bmp)|*.bmp|所有檔案 (*.*)|*.*");
const QString DefinitionFilter = QStringLiteral("按鈕設定檔(*.ini)|*.ini");

}  // namespace

// ------------------------------------------------------------------ files

bool frmMain::OpenFile(const QString &FileName)
{
    // An unreadable picture changes nothing: the panel open before stays. It is
    // decoded, not only recognised: a sound header over pixels that cannot be
    // read would leave the old picture on the canvas under the new name.
    if (!frmPic::PictureReadable(FileName)) {
        ShowMsg(QStringLiteral("無法開啟面板圖檔:") + FileName, QStringLiteral("error"));
        return false;
    }
    m_gallery->setEnabled(true);
    m_color->setEnabled(true);
    m_undo->setEnabled(false);
    hideCanvas();
    returnToFullSize();
    m_state.panel.DeskPicFile = FileName;
    m_pic->ShowObj(false);
    letEventsRun();
    FitPicForm();
    letEventsRun();
    m_pic->ChkDeskName();
    IniFile = m_state.panel.DeskIniFile;
    ReadButtonIni(m_pic->panel(), true);
    m_pic->DeskUpdate(false);
    m_pic->ShowObj(true);
    showCanvas();
    ConOn(true);
    FileReg();
    return true;
}

void frmMain::mnuFileOpenIni_Click()
{
    EditorDialogs::FileRequest request;
    request.startFolder = m_state.panel.SkinDir;
    request.filter = PictureFilter;
    const QString name = EditorDialogs::askFile(this, request);
    if (!name.isEmpty())
        OpenFile(name);
}

void frmMain::InputButtonIniFile_Click()
{
    EditorDialogs::FileRequest request;
    request.startFolder = GetFilePath(IniFile);
    request.fileName = IniFile;
    request.filter = DefinitionFilter;
    const QString name = EditorDialogs::askFile(this, request);
    if (name.isEmpty())
        return;
    // The undo point is a place in the layout being replaced.
    m_undo->setEnabled(false);
    hideCanvas();
    returnToFullSize();
    FitPicForm();
    letEventsRun();
    m_pic->ChkDeskName();
    const QString kept = IniFile;
    IniFile = name;
    ReadButtonIni(m_pic->panel(), true);
    IniFile = kept;
    m_pic->DeskUpdate(true);
    m_pic->ShowObj(true);
    showCanvas();
    ConOn(true);
}

void frmMain::mnuFileOpen_Click()
{
    EditorDialogs::FileRequest request;
    request.startFolder = SystemPaths::ProgramFolder() + QStringLiteral("/Desk");
    request.filter = DeskFilter;
    const QString name = EditorDialogs::askFile(this, request);
    if (name.isEmpty())
        return;
    if (!frmPic::PictureReadable(name)) {
        ShowMsg(QStringLiteral("無法開啟面板圖檔:") + name, QStringLiteral("error"));
        return;
    }
    m_undo->setEnabled(false);  // the definition is read again: no earlier place to go back to
    hideCanvas();
    returnToFullSize();
    m_state.panel.DeskPicFile = name;
    FitPicForm();
    letEventsRun();
    const QString kept = IniFile;
    m_pic->ChkDeskName();
    IniFile = kept;
    ReadButtonIni(m_pic->panel(), true);
    m_pic->DeskUpdate(false);
    m_pic->ShowObj(true);
    showCanvas();
    ConOn(true);
}

bool frmMain::saveDefinition()
{
    // Written beside the target and put in its place only when whole, so a
    // failed save leaves the definition that was there.
    const QString target = IniFile;
    const QString temporary = target + QStringLiteral(".saving");
    QFile::remove(temporary);
    IniFile = temporary;
    const bool written = SaveButtonIni(m_pic->panel());
    IniFile = target;
    if (!written
        || std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        ShowMsg(QStringLiteral("無法儲存按鈕設定檔:") + target, QStringLiteral("error"));
        return false;
    }
    return true;
}

void frmMain::mnuFileSave_Click()
{
    if (!m_state.PanelOpen)
        return;
    returnToFullSize();
    saveDefinition();
    mnuViewRefresh_Click();
}

void frmMain::mnuFileSaveAs_Click()
{
    if (!m_state.PanelOpen)
        return;
    EditorDialogs::FileRequest request;
    request.mode = EditorDialogs::FileRequest::Save;
    request.fileName = IniFile;
    request.startFolder = GetFilePath(IniFile);
    request.filter = DefinitionFilter;
    const QString name = EditorDialogs::askFile(this, request);
    if (name.isEmpty())
        return;
    IniFile = name;
    mnuFileSave_Click();
    FileReg();
}

void frmMain::mnuViewRefresh_Click()
{
    if (!m_state.PanelOpen)
        return;
    // Faces are cut and cached at panel size, like every file the editor writes:
    // a rebuild in a zoomed view would leave its small or large faces in the cache.
    if (m_state.ZoomRate() != 1)
        returnToFullSize();
    m_pic->ChkDeskName();
    IniFile = m_state.panel.DeskIniFile;
    m_pic->DeskUpdate(true);
}

void frmMain::mnuFileClose_Click()
{
    hideCanvas();
    closePanel();
}

void frmMain::closePanel()
{
    // Back to 100 % while the panel is still open: a closed canvas keeps its
    // objects, and the next open lays its definition over them at full size.
    if (m_state.ZoomRate() != 1)
        returnToFullSize();
    m_state.PanelOpen = false;
    ConOn(false);
}

void frmMain::tbToolBar_ButtonClick(const QString &Key)
{
    if (Key == QLatin1String("New"))
        FitPicForm();
    else if (Key == QLatin1String("Open"))
        mnuFileOpenIni_Click();
    else if (Key == QLatin1String("Save"))
        mnuFileSave_Click();
    else if (Key == QLatin1String("ZooIn"))
        mFontZooIn_Click();
    else if (Key == QLatin1String("ZooOut"))
        mFontZooOut_Click();
}

// ------------------------------------------------------------------ recent files

void frmMain::readRecentFiles()
{
    QStringList entries;
    for (int i = 1; i <= EditRules::RecentCount; ++i)
        entries << GetAppSetting(QStringLiteral("EditFile%1").arg(i), QString());
    showRecentFiles(entries);
}

void frmMain::showRecentFiles(const QStringList &entries)
{
    for (int i = 1; i <= EditRules::RecentCount; ++i) {
        const QString caption = entries.value(i - 1);
        m_mru[i]->setText(caption);
        m_mru[i]->setVisible(!caption.isEmpty());
    }
    const bool any = !entries.value(0).isEmpty();
    m_mru[0]->setVisible(any);
    m_nd2->setVisible(any);
}

QStringList frmMain::recentFiles() const
{
    QStringList entries;
    for (int i = 1; i <= EditRules::RecentCount; ++i)
        entries << m_mru[i]->text();
    return entries;
}

void frmMain::FileReg()
{
    if (!m_state.panel.DeskPicFile.isEmpty())
        AddFileList(m_state.panel.DeskPicFile);
}

void frmMain::AddFileList(const QString &FileName)
{
    showRecentFiles(EditRules::addRecentFile(recentFiles(), FileName));
    m_nd2->setVisible(true);
}

void frmMain::mnuFileMRU_Click(int Index)
{
    const QString path = m_mru.value(Index) ? m_mru[Index]->text() : QString();
    if (!path.isEmpty())
        OpenFile(path);
}

