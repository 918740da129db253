#include "FrameCapture.h"

#include "Clock.h"
#include "FilePlayback.h"
#include "FrmPlay.h"
#include "MciWnd.h"
#include "ModFiles.h"
#include "PlaybackEngine.h"
#include "PlaybackHost.h"
#include "PlaybackRules.h"
#include "PlaybackState.h"
#include "SafeFile.h"
#include "VbRuntime.h"
#include "frmCutSet.h"

#include <QBuffer>
#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int MaxFrames = 10000;
// Longest wait for the engine to show the picture of a new place.
constexpr qint64 SeekLandingMs = 3000;
const QColor BlankCell(Qt::black);

// Marks a capture as running for as long as it lasts.
class RunningCapture
{
public:
    explicit RunningCapture(bool &flag) : m_flag(flag) { m_flag = true; }
    ~RunningCapture() { m_flag = false; }

private:
    bool &m_flag;
};

} // namespace

FrameCapture::FrameCapture(PlaybackEngine &engine) : m_engine(engine) {}

FrameCapture::~FrameCapture() = default;

frmCutSet &FrameCapture::cutSet()
{
    if (!m_cutSet) {
        m_cutSet = std::make_unique<frmCutSet>(m_engine);
        if (m_pendingDelay)
            setDelay(m_pendingDelay->first, m_pendingDelay->second);
        m_pendingDelay.reset();
    }
    return *m_cutSet;
}

QString FrameCapture::delayText()
{
    if (!m_cutSet && !m_pendingDelay)
        return frmCutSet::DesignDelayText;
    return cutSet().Text8->text();
}

void FrameCapture::setDelay(const QString &text, int scrollValue)
{
    if (!m_cutSet) {
        m_pendingDelay = std::make_pair(text, scrollValue);
        return;
    }
    // The bar's change writes its own reading of the value into the box, as the dialog does.
    m_cutSet->Text8->setText(text);
    m_cutSet->VScroll3->setValue(scrollValue);
}

void FrameCapture::mCutBmp_Click()
{
    PlaybackState &state = m_engine.state();
    PlaybackHost &host = m_engine.host();
    MciWnd *control = state.ActiveMci;
    // One capture at a time: the menu stays usable while a run lets events in.
    if (!control || m_running)
        return;
    RunningCapture running(m_running);
    control->setCommand(QStringLiteral("stop"));
    state.PlayingFlag = false;
    const qint16 firstTrack = qint16(state.TrackIndex);

    // The cell size is the video's as the run starts.
    CellWidth = control->width();
    CellHeight = qint16(Vb::RoundHalfEven(control->height()));

    if (!waitForSettings())
        return;  // cancelled: the video stays stopped
    // The cells are the size the dialog showed, after its own shape rule.
    CellWidth = Vb::Val(cutSet().Text2->text());
    CellHeight = qint16(Vb::RoundHalfEven(Vb::Val(cutSet().Text3->text())));
    MakeDir(state.CutFolder);
    state.CutFile = AddPath(state.CutFolder, GetFileName(state.CutFile));
    if (CellHeight >= m_engine.filePlayback().screenHeight())
        host.setMainVisible(false);
    chooseFreeName();

    const int grid = state.CutGrid;
    prepareSheet(grid);
    m_filesWritten = 0;
    m_stamps.clear();
    state.StoppedFlag = false;
    showNewFrame();  // the first cell is stamped with the place it shows too
    for (int i = 1; i <= MaxFrames; ++i) {
        SeekBefore = qint32(Vb::RoundHalfEven(state.SeekPos));
        CutBmp(i, grid);
        m_engine.filePlayback().ChkVCD(5);
        showNewFrame();
        const bool ended = state.SeekPos >= state.MediaLength || qint16(state.TrackIndex) != firstTrack
                           || state.SeekPos <= SeekBefore || state.StoppedFlag;
        if (ended || i == MaxFrames) {
            // The cells filled so far; a sheet just written is not written again blank.
            if (m_sheetHasCells)
                SaveCutBmp(4, grid);
            break;
        }
    }
    if (state.ActiveMci)
        state.ActiveMci->setCommand(QStringLiteral("stop"));
    host.setMainVisible(true);
    state.MsgAnswer = qint16(host.ShowMsg(QStringLiteral("圖片抓取完畢!,共抓取") + QString::number(m_filesWritten)
                                              + QStringLiteral("張圖"),
                                          QStringLiteral("ok")));
}

