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
#include <QScrollBar>
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
QString twipsText(double twips)
{
    return Vb::CStr(double(float(twips)));
}
}  // namespace

// ------------------------------------------------------------------ load

frmMain::frmMain(EditorState &state, QWidget *parent) : QMainWindow(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("QuorvelEdit"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(m_mdi);

    // MDIForm_Load
    m_state.GridStep = 1;
    m_pic = new frmPic(m_state, this);
    m_picWindow = m_mdi->addSubWindow(m_pic);
    m_picWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    m_picWindow->hide();
    m_state.PanelOpen = false;
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildToolWindows();
    m_undo->setEnabled(false);
    ConOn(false);
    m_state.ZoomRate() = 1;
    m_state.LastZoomRate = 1;
    m_state.GridStep = 1;
    readRecentFiles();
    mnuButtonMask_Click();
    mColorTool_Click();
    placeWindow();  // after the tool windows: a first start makes room for them
}

frmMain::~frmMain()
{
    // QWidget's destructor hides the docks as it deletes them, when this is no frmMain
    // any more and its menu actions are gone: the gallery's handler must not run then.
    disconnect(m_galleryDock, nullptr, this, nullptr);
}

void frmMain::placeWindow()
{
    const double tppX = twipsPerPixel(this, true), tppY = twipsPerPixel(this, false);
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect desk = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    // A first start opens at 640 x 480, or larger where the tool windows need
    // more to show whole, centred.
    const QSize first = QSize(640, 480).expandedTo(minimumSizeHint());
    const double defaultLeft = (desk.width() * tppX - first.width() * tppX) / 2;
    const double defaultTop = Vb::RoundHalfEven((desk.height() * tppY - first.height() * tppY) / 2);
    const double left = Vb::Val(GetAppSetting(QStringLiteral("EditLeft"), twipsText(defaultLeft)));
    const double top = Vb::Val(GetAppSetting(QStringLiteral("EditTop"), twipsText(defaultTop)));
    const double width = Vb::Val(GetAppSetting(QStringLiteral("EditWidth"), twipsText(first.width() * tppX)));
    const double height = Vb::Val(GetAppSetting(QStringLiteral("EditHeight"), twipsText(first.height() * tppY)));
    // A stored place off the screen is applied as it stands.
    move(toPixels(left / tppX), toPixels(top / tppY));
    resize(qMax(1, toPixels(width / tppX)), qMax(1, toPixels(height / tppY)));
}

void frmMain::buildMenus()
{
    buildFileMenu();
    QMenu *edit = menuBar()->addMenu(QStringLiteral("編輯(&E)"));
    m_undo = edit->addAction(QStringLiteral("移動復原(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z), this,
                             &frmMain::mnuEditUndo_Click);
    m_undo->setObjectName(QStringLiteral("mnuEditUndo"));

    QMenu *view = menuBar()->addMenu(QStringLiteral("檢視(&V)"));
    m_colorAction = view->addAction(QStringLiteral("色彩工具列(&C)"), QKeySequence(Qt::Key_F2), this,
                                    &frmMain::mColorTool_Click);
    m_colorAction->setCheckable(true);
    m_maskAction = view->addAction(QStringLiteral("按扭遮罩(&M)"), QKeySequence(Qt::Key_F3), this,
                                   &frmMain::mnuButtonMask_Click);
    m_maskAction->setCheckable(true);
    m_toolbarAction = view->addAction(QStringLiteral("工具列(&T)"));
    m_toolbarAction->setCheckable(true);
    m_toolbarAction->setChecked(true);
    connect(m_toolbarAction, &QAction::triggered, this, [this](bool on) { m_toolBar->setVisible(on); });
    m_statusAction = view->addAction(QStringLiteral("狀態列(&S)"));
    m_statusAction->setCheckable(true);
    m_statusAction->setChecked(true);
    connect(m_statusAction, &QAction::triggered, this, [this](bool on) { statusBar()->setVisible(on); });
    view->addSeparator();
    view->addAction(QStringLiteral("重新整理(&R)"), QKeySequence(Qt::Key_F5), this, &frmMain::mnuViewRefresh_Click);

    buildObjectMenu();
    buildFontMenu();

    QMenu *window = menuBar()->addMenu(QStringLiteral("視窗(&W)"));
    window->addAction(QStringLiteral("重疊顯示(&C)"), m_mdi, &QMdiArea::cascadeSubWindows);
    window->addAction(QStringLiteral("水平並排(&H)"), this, [this] { tileWindows(Qt::Horizontal); });
    window->addAction(QStringLiteral("垂直並排(&V)"), this, [this] { tileWindows(Qt::Vertical); });
    window->addAction(QStringLiteral("排列圖示(&A)"), this, &frmMain::arrangeIcons);
    // The window list: the open child windows, the active one ticked.
    QAction *listStart = window->addSeparator();
    connect(window, &QMenu::aboutToShow, this, [this, window, listStart] {
        const QList<QAction *> actions = window->actions();
        for (qsizetype i = actions.indexOf(listStart) + 1; i < actions.size(); ++i)
            delete actions[i];
        int number = 1;
        for (QMdiSubWindow *child : m_mdi->subWindowList()) {
            if (!child->isVisible())
                continue;
            QAction *item = window->addAction(QStringLiteral("&%1 %2").arg(number++).arg(child->windowTitle()));
            item->setCheckable(true);
            item->setChecked(child == m_mdi->activeSubWindow());
            connect(item, &QAction::triggered, child, [this, child] { m_mdi->setActiveSubWindow(child); });
        }
        listStart->setVisible(number > 1);
    });

    QMenu *help = menuBar()->addMenu(QStringLiteral("說明(&H)"));
    help->addAction(QStringLiteral("關於(&A)Quorvel"), QKeySequence(Qt::Key_F1), this, &frmMain::mnuHelpAbout_Click);
    help->addAction(QStringLiteral("Quorvel讀我檔"), this, &frmMain::mreadme_Click);
}

void frmMain::buildFileMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("檔案(&F)"));
    file->addAction(QStringLiteral("開啟(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &frmMain::mnuFileOpenIni_Click);
    QAction *close = file->addAction(QStringLiteral("關閉(&C)"), this, &frmMain::mnuFileClose_Click);
    file->addSeparator();
    QAction *save = file->addAction(QStringLiteral("儲存(&S)"), this, &frmMain::mnuFileSave_Click);
    file->addSeparator();
    QAction *saveAs = file->addAction(QStringLiteral("另存按紐設定檔(&A)..."), this, &frmMain::mnuFileSaveAs_Click);
    QAction *openPicture = file->addAction(QStringLiteral("匯入圖檔"), this, &frmMain::mnuFileOpen_Click);
    openPicture->setVisible(false);
    QAction *importIni = file->addAction(QStringLiteral("匯入按紐設定檔"), this, &frmMain::InputButtonIniFile_Click);
    m_panelCommands = {close, save, saveAs, openPicture, importIni};
    m_mru.append(file->addSeparator());
    for (int i = 1; i <= EditRules::RecentCount; ++i) {
        QAction *item = file->addAction(QString());
        item->setObjectName(QStringLiteral("mnuFileMRU%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { mnuFileMRU_Click(i); });
        m_mru.append(item);
    }
    m_nd2 = file->addSeparator();
    file->addAction(QStringLiteral("結束(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &frmMain::CloseForm);
}

void frmMain::buildObjectMenu()
{
    QMenu *objects = menuBar()->addMenu(QStringLiteral("物件(&O)"));
    PanelObjects &o = m_pic->obj();
    QMenu *ctl = objects->addMenu(QStringLiteral("控制按鈕"));
    for (int i = 0; i < o.PicCtl.size(); ++i) {
        QAction *item = ctl->addAction(o.PicCtl[i]->toolTip(), this, [this, i] { mCTLObj_Click(i); });
        item->setCheckable(true);
        m_ctlItems.append(item);
    }
    QMenu *num = objects->addMenu(QStringLiteral("選曲按鈕"));
    for (int i = 0; i < o.PicNum.size(); ++i) {
        const QString caption = i == o.PicNum.size() - 1 ? QStringLiteral(">>") : QString::number(i + 1);
        QAction *item = num->addAction(caption, this, [this, i] { mNumObj_Click(i); });
        item->setCheckable(true);
        m_numItems.append(item);
    }
    QMenu *buttons = objects->addMenu(QStringLiteral("功能按紐"));
    const QStringList names = {QStringLiteral("光碟"), QStringLiteral("螢幕"), QStringLiteral("面版"),
                               QStringLiteral("工具")};
    for (int i = 0; i < o.PicButton.size(); ++i) {
        QAction *item = buttons->addAction(names.value(i, QString::number(i + 1)), this, [this, i] { mButtonObj_Click(i); });
        item->setCheckable(true);
        m_buttonItems.append(item);
    }
    m_imageAction = objects->addAction(QStringLiteral("圖形"), this, &frmMain::mImage_Click);
    m_imageAction->setCheckable(true);
}

void frmMain::buildFontMenu()
{
    m_fontMenu = menuBar()->addMenu(QStringLiteral("字型(&F)"));
    m_fontMenu->addAction(QStringLiteral("字體"), this, &frmMain::mFontName_Click);
    m_fontMenu->addAction(QStringLiteral("字型加大"), QKeySequence(Qt::CTRL | Qt::Key_A), this,
                          &frmMain::mFontZooOut_Click);
    m_fontMenu->addAction(QStringLiteral("字型縮小"), QKeySequence(Qt::CTRL | Qt::Key_D), this,
                          &frmMain::mFontZooIn_Click);
    QMenu *sizes = m_fontMenu->addMenu(QStringLiteral("字型大小"));
    for (int i = 0; i < int(std::size(EditRules::FontSizes)); ++i)
        sizes->addAction(QString::number(EditRules::FontSizes[i]), this, [this, i] { mFont_Click(i); });
    m_fontMenu->addAction(QStringLiteral("加寬"), this, &frmMain::mWidthAdd_Click);
    m_fontMenu->addAction(QStringLiteral("減寬"), this, &frmMain::mWidthDel_Click);
    QMenu *widths = m_fontMenu->addMenu(QStringLiteral("寬度"));
    for (int i = 0; i < int(std::size(EditRules::WidthPercents)); ++i)
        widths->addAction(QString::number(EditRules::WidthPercents[i]) + QLatin1Char('%'), this,
                          [this, i] { mWidthDig_Click(i); });
}

void frmMain::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("tbToolBar"));
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    QAction *open = m_toolBar->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("開啟"));
    open->setToolTip(QStringLiteral("開啟"));
    connect(open, &QAction::triggered, this, [this] { tbToolBar_ButtonClick(QStringLiteral("Open")); });
    m_saveKey = m_toolBar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("儲存"));
    m_saveKey->setToolTip(QStringLiteral("儲存"));
    connect(m_saveKey, &QAction::triggered, this, [this] { tbToolBar_ButtonClick(QStringLiteral("Save")); });

    m_combo1 = new QComboBox(this);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->addItems(EditRules::zoomItems());
    m_combo1->setCurrentText(QStringLiteral("100%"));
    connect(m_combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    m_combo2 = new QComboBox(this);
    m_combo2->setObjectName(QStringLiteral("Combo2"));
    m_combo2->addItems(EditRules::gridStepItems());
    m_combo2->setCurrentText(QStringLiteral("1點"));
    connect(m_combo2, &QComboBox::activated, this, [this] { Combo2_Click(); });
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(40);
    m_progress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_toolBar->addWidget(m_combo1);
    m_toolBar->addWidget(m_combo2);
    m_toolBar->addWidget(m_progress);
}

void frmMain::buildStatusBar()
{
    m_statusText = new QLabel(this);
    m_statusText->setObjectName(QStringLiteral("sbStatusBarText"));
    m_statusDate = new QLabel(this);
    m_statusTime = new QLabel(this);
    statusBar()->addWidget(m_statusText, 1);
    statusBar()->addPermanentWidget(m_statusDate);
    statusBar()->addPermanentWidget(m_statusTime);
    auto *clock = new QTimer(this);
    auto tick = [this] {
        m_statusDate->setText(QDate::currentDate().toString(QStringLiteral("yyyy/M/d")));
        m_statusTime->setText(FmtTime(QTime::currentTime()));
    };
    tick();
    connect(clock, &QTimer::timeout, this, tick);
    clock->start(1000);
}

void frmMain::buildToolWindows()
{
    m_gallery = new frmButtonMask(m_state.panel.MaskDir, this);
    m_gallery->setCanvas(m_pic);
    m_gallery->onQueryUnload = [this] { mnuButtonMask_Click(); };
    m_galleryDock = new QDockWidget(QStringLiteral("按扭遮罩"), this);
    m_galleryDock->setObjectName(QStringLiteral("frmButtonMaskDock"));
    m_galleryDock->setWidget(m_gallery);
    m_galleryDock->setMinimumWidth(120);
    addDockWidget(Qt::RightDockWidgetArea, m_galleryDock);
    resizeDocks({m_galleryDock}, {120}, Qt::Horizontal);  // 1800 twips
    m_galleryDock->hide();

    m_colorCanvas = std::make_unique<EditorColorCanvas>(*m_pic);
    m_color = new FrmColor(*m_colorCanvas, FrmColor::Carrier::Editor, this);
    m_colorDock = new QDockWidget(m_color->windowTitle(), this);
    m_colorDock->setObjectName(QStringLiteral("FrmColorDock"));
    // The tool keeps its designed layout, whole: its dock is never laid out
    // smaller (another tool window shown, a first start), the main window grows instead.
    auto *colorScroll = new QScrollArea(m_colorDock);
    colorScroll->setWidget(m_color);
    m_colorDock->setWidget(colorScroll);
    colorScroll->setMinimumSize(colorToolWidth(), m_color->height() + 2 * colorScroll->frameWidth());
    addDockWidget(Qt::RightDockWidgetArea, m_colorDock);
    splitDockWidget(m_colorDock, m_galleryDock, Qt::Horizontal);  // the colour tool left of the gallery
    resizeDocks({m_colorDock, m_galleryDock}, {colorToolWidth(), 120}, Qt::Horizontal);
    m_colorDock->hide();
    m_color->setEnabled(false);  // until a panel is open
    m_color->installEventFilter(this);
    for (QLabel *sample : m_color->PicTemp)
        sample->installEventFilter(this);
    m_gallery->onBeforeChange = [this] {
        for (QLabel *sample : m_color->PicTemp)
            sample->setFrameShape(QFrame::NoFrame);
        takeMaskSizeFromColorTool();
    };

    connect(m_galleryDock, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (!shown && !m_galleryDock->isVisible() && m_maskAction->isChecked() && !m_closing
            && m_state.ZoomRate() == 1 && isVisible())
            m_maskAction->setChecked(false);  // closed by its own frame
    });
}

// The colour tool's own width in its dock: the tool beside a vertical scroll bar.
int frmMain::colorToolWidth() const
{
    auto *scroll = static_cast<QScrollArea *>(m_colorDock->widget());
    return m_color->width() + 2 * scroll->frameWidth() + scroll->verticalScrollBar()->sizeHint().width();
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // A dock width asked for before the window shows does not hold: the tool
    // opened at load gets its own width once the window is laid out.
    if (!m_colorToolFitted) {
        m_colorToolFitted = true;
        QTimer::singleShot(0, this, [this] {
            if (m_colorDock->isVisible())
                resizeDocks({m_colorDock}, {colorToolWidth()}, Qt::Horizontal);
        });
    }
}

// ------------------------------------------------------------------ state

void frmMain::ConOn(bool Flag)
{
    m_combo1->setEnabled(Flag);
    m_combo2->setEnabled(Flag);
    for (QAction *command : m_panelCommands)
        command->setEnabled(Flag);
    m_saveKey->setEnabled(Flag);
}

bool frmMain::panelOpen() const
{
    return m_state.PanelOpen;
}

QString frmMain::statusText() const
{
    return m_statusText->text();
}

QAction *frmMain::objectItem(const QString &family, int Index) const
{
    if (family == QLatin1String("PicCtl"))
        return m_ctlItems.value(Index);
    if (family == QLatin1String("PicNum"))
        return m_numItems.value(Index);
    if (family == QLatin1String("PicButton"))
        return m_buttonItems.value(Index);
    return m_imageAction;
}

void frmMain::setStatusText(const QString &text)
{
    m_statusText->setText(text);
}

void frmMain::setProgressValue(int percent)
{
    m_progress->setValue(qBound(0, percent, 100));
}

void frmMain::setMainCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void frmMain::setUndoEnabled(bool enabled)
{
    m_undo->setEnabled(enabled);
}

void frmMain::popupFontMenu(const QPoint &globalPos)
{
    m_fontMenu->popup(globalPos);
}

void frmMain::canvasClosed()
{
    closePanel();
}

void frmMain::colorSamplesChanged(const QImage &title, const QImage &number, const QImage &control)
{
    const QImage faces[] = {title, number, control};
    for (int i = 0; i < 3; ++i) {
        QLabel *sample = m_color->PicTemp[i];
        sample->setPixmap(QPixmap::fromImage(faces[i]));
        if (!faces[i].isNull())
            sample->resize(faces[i].size() + QSize(2, 2));
    }
}

void frmMain::takeMaskSizeFromColorTool()
{
    MaskSizeChoice &choice = m_state.maskSize;
    for (int i = 0; i < 3; ++i)
        if (m_color->MaskSize[i]->isChecked())
            choice.MaskSize = i;
    choice.Text1Width = m_color->Text1[0]->text();
    choice.Text1Height = m_color->Text1[1]->text();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Choosing a sample of the colour tool makes it the selection.
    if (event->type() == QEvent::MouseButtonPress)
        for (int i = 0; i < 3; ++i)
            if (watched == m_color->PicTemp[i])
                m_pic->SelectSample(i);
    // The tool's own close hides it: its window goes too and the item loses its tick.
    if (watched == m_color && event->type() == QEvent::HideToParent && m_colorDock->isVisible() && !m_zooming) {
        m_colorDock->hide();
        m_colorAction->setChecked(false);
    }
    return QMainWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------ shut-down

void frmMain::CloseForm()
{
    const QStringList entries = recentFiles();
    for (int i = 1; i <= EditRules::RecentCount; ++i)
        SaveAppSetting(QStringLiteral("EditFile%1").arg(i), entries.value(i - 1));
    if (!isMinimized()) {
        const double tppX = twipsPerPixel(this, true), tppY = twipsPerPixel(this, false);
        SaveAppSetting(QStringLiteral("EditLeft"), twipsText(x() * tppX));
        SaveAppSetting(QStringLiteral("EditTop"), twipsText(y() * tppY));
        SaveAppSetting(QStringLiteral("EditWidth"), twipsText(width() * tppX));
        SaveAppSetting(QStringLiteral("EditHeight"), twipsText(height() * tppY));
    }
    m_closing = true;
    hide();
    QCoreApplication::quit();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_closing)
        CloseForm();
    event->accept();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_gallery->Form_Resize();
    // The progress bar takes the toolbar's room right of the step box.
}

