#include "SlideShow.h"

#include "PanelForm.h"
#include "PanelGeometry.h"
#include "PanelHost.h"
#include "PanelState.h"

#include "LoadedMedia.h"

#include "ListBoxes.h"
#include "ModFiles.h"
#include "VbRuntime.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <cmath>

SlideShow::SlideShow(PanelForm &form, FileListBox &FileBMP, QTimer &TimerBMP, QString &PicFolder)
    : m_form(form), m_files(FileBMP), m_timer(TimerBMP), m_picFolder(PicFolder)
{
    ImageBack = new QLabel(form.host().panelWidget());
    ImageBack->setObjectName(QStringLiteral("ImageBack"));
    ImageBack->setAutoFillBackground(true);
    ImageBack->hide();
    connect(&m_timer, &QTimer::timeout, this, &SlideShow::TimerBMP_Timer);
}

void SlideShow::TimerBMP_Timer()
{
    QCoreApplication::processEvents();
    Image1ADJ();
}

void SlideShow::Image1_Click()
{
    if (m_timer.isActive()) {
        // The next tick comes one full interval after the click.
        const int interval = m_timer.interval();
        m_timer.stop();
        m_timer.setInterval(0);
        QCoreApplication::processEvents();
        m_timer.setInterval(interval);
        m_timer.start();
    }
    Image1ADJ();
}

// The picture area is the frame's content: hiding the frame hides the picture.
void SlideShow::setFrameVisible(bool visible)
{
    ImageBack->setVisible(visible);
    if (!visible)
        m_form.obj().Image1->hide();
}

void SlideShow::Image1ADJ()
{
    const PanelState &state = m_form.state();
    if ((playerMinimized && playerMinimized()) || !(state.ImageVisible && state.ShowPic)) {
        setFrameVisible(false);
        return;
    }
    if (followsPlayTime && followsPlayTime())
        choosePlayTimePicture();

    QLabel *image = m_form.obj().Image1;
    if (!FileExist(m_picFolder)) {
        setFrameVisible(false);
        image->clear();
    } else if (m_picFolder != LastPic || image->pixmap().isNull()) {
        setFrameVisible(false);
        showPicture();
    } else {
        // The picture due is the one shown (the last share of the play time, a folder of one
        // picture): it stays, loaded once, but is placed again: a panel change since the last
        // step moved the area, changed its size and the panel colour around it.
        placePicture(image->pixmap().size());
    }
    LastPic = m_picFolder;
    advanceCursor();
}

int SlideShow::playTimeEntry(double SeekPos, double MediaLength, int n)
{
    if (MediaLength == 0 || n <= 0)
        return 0;
    const double k = Vb::Int(SeekPos / MediaLength * n + 1.5);
    // The share after the current one runs past the list from the middle of the last share
    // on: the last picture stays until the song ends (also for a position past a tiny length).
    if (!std::isfinite(k) || k >= n)
        return n - 1;
    return k < 0 ? 0 : int(k);
}

void SlideShow::choosePlayTimePicture()
{
    const LoadedMedia &media = m_form.host().loadedMedia();
    const int k = playTimeEntry(media.SeekPos, media.MediaLength, m_files.listCount());
    m_picFolder = AddPath(m_files.path(), m_files.list(k));
}

QSizeF SlideShow::FitPicture(const QSizeF &picture, const QSizeF &area)
{
    double w = picture.width(), h = picture.height();
    const double aw = area.width(), ah = area.height();
    if (w <= 0 || h <= 0)
        return QSizeF(0, 0);
    if (w == h) {
        const double side = aw < ah ? aw : ah;
        return QSizeF(side, side);
    }
    if (w > h) {
        if (w >= aw) {
            h = h * aw / w;
            w = aw;
        }
        if (h >= ah) {
            w = w / (h / ah);
            h = ah;
        }
    } else {
        if (h >= ah) {
            w = w * ah / h;
            h = ah;
        }
        if (w >= aw) {
            h = h / (w / aw);
            w = aw;
        }
    }
    return QSizeF(w, h);
}

void SlideShow::showPicture()
{
    QLabel *image = m_form.obj().Image1;
    // The old picture stays until the new one is read and placed, so that the area never
    // shows its bare frame between two pictures.
    QImageReader reader(m_picFolder);
    const QImage picture = reader.read();
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1) {
        // A damaged picture clears the area; the show goes on with the next one.
        image->hide();
        image->clear();
        return;
    }
    image->setScaledContents(true);
    image->setPixmap(QPixmap::fromImage(picture));
    placePicture(picture.size());
}

void SlideShow::placePicture(const QSize &pictureSize)
{
    QLabel *image = m_form.obj().Image1;
    const PanelState &state = m_form.state();
    const QSizeF area(state.ImageWidth, state.ImageHeight);
    const QSizeF shown = FitPicture(pictureSize, area);
    image->setGeometry(toPixels(state.ImageLeft + (area.width() - shown.width()) / 2),
                       toPixels(state.ImageTop + (area.height() - shown.height()) / 2),
                       qMax(1, toPixels(shown.width())), qMax(1, toPixels(shown.height())));
    ImageBack->setGeometry(toPixels(state.ImageLeft), state.ImageTop, toPixels(area.width()),
                           toPixels(area.height()));

    // The frame takes the panel's colour just inside the area's corner.
    const QImage &panel = m_form.obj().FormPicture();
    const QPoint corner(toPixels(state.ImageLeft) + 2, state.ImageTop + 2);
    if (panel.valid(corner)) {
        const QColor colour = panel.pixelColor(corner);
        if (ImageBack->palette().color(QPalette::Window) != colour) {
            QPalette palette = ImageBack->palette();
            palette.setColor(QPalette::Window, colour);
            ImageBack->setPalette(palette);
        }
    }
    ImageBack->stackUnder(image);
    ImageBack->show();
    image->show();
    image->raise();
    image->repaint();
    QCoreApplication::processEvents();
}

void SlideShow::advanceCursor()
{
    const int count = m_files.listCount();
    int index = m_files.listIndex();
    if (index < count - 1)
        ++index;
    else if (count > 1)
        index = 0;
    if (index != m_files.listIndex())
        m_files.setListIndex(index);
    m_picFolder = AddPath(m_files.path(), index >= 0 ? m_files.list(index) : QString());
    if (m_picFolder == LastPic && index + 1 < count - 1)
        m_picFolder = AddPath(m_files.path(), m_files.list(index + 1));
}