bool FrameCapture::waitForSettings()
{
    PlaybackState &state = m_engine.state();
    frmCutSet &dialog = cutSet();
    dialog.Text9->setText(GetFileName(state.CutFile));
    dialog.Text2->setEnabled(true);
    dialog.Text3->setEnabled(true);
    dialog.Text2->setText(PlaybackRules::NumberText(CellWidth));
    dialog.Text3->setText(QString::number(CellHeight));
    dialog.Text7->setText(state.CutFolder);
    // A video inside the panel keeps the size of the picture area.
    const bool free = !m_engine.host().pictureAreaShown();
    for (QLineEdit *box : {dialog.Text2, dialog.Text3, dialog.Text5, dialog.Text6})
        box->setEnabled(free);
    state.CutFile = AddPath(state.CutFolder, dialog.Text9->text());

    dialog.show();
    while (dialog.isVisible())
        m_engine.Delay(0.05);
    return state.CutGrid > 0;
}

void FrameCapture::chooseFreeName()
{
    PlaybackState &state = m_engine.state();
    if (!FileExist(state.CutFile))
        return;
    state.MsgAnswer = qint16(m_engine.host().ShowMsg(QStringLiteral("檔案已存在,是否要覆蓋?"), QStringLiteral("yesno")));
    if (state.MsgAnswer == 6)
        return;
    int digits = 3;
    do {
        state.CutFile = AddFileNum(state.CutFile, 1, digits);
        m_engine.Delay(0);
    } while (FileExist(state.CutFile));
}

void FrameCapture::prepareSheet(int grid)
{
    const int cells = qMax(1, grid);
    m_sheet = QImage(qMax(1, int(cells * CellWidth)), qMax(1, cells * int(CellHeight)), QImage::Format_RGB32);
    m_sheet.fill(BlankCell);
    m_sheetHasCells = false;
}

void FrameCapture::showNewFrame()
{
    MciWnd *control = m_engine.state().ActiveMci;
    if (!control)
        return;
    waitForSeekToLand(control);
    // At the end nothing plays: the run stops there and the video stays put.
    const qint64 place = control->Position();
    if (control->Length() > 0 && place >= control->Length())
        return;
    // A moment of play lets the play clock show the new place, which the
    // next cell is stamped with; the video is then put back on that place,
    // so that the steps do not drift by what it played.
    control->setCommand(QStringLiteral("play"));
    m_engine.MCIWnd1_PositionChange();
    control->setCommand(QStringLiteral("stop"));
    // The run keeps the video stopped: its steps must not play on.
    m_engine.state().PlayingFlag = false;
    control->setPosition(place);
    waitForSeekToLand(control);
}

void FrameCapture::waitForSeekToLand(MciWnd *control)
{
    // The engine shows the new place only once its seek has landed; a grab
    // before that takes the frame of the old place.
    const qint64 deadline = mediaClock().now() + SeekLandingMs;
    while (control->isSeeking() && mediaClock().now() < deadline)
        m_engine.Delay(0.02);
    m_engine.Delay(0);
}

void FrameCapture::mCutBmp1_Click()
{
    PlaybackState &state = m_engine.state();
    PlaybackHost &host = m_engine.host();
    if (!state.ActiveMci || m_running)
        return;
    RunningCapture running(m_running);
    // Before any confirmed run there is no grid and no cell size: the video's
    // own size, one cell.
    int grid = state.CutGrid;
    if (grid <= 0 || CellWidth <= 0 || CellHeight <= 0) {
        grid = 1;
        CellWidth = state.VideoWidth > 0 ? state.VideoWidth : state.ActiveMci->width();
        CellHeight = qint16(Vb::RoundHalfEven(state.VideoHeight > 0 ? state.VideoHeight : state.ActiveMci->height()));
    }
    host.setMainVisible(false);
    prepareSheet(grid);
    m_filesWritten = 0;
    m_stamps.clear();
    CutBmp(0, grid);
    host.setMainVisible(true);
}

