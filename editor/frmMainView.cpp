// The main window's view commands: zoom and grid step, the object menu,
// the tool windows, the font commands and the window arrangement.
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

#include "DirSearch.h"
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
#include <QFileInfo>
#include <QImageReader>
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

// ------------------------------------------------------------------ canvas

void frmMain::hideCanvas()
{
    m_picWindow->hide();
    letEventsRun();
}

void frmMain::showCanvas()
{
    m_pic->Picture1()->show();
    m_picWindow->show();
    m_pic->show();
}

void frmMain::FitPicForm()
{
    m_state.PanelOpen = true;
    ResizePic();
    m_picWindow->move(0, 0);
    m_picWindow->setWindowTitle(m_state.panel.DeskPicFile);
}

void frmMain::ResizePic()
{
    BusyPointer busy;
    m_state.CanvasReady = false;
    m_pic->LoadPanelPicture(m_state.panel.DeskPicFile);
    letEventsRun();
    const QImage &picture = m_pic->PicTemp();
    // The canvas window takes the picture's size, as far as the frame has room.
    QStyleOptionTitleBar option;
    option.initFrom(m_picWindow);
    const int border = m_picWindow->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, m_picWindow);
    const int title = m_picWindow->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, m_picWindow);
    const int scrollFrame = 2 * m_pic->scrollArea()->frameWidth();
    QSize wanted = picture.size() + QSize(2 * border + scrollFrame, title + border + scrollFrame);
    const QSize room = m_mdi->viewport()->size().expandedTo(QSize(200, 150));
    // A scroll bar along one side takes room from the other.
    const int bar = m_picWindow->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_picWindow);
    if (wanted.height() > room.height())
        wanted.rwidth() += bar;
    if (wanted.width() > room.width())
        wanted.rheight() += bar;
    wanted = wanted.boundedTo(room);
    m_picWindow->resize(wanted);
    m_picWindow->setWindowTitle(m_state.panel.DeskPicFile);
    m_state.CanvasReady = true;
}

void frmMain::setZoomText(const QString &text)
{
    m_combo1->setCurrentText(text);
}

void frmMain::returnToFullSize()
{
    setZoomText(QStringLiteral("100%"));
    Combo1_Click();
}

void frmMain::Combo1_Click()
{
    ZooPic();
}

void frmMain::Combo2_Click()
{
    const int step = EditRules::gridStepFromText(m_combo2->currentText());
    if (step >= 1 && step <= 16)
        m_state.GridStep = qint16(step);
}

void frmMain::showToolWindows(bool shown)
{
    // Masks and colours are edited at 100 % only: away from it F2 and F3 refuse too.
    m_maskAction->setEnabled(shown);
    m_colorAction->setEnabled(shown);
    m_zooming = true;
    m_galleryDock->setVisible(shown);
    m_colorDock->setVisible(shown);
    if (shown)
        m_color->show();
    m_zooming = false;
}

void frmMain::ZooPic()
{
    if (!m_state.PanelOpen)
        return;
    const double zoom = EditRules::zoomFromText(m_combo1->currentText());
    if (!(zoom > 0))
        return;
    BusyPointer busy;
    setEnabled(false);
    m_state.ZoomRate() = zoom;
    showToolWindows(zoom == 1);
    if (zoom != 1)
        m_picWindow->show();
    letEventsRun();  // the room the tool windows leave or take is laid out before it is measured
    ZooObj(zoom, m_state.LastZoomRate);
    m_state.LastZoomRate = zoom;
    const QImage &picture = m_pic->PicTemp();
    const int width = toPixels(zoom * picture.width());
    const int height = toPixels(Vb::RoundHalfEven(zoom * picture.height()));
    m_pic->PaintZoomedPicture(width, height);

    const double tppX = twipsPerPixel(this, true), tppY = twipsPerPixel(this, false);
    EditRules::WindowLimits limits;
    limits.screenWidth = m_mdi->viewport()->width() * tppX + 165;
    limits.screenHeight = m_mdi->viewport()->height() * tppY + 1425 - 60;
    const QSizeF window = EditRules::zoomedCanvasWindow(width, height, tppX, tppY, limits);
    m_picWindow->resize(qMax(100, toPixels(window.width() / tppX)), qMax(80, toPixels(window.height() / tppY)));
    letEventsRun();
    m_pic->ResizeA();
    setEnabled(true);
}

void frmMain::ZooObj(double NewZoom, double OldZoom)
{
    m_pic->ZooObj(NewZoom, OldZoom);
}

// ------------------------------------------------------------------ objects, tools

void frmMain::toggleObject(QWidget *control, QAction *item)
{
    if (!control)
        return;
    const QWidget *picture = m_pic->Picture1();
    if (control->x() > picture->width())
        control->move(0, control->y());
    if (control->y() > picture->height())
        control->move(control->x(), 0);
    const bool shown = !control->isVisibleTo(control->parentWidget());
    control->setVisible(shown);
    if (item)
        item->setChecked(shown);
}

void frmMain::mCTLObj_Click(int Index)
{
    toggleObject(m_pic->obj().PicCtl.value(Index), m_ctlItems.value(Index));
}

void frmMain::mNumObj_Click(int Index)
{
    toggleObject(m_pic->obj().PicNum.value(Index), m_numItems.value(Index));
}

void frmMain::mButtonObj_Click(int Index)
{
    toggleObject(m_pic->obj().PicButton.value(Index), m_buttonItems.value(Index));
}

