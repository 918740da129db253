#include "frmDir.h"

#include "PanelChoice.h"
#include "PanelForm.h"
#include "PanelHost.h"
#include "PanelState.h"

#include "LoadedMedia.h"

#include "ListBoxes.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "SystemPaths.h"
#include "VbRuntime.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>

#include <cmath>

// ---------------------------------------------------------------- PictureCell

PictureCell::PictureCell(QWidget *parent, int index) : QLabel(parent), m_index(index)
{
    setObjectName(QStringLiteral("Picture1"));
    setProperty("Index", index);
    setFrameShape(QFrame::Box);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaledContents(true);  // a thumbnail follows its cell when the window is resized
}

void PictureCell::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    emit MouseDown(m_index);
}

// ---------------------------------------------------------------- frmDir

namespace {
constexpr int DesignWidth = 820;
constexpr int DesignHeight = 520;
constexpr int StatusHeight = 20;
constexpr int DesignCells = 5;
constexpr int ControlColumnWidth = 200;
const QColor FailureColour = fromVbColor(0x0000F0);  // the failure look's red

// An outside picture editor the user may have: the first one installed.
QString findPictureEditor()
{
    for (const char *name : {"gimp", "krita", "pinta", "kolourpaint", "mtpaint"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}
}  // namespace

frmDir::frmDir(PanelChoice &choice, QWidget *parent)
    : QWidget(parent, Qt::Window), m_choice(choice)
{
    setObjectName(QStringLiteral("frmDir"));
    setWindowTitle(QStringLiteral("PicView"));
    PictureEditor = findPictureEditor();
    createControls();
    Form_Load();
}

frmDir::~frmDir() = default;

void frmDir::createControls()
{
    Drive1 = new DriveListBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new DirListBox(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->viewport()->installEventFilter(this);
    File1 = new FileListBox(this);
    File1->setObjectName(QStringLiteral("File1"));
    PattenList = new QComboBox(this);
    PattenList->setObjectName(QStringLiteral("PattenList"));
    PattenList->setEditable(true);
    PattenList->setEditText(QStringLiteral("*.*"));
    SizeList = new QComboBox(this);
    SizeList->setObjectName(QStringLiteral("SizeList"));
    SizeList->setEditable(true);
    SizeList->setEditText(QStringLiteral("2x2"));
    Command1 = new QPushButton(QStringLiteral("目錄重整"), this);
    Command3 = new QPushButton(QStringLiteral("下一個目錄"), this);
    Command2 = new QPushButton(QStringLiteral("圖形編輯"), this);
    const char *slotCaptions[] = {"0", "1", "2", "S", ".."};
    for (int i = 0; i < 5; ++i) {
        Option1[i] = new QRadioButton(QLatin1String(slotCaptions[i]), this);
        Option1[i]->setObjectName(QStringLiteral("Option1"));
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    Label1 = new QLabel(QStringLiteral("Label1"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setGeometry(0, DesignHeight - StatusHeight, DesignWidth, StatusHeight);
    StatusBar1->hide();
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(0, DesignHeight - StatusHeight, DesignWidth, StatusHeight);
    HScroll1->installEventFilter(this);
    mEdit = new QMenu(QStringLiteral("Edit"), this);
    mEdit->addAction(QStringLiteral("刪除目錄"));  // mDelDir: removes nothing
    mEdit->addSeparator();
    mEdit->addAction(QStringLiteral("退回"));

    Picture1.append(newCell(0));
    Picture1[0]->move(8, 8);
    resize(DesignWidth, DesignHeight);
    placeControls();

    // The page keys turn pages whatever control has the focus (at first the drive list, whose
    // own page keys would change the drive under the page shown).
    for (QWidget *control : findChildren<QWidget *>())
        control->installEventFilter(this);

    connect(Drive1, &DriveListBox::Change, this, &frmDir::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &frmDir::Dir1_Change);
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmDir::HScroll1_Change);
    connect(Command1, &QPushButton::clicked, this, &frmDir::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmDir::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmDir::Command3_Click);
    connect(PattenList, &QComboBox::activated, this, [this] { PattenList_Click(); });
    connect(SizeList, &QComboBox::activated, this, [this] { SizeList_Click(); });
}

PictureCell *frmDir::newCell(int index)
{
    auto *cell = new PictureCell(this, index);
    cell->setCursor(m_choice.form().obj().PicIcon);
    cell->hide();
    connect(cell, &PictureCell::MouseDown, this, &frmDir::Picture1_MouseDown);
    return cell;
}

int frmDir::margin() const
{
    return Picture1[0]->x();
}

// The folder, file and grid controls stand in a column along the right edge,
// the thumbnails fill what lies left of it.
void frmDir::placeControls()
{
    const int x = width() - ControlColumnWidth - margin();
    Drive1->setGeometry(x, 8, ControlColumnWidth, 24);
    Dir1->setGeometry(x, 36, ControlColumnWidth, 170);
    File1->setGeometry(x, 210, ControlColumnWidth, 100);
    PattenList->setGeometry(x, 316, 96, 24);
    SizeList->setGeometry(x + 104, 316, 96, 24);
    Command1->setGeometry(x, 346, 96, 26);
    Command3->setGeometry(x + 104, 346, 96, 26);
    Command2->setGeometry(x, 376, 96, 26);
    for (int i = 0; i < int(Option1.size()); ++i)
        Option1[i]->setGeometry(x + i * 40, 408, 38, 22);
    Label1->setGeometry(x, 436, ControlColumnWidth, 20);
}

QRect frmDir::gridArea() const
{
    return QRect(QPoint(margin(), Picture1[0]->y()), QPoint(Drive1->x() - margin(), HScroll1->y() - margin()) -
                                                          QPoint(1, 1));
}

void frmDir::layOut()
{
    StatusBar1->setGeometry(0, height() - StatusHeight, width(), StatusHeight);
    HScroll1->setGeometry(StatusBar1->geometry());
    StatusBar1->hide();
    // The cells shown keep their pictures, in the grid area of the new size.
    placeControls();
    SizeAcc();
    for (int k = 0; k < Picture1.size() && k <= PageLast; ++k)
        if (!Picture1[k]->isHidden())
            placeCell(k);
}

void frmDir::fitToScreen(const QRect &screen)
{
    // The window's frame, known once it was shown, is on the screen too.
    const QSize frame = frameGeometry().size() - size();
    resize(QSize(DesignWidth, DesignHeight).boundedTo(screen.size() - frame));
    layOut();  // now, not only when a hidden window is shown
    const QSize outer = size() + frame;
    move(screen.x() + (screen.width() - outer.width()) / 2, screen.y() + (screen.height() - outer.height()) / 2);
}

void frmDir::placeCell(int k)
{
    Picture1[k]->setGeometry(int(margin() + (k / int(GridCols)) * (CellWidth + CellGap)),
                             int(Picture1[0]->y() + (k % int(GridCols)) * CellHeight), int(CellWidth),
                             int(CellHeight));
}

void frmDir::Form_Load()
{
    GridCols = GridRows = Vb::Val(SizeList->currentText());
    HScroll1->resize(width() - HScroll1->x() - 8, HScroll1->height());
    SizeAcc();
    Picture1[0]->resize(int(CellWidth), int(CellHeight));
    HScroll1->setPageStep(int(PageLast));
    HScroll1->setSingleStep(int(GridCols));
    for (int i = 1; i < DesignCells; ++i) {
        Picture1.append(newCell(i));
        Picture1[i]->resize(int(CellWidth), int(CellHeight));
    }
    PattenList->addItems({QStringLiteral("*.*"), QStringLiteral("*.JPG"), QStringLiteral("*.BMP"),
                          QStringLiteral("*.GIF"), QStringLiteral("*.ICO")});
    SizeList->addItems({QStringLiteral("2x2"), QStringLiteral("3x3"), QStringLiteral("4x4"), QStringLiteral("5x5"),
                        QStringLiteral("6x6")});
    SizeList->setCurrentIndex(0);
    File1->setPattern(QStringLiteral("*.jpg;*.bmp;*.gif"));
    PattenList->setCurrentIndex(0);

    const QString skin = m_choice.form().state().SkinDir;
    const QString start = !skin.isEmpty() && QFileInfo(skin).isDir() ? skin : SystemPaths::ProgramFolder();
    Drive1->setDrive(start);
    if (!Dir1->setPath(start))
        Dir1_Change();  // the list keeps its folder; the files follow it
}

// The cells and the gaps between their columns fill the grid area, never more:
// the gap follows the grid size, so no column reaches the controls.
void frmDir::SizeAcc()
{
    if (GridCols < 1 || GridRows < 1)
        GridCols = GridRows = 1;  // a typed size without a number
    const QRect grid = gridArea();
    // A typed size beyond the area's pixels: cells of one pixel, as many as the area holds.
    const double most = qMax(1, qMin(grid.width(), HScroll1->y() - 2 * margin()));
    if (GridCols > most || GridRows > most)
        GridCols = GridRows = most;
    CellWidth = grid.width() / GridCols;
    CellHeight = (HScroll1->y() - 2 * margin()) / GridRows;
    PageLast = GridRows * GridCols - 1;
    if (CellWidth > CellHeight)
        CellWidth = CellHeight;
    else
        CellHeight = CellWidth;
    CellWidth = qMax(1.0, std::floor(CellWidth));
    CellHeight = CellWidth;
    CellGap = qint16(qMax(0.0, std::floor((grid.width() - GridCols * CellWidth) / GridCols / 2)));
}

PictureCell *frmDir::cell(int k)
{
    while (Picture1.size() <= k)
        Picture1.append(newCell(Picture1.size()));
    return Picture1[k];
}

void frmDir::ReadPic()
{
    if (m_readingPage)
        return;
    m_readingPage = true;
    // The bar stands still while the page is read: a page of two places would match none.
    const bool barEnabled = HScroll1->isEnabled();
    HScroll1->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (PictureCell *c : Picture1)
        c->hide();
    const int N = File1->listCount() - 1;
    Label1->setText(QStringLiteral("共") + QString::number(N + 1) + QStringLiteral("個檔"));
    HScroll1->setSingleStep(int(PageLast) + 1);
    if (N < 0) {
        showFailure(cell(0));
    } else {
        {
            // Setting the page bar here must not read the page again.
            const QSignalBlocker quiet(HScroll1);
            if (N <= PageLast) {
                HScroll1->setValue(0);
                HScroll1->hide();
                HScroll1->setMaximum(N);
            } else {
                HScroll1->show();
                HScroll1->setMaximum(N - int(PageLast));
            }
        }
        const int last = N >= PageLast ? int(PageLast) : N;
        const int v = HScroll1->value();
        for (int k = 0; k <= last; ++k) {
            if (v + k > N)
                continue;
            PictureCell *c = cell(k);
            placeCell(k);
            fillCell(c, AddPath(File1->path(), File1->list(v + k)));
            c->show();
        }
    }
    QApplication::restoreOverrideCursor();
    HScroll1->setEnabled(barEnabled);
    m_readingPage = false;
}

void frmDir::fillCell(PictureCell *c, const QString &path)
{
    c->clear();
    c->setAutoFillBackground(false);
    c->ShowsPicture = false;
    c->setToolTip(path);
    setWindowTitle(AppProduct() + QLatin1Char('-') + path);
    QCoreApplication::processEvents();
    if (!FileExist(path))
        return;
    const QString ext = GetExtName(path).toUpper();
    if (ext != QLatin1String("JPG") && ext != QLatin1String("BMP") && ext != QLatin1String("GIF")) {
        printName(c, GetFileName(path));
        return;
    }
    QImageReader reader(path);
    Picture2 = reader.read();
    if (Picture2.isNull() || Picture2.width() < 1 || Picture2.height() < 1) {
        showFailure(c);
        return;
    }
    drawThumbnail(c);
}

void frmDir::drawThumbnail(PictureCell *c)
{
    const double ratio = double(Picture2.width()) / Picture2.height();
    double w, h;
    if (ratio > 1) {
        w = CellWidth;
        h = CellWidth / ratio;
    } else {
        w = ratio * CellHeight;
        h = CellHeight;
    }
    const int x = int(Vb::Int((CellWidth - w) / 2));
    const int y = int(Vb::Int((CellHeight - h) / 2));
    QPixmap drawn{int(CellWidth), int(CellHeight)};
    drawn.fill(palette().color(QPalette::Window));
    {
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(x, y, w, h), Picture2);
    }
    c->setPixmap(drawn);
    c->Tag = Vb::Format(Picture2.width(), QStringLiteral("0000")) + QLatin1Char('-') +
             Vb::Format(Picture2.height(), QStringLiteral("0000"));
    c->ShowsPicture = true;
    Picture2 = QImage();  // one full-size picture at a time
}

void frmDir::printName(PictureCell *c, const QString &name)
{
    c->setText(name);
}

void frmDir::showFailure(PictureCell *c)
{
    c->clear();
    c->ShowsPicture = false;
    QPalette palette = c->palette();
    palette.setColor(QPalette::Window, FailureColour);
    c->setPalette(palette);
    c->setAutoFillBackground(true);
    c->setText(QStringLiteral("\n檔案儲存\n不完全?"));
    c->show();
}

void frmDir::HScroll1_Change()
{
    if (!HScroll1->isEnabled())
        return;
    HScroll1->setEnabled(false);
    ReadPic();
    HScroll1->setEnabled(true);
}

void frmDir::Form_KeyPress(int KeyAscii)
{
    if (m_readingPage)
        return;  // the page being read keeps its place
    if (KeyAscii == 34) {
        if (HScroll1->value() + HScroll1->singleStep() <= HScroll1->maximum())
            HScroll1->setValue(HScroll1->value() + HScroll1->singleStep());
    } else if (KeyAscii == 33) {
        if (HScroll1->value() - HScroll1->singleStep() >= HScroll1->minimum())
            HScroll1->setValue(HScroll1->value() - HScroll1->singleStep());
    } else if (KeyAscii == 13) {
        Command3_Click();
    }
}

void frmDir::keyPressEvent(QKeyEvent *event)
{
    // The page keys turn pages as their codes do.
    if (event->key() == Qt::Key_PageDown)
        Form_KeyPress(34);
    else if (event->key() == Qt::Key_PageUp)
        Form_KeyPress(33);
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        Form_KeyPress(13);
    else if (!event->text().isEmpty())
        Form_KeyPress(event->text().at(0).unicode());
    else
        QWidget::keyPressEvent(event);
}

bool frmDir::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == HScroll1 || key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp) {
            keyPressEvent(key);
            return true;
        }
    }
    if (watched == Dir1->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        mEdit->popup(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmDir::Drive1_Change()
{
    Dir1->setPath(Drive1->drive());
}

void frmDir::Dir1_Change()
{
    File1->setPath(Dir1->path());
    HScroll1->setValue(0);
}

void frmDir::Command1_Click()
{
    Dir1->setPath(Dir1->path());
    Dir1->refresh();
    File1->refresh();
    ReadPic();
}

void frmDir::Command2_Click()
{
    if (!CurrentPicture || PictureEditor.isEmpty() || !QFileInfo(PictureEditor).isExecutable())
        return;
    QProcess::startDetached(PictureEditor, {CurrentPicture->toolTip()});
}

void frmDir::Command3_Click()
{
    HScroll1->setEnabled(false);
    const QString current = Dir1->path();
    const QString parent = QFileInfo(current).dir().absolutePath();
    if (parent != current && Dir1->setPath(parent)) {
        int found = -1;
        for (int i = 0; i < Dir1->listCount(); ++i)
            if (QFileInfo(Dir1->list(i)) == QFileInfo(current)) {
                found = i;
                break;
            }
        if (found >= 0 && found < Dir1->listCount() - 1)
            Dir1->setPath(Dir1->list(found + 1));
        if (found >= 0)
            ReadPic();
    }
    HScroll1->setEnabled(true);
}

void frmDir::PattenList_Click()
{
    File1->setPattern(PattenList->currentText());
    File1->refresh();
}

void frmDir::SizeList_Click()
{
    GridCols = GridRows = Vb::Val(SizeList->currentText());
    SizeAcc();
    ReadPic();
}

void frmDir::Option1_Click(int Index)
{
    const QString file = QFileDialog::getOpenFileName(this, QString(), Dir1->path());
    if (!file.isEmpty())
        QuickFolders[Index] = GetFilePath(file);
}

void frmDir::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
    const PanelHost &host = m_choice.form().host();
    setWindowTitle(QString::number(width() * host.twipsPerPixelX()) + QLatin1Char(' ') +
                   QString::number(height() * host.twipsPerPixelY()));
}

void frmDir::Picture1_MouseDown(int Index)
{
    if (Index < 0 || Index >= Picture1.size())
        return;
    PictureCell *c = Picture1[Index];
    CurrentPicture = c;
    // A cell that shows no picture (a file name, the failure text) is no panel.
    if (!c->ShowsPicture)
        return;
    PanelForm &form = m_choice.form();
    PanelHost &host = form.host();
    PanelState &state = form.state();
    const double w = Vb::Val(c->Tag.left(4));
    const double h = Vb::Val(c->Tag.right(4));
    const double screenHeight = Vb::toInt16Or(host.screenHeightTwips() / host.twipsPerPixelY(), 0);
    if (!(w <= state.ScreenClass && h <= screenHeight)) {
        ShowMsg(QStringLiteral("這個面板太大了!\r\n現在暫時無法使用"), QStringLiteral("OK"));
        return;
    }
    state.DeskPicFile = c->toolTip();
    CloseForm();
    m_choice.DeskShow();
    const LoadedMedia &media = host.loadedMedia();
    if (media.MediaKind == QLatin1String("VCD")) {
        const double fraction = m_choice.SavedLength == 0 ? 0 : m_choice.SavedPosition / m_choice.SavedLength;
        if (state.ImageVisible != m_choice.SavedImageVisible)
            host.replayVideoAt(fraction);
        else
            host.playMediaWindow();  // the panel still shows a picture area: the video goes on there
    } else if (media.MediaKind == QLatin1String("MP3")) {
        host.playMediaWindow();
    }
}

void frmDir::CloseForm()
{
    PanelHost &host = m_choice.form().host();
    host.panelWidget()->setEnabled(true);
    // Opened because the panel no longer fit the screen, the browser found
    // the window hidden: closing it without a choice must not leave the
    // player without a window.
    if (!host.panelWidget()->isVisible())
        host.showForm();
    hide();
    QCoreApplication::processEvents();
    Picture2 = QImage();
    for (PictureCell *c : Picture1) {
        c->clear();
        c->ShowsPicture = false;
    }
    CurrentPicture = nullptr;
}

void frmDir::closeEvent(QCloseEvent *event)
{
    CloseForm();
    Unloaded = true;
    QWidget::closeEvent(event);
}