QImage FrameCapture::grabFrame()
{
    MciWnd *control = m_engine.state().ActiveMci;
    const QSize cell(qMax(1, int(CellWidth)), qMax(1, int(CellHeight)));
    QImage frame(cell, QImage::Format_RGB32);
    frame.fill(BlankCell);
    const QImage shown = control ? control->currentFrame() : QImage();
    if (!shown.isNull()) {
        // What the control shows: the video drawn to the control's size.
        QPainter painter(&frame);
        painter.drawImage(QRect(QPoint(0, 0), cell), shown);
    }
    return frame;
}

void FrameCapture::stampTime(QImage &frame)
{
    frmCutSet &dialog = cutSet();
    const QRgb corner = frame.pixel(qMin(5, frame.width() - 1), qMin(5, frame.height() - 1));
    const QRgb inverse = (corner & 0xFFFFFF) ^ 0xFFFFFF;
    const double natural = m_engine.state().NaturalWidth;
    double size = Vb::Val(dialog.Text4->text());
    if (natural > 0)
        size = size * CellWidth / natural;
    if (!dialog.Check1->isChecked() || size <= 0) {
        m_stamps << QString();
        return;
    }
    const QString stamp = QLatin1Char(' ') + m_engine.host().timeLabel(0);
    m_stamps << stamp;
    QPainter painter(&frame);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(size);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(inverse));
    painter.drawText(QRect(QPoint(0, 0), frame.size()), Qt::AlignLeft | Qt::AlignTop, stamp);
}

void FrameCapture::CutBmp(int Idx, int Grid)
{
    const int grid = qMax(1, Grid);
    const double delay = Vb::Val(cutSet().Text8->text());
    MciWnd *control = m_engine.state().ActiveMci;
    if (control)
        control->setCommand(QStringLiteral("stop"));
    if (delay != 0 && control) {
        // Hiding and showing the video makes it draw the current frame again.
        control->hide();
        m_engine.Delay(delay + 0.1);
        control->show();
        m_engine.Delay(delay + 0.25);
    }
    m_engine.Delay(0.1);
    QImage frame = grabFrame();
    m_engine.Delay(0);
    stampTime(frame);

    const int cell = Idx > 0 ? Idx - 1 : 0;
    CellX = (cell % grid) * CellWidth;
    CellY = qint16(Vb::RoundHalfEven((int(cell / grid) % grid) * double(CellHeight)));
    if (m_sheet.isNull())
        prepareSheet(grid);
    {
        QPainter painter(&m_sheet);
        painter.drawImage(QPointF(CellX, CellY), frame);
    }
    m_sheetHasCells = true;
    if (Idx == 0 || Idx % (grid * grid) == 0)
        SaveCutBmp(Idx, grid);
    m_engine.Delay(0);
}

bool FrameCapture::writeBitmap(const QImage &picture)
{
    const QString file = m_engine.state().CutFile;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP"))
        return false;
    // Written whole or not at all: an existing file of that name is replaced.
    return SafeFile::write(file, bytes);
}

void FrameCapture::SaveCutBmp(int Idx, int Grid)
{
    PlaybackState &state = m_engine.state();
    PlaybackHost &host = m_engine.host();
    const int grid = qMax(1, Grid);
    const int cells = Idx == 0 ? 1 : grid;
    const QImage picture = m_sheet.copy(0, 0, qMax(1, int(cells * CellWidth)), qMax(1, cells * int(CellHeight)));
    m_engine.Delay(0);

    if (!writeBitmap(picture)) {
        // A failed write is told, and the name is kept for the next try.
        state.MsgAnswer = qint16(host.ShowMsg(QStringLiteral("無法寫入 ") + state.CutFile, QStringLiteral("error")));
    } else {
        ++m_filesWritten;
        GetPicSize(state.CutFile);
        const QString written = state.CutFile + QStringLiteral(" - ") + QString::number(PictureWidth)
                                + QStringLiteral(" x ") + QString::number(PictureHeight);
        if (state.VideoHeight != m_engine.filePlayback().screenHeight()) {
            if (!host.pictureAreaShown()) {
                m_engine.frmPlay().setWindowTitle(written);
            } else {
                host.setMessage(written);
                host.AdjLabel();
            }
        }
        int digits = 3;
        state.CutFile = AddFileNum(state.CutFile, 1, digits);
    }
    m_sheet.fill(BlankCell);
    m_sheetHasCells = false;
    m_engine.Delay(0);
}