void frmMain::mImage_Click()
{
    QLabel *image = m_pic->obj().Image1;
    const bool shown = !image->isVisibleTo(image->parentWidget());
    image->setVisible(shown);
    m_imageAction->setChecked(shown);
    m_state.PictureAreaShown() = shown;
}

void frmMain::mnuEditUndo_Click()
{
    m_undo->setEnabled(false);
    m_pic->Undo();
}

void frmMain::mnuButtonMask_Click()
{
    if (m_state.ZoomRate() != 1)
        return;
    // A triggered item has flipped its tick already: the window's state decides.
    if (m_galleryDock->isVisible()) {
        m_galleryDock->hide();
        m_maskAction->setChecked(false);
        return;
    }
    m_maskAction->setChecked(true);
    m_galleryDock->show();
    m_gallery->Form_Resize();
}

void frmMain::mColorTool_Click()
{
    if (m_state.ZoomRate() != 1)
        return;
    if (m_colorDock->isVisible()) {
        m_colorDock->hide();
        m_colorAction->setChecked(false);
        return;
    }
    m_colorAction->setChecked(true);
    m_color->show();
    m_colorDock->show();
    if (isVisible())
        resizeDocks({m_colorDock}, {colorToolWidth()}, Qt::Horizontal);  // opens at its own width
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

void frmMain::mreadme_Click()
{
    auto *readme = findChild<FrmReadme *>();
    if (!readme) {
        readme = new FrmReadme(this);
        readme->onClosed = [this] {
            setEnabled(true);
            show();
        };
    }
    setEnabled(false);
    if (readme->Form_Load()) {
        readme->setEnabled(true);
        readme->show();
    }
}

// ------------------------------------------------------------------ fonts

void frmMain::applyFontCommand(const std::function<void(QLabel *)> &command)
{
    QLabel *label = m_pic->FontLabel();
    if (!label)
        return;
    command(label);
    m_pic->AdjLogo();
}

namespace {
void resizeToFont(QLabel *label)
{
    if (autoSizeOn(label))
        autoSizeLabel(label);
}
}

void frmMain::mFontName_Click()
{
    QLabel *label = m_pic->FontLabel();
    if (!label)
        return;
    const auto font = EditorDialogs::askFont(this, label->font());
    if (!font)
        return;  // cancelled: the label stays and nothing is re-styled
    applyFontCommand([&font](QLabel *l) {
        l->setFont(*font);
        resizeToFont(l);
    });
}

void frmMain::mFont_Click(int Index)
{
    if (Index < 0 || Index >= int(std::size(EditRules::FontSizes)))
        return;
    applyFontCommand([this, Index](QLabel *l) {
        CanvasPlace::setPanelFontSize(l, EditRules::FontSizes[Index], m_state.ZoomRate());
        resizeToFont(l);
    });
}

// One point larger or smaller on the panel, within the limits that the rule
// sets on the canvas size; worked out from the exact panel size, so that the
// limits hold after any number of zoom changes.
void frmMain::stepFontSize(int points)
{
    applyFontCommand([this, points](QLabel *l) {
        const double zoom = m_state.ZoomRate();
        const double panel = CanvasPlace::panelFontSize(l, zoom);
        const auto allowed = points > 0 ? EditRules::largerFont(panel * zoom, zoom)
                                        : EditRules::smallerFont(panel * zoom, zoom);
        if (allowed) {
            CanvasPlace::setPanelFontSize(l, panel + points, zoom);
            resizeToFont(l);
        }
    });
}

void frmMain::mFontZooOut_Click() { stepFontSize(1); }

void frmMain::mFontZooIn_Click() { stepFontSize(-1); }

namespace {
// A width chosen by hand stays: the label no longer sizes itself.
void setLabelWidth(QLabel *label, double width)
{
    setAutoSizeOn(label, false);
    label->resize(qMax(1, int(Vb::Int(width))), label->height());
}
}

void frmMain::mWidthAdd_Click()
{
    applyFontCommand([](QLabel *l) { setLabelWidth(l, l->width() * 1.1); });
}

void frmMain::mWidthDel_Click()
{
    applyFontCommand([](QLabel *l) { setLabelWidth(l, l->width() * 0.9); });
}

void frmMain::mWidthDig_Click(int Index)
{
    if (Index < 0 || Index >= int(std::size(EditRules::WidthPercents)))
        return;
    applyFontCommand([Index](QLabel *l) { setLabelWidth(l, EditRules::WidthPercents[Index] * l->width() / 100.0); });
}

// ------------------------------------------------------------------ window arrangement

void frmMain::tileWindows(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : m_mdi->subWindowList())
        if (window->isVisible() && !window->isMinimized())
            windows << window;
    if (windows.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        if (orientation == Qt::Horizontal) {  // side by side, left to right
            const int w = area.width() / count;
            windows[i]->setGeometry(i * w, 0, w, area.height());
        } else {  // one above the other
            const int h = area.height() / count;
            windows[i]->setGeometry(0, i * h, area.width(), h);
        }
    }
}

void frmMain::arrangeIcons()
{
    // Minimized windows line up along the bottom edge, left to right.
    const QRect area = m_mdi->viewport()->rect();
    int left = 0;
    for (QMdiSubWindow *window : m_mdi->subWindowList()) {
        if (!window->isMinimized())
            continue;
        window->move(left, area.height() - window->height());
        left += window->width();
    }
}
