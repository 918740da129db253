#include "frmMain.h"

#include "EditRules.h"
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

namespace {

const QString PictureFilter =
    QStringLiteral("全部圖檔|*.gif;*.jpg;*.bmp|通透圖 (*.gif)|*.gif|壓縮圖片(*.jpg)|*.jpg|點陣圖 (*.bmp)|*.bmp");
const QString DeskFilter =
    QStringLiteral("通透圖 (*.gif)|*.gif|壓縮圖片(*.jpg)|*.jpg|點陣圖 (*.bmp)|*.bmp|所有檔案 (*.*)|*.*");
const QString DefinitionFilter = QStringLiteral("按鈕設定檔(*.ini)|*.ini");

double twipsPerPixel(const QWidget *widget, bool horizontal)
{
    const QScreen *screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

QString twipsText(double twips)
{
    return Vb::CStr(double(float(twips)));
}

// Lets pending events run, as the file commands do between their steps.
void letEventsRun()
{
    QCoreApplication::processEvents();
}

class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

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
    placeWindow();
    readRecentFiles();
    mnuButtonMask_Click();
    mColorTool_Click();
}

frmMain::~frmMain() = default;

void frmMain::placeWindow()
{
    const double tppX = twipsPerPixel(this, true), tppY = twipsPerPixel(this, false);
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect desk = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const double defaultLeft = (desk.width() * tppX - 640 * tppX) / 2;
    const double defaultTop = Vb::RoundHalfEven((desk.height() * tppY - 480 * tppY) / 2);
    const double left = Vb::Val(GetAppSetting(QStringLiteral("EditLeft"), twipsText(defaultLeft)));
    const double top = Vb::Val(GetAppSetting(QStringLiteral("EditTop"), twipsText(defaultTop)));
    const double width = Vb::Val(GetAppSetting(QStringLiteral("EditWidth"), twipsText(640 * tppX)));
    const double height = Vb::Val(GetAppSetting(QStringLiteral("EditHeight"), twipsText(480 * tppY)));
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
    // The tool keeps its designed layout; a narrow window scrolls it.
    auto *colorScroll = new QScrollArea(m_colorDock);
    colorScroll->setWidget(m_color);
    m_colorDock->setWidget(colorScroll);
    addDockWidget(Qt::RightDockWidgetArea, m_colorDock);
    splitDockWidget(m_colorDock, m_galleryDock, Qt::Horizontal);  // the colour tool left of the gallery
    resizeDocks({m_colorDock, m_galleryDock}, {220, 120}, Qt::Horizontal);
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
    m_state.PanelOpen = false;
    ConOn(false);
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
    wanted = wanted.boundedTo(m_mdi->viewport()->size().expandedTo(QSize(200, 150)));
    m_picWindow->resize(wanted);
    m_picWindow->setWindowTitle(m_state.panel.DeskPicFile);
    m_state.CanvasReady = true;
}

void frmMain::setZoomText(const QString &text)
{
    m_combo1->setCurrentText(text);
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

// ------------------------------------------------------------------ files

bool frmMain::OpenFile(const QString &FileName)
{
    // An unreadable picture changes nothing: the panel open before stays.
    QImageReader probe(DirSearch::ResolveCase(FileName));
    if (FileName.isEmpty() || !probe.canRead()) {
        ShowMsg(QStringLiteral("無法開啟面板圖檔:") + FileName, QStringLiteral("error"));
        return false;
    }
    m_gallery->setEnabled(true);
    m_color->setEnabled(true);
    m_undo->setEnabled(false);
    hideCanvas();
    setZoomText(QStringLiteral("100%"));
    Combo1_Click();
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
    hideCanvas();
    setZoomText(QStringLiteral("100%"));
    Combo1_Click();
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
    QImageReader probe(DirSearch::ResolveCase(name));
    if (!probe.canRead()) {
        ShowMsg(QStringLiteral("無法開啟面板圖檔:") + name, QStringLiteral("error"));
        return;
    }
    hideCanvas();
    setZoomText(QStringLiteral("100%"));
    Combo1_Click();
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
    SaveButtonIni(m_pic->panel());
    IniFile = target;
    const QFileInfo saved(temporary);
    const bool written = saved.isFile() && saved.size() > 0;
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
    setZoomText(QStringLiteral("100%"));
    Combo1_Click();
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
    m_pic->ChkDeskName();
    IniFile = m_state.panel.DeskIniFile;
    m_pic->DeskUpdate(true);
}

void frmMain::mnuFileClose_Click()
{
    hideCanvas();
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
    if (m_maskAction->isChecked() && m_galleryDock->isVisible()) {
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
    if (m_colorAction->isChecked() && m_colorDock->isVisible()) {
        m_colorDock->hide();
        m_colorAction->setChecked(false);
        return;
    }
    m_colorAction->setChecked(true);
    m_color->show();
    m_colorDock->show();
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
        setFontSize(l, EditRules::FontSizes[Index] * m_state.ZoomRate());
        resizeToFont(l);
    });
}

void frmMain::mFontZooOut_Click()
{
    applyFontCommand([this](QLabel *l) {
        if (const auto size = EditRules::largerFont(fontSize(l), m_state.ZoomRate())) {
            setFontSize(l, *size);
            resizeToFont(l);
        }
    });
}

void frmMain::mFontZooIn_Click()
{
    applyFontCommand([this](QLabel *l) {
        if (const auto size = EditRules::smallerFont(fontSize(l), m_state.ZoomRate())) {
            setFontSize(l, *size);
            resizeToFont(l);
        }
    });
}

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
