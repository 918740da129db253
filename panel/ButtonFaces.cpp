#include "PanelForm.h"

#include "ButtonColorSettings.h"
#include "PanelGeometry.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "frmProg.h"

#include "DirSearch.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "PictureFile.h"
#include "SafeFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QPainter>
#include <QProgressBar>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {
constexpr double ProgressKeys = 29;  // the bar's divisor; 28 keys end just short of 100

inline int channel(double value)
{
    return int(std::nearbyint(std::clamp(value, 0.0, 255.0)));  // halves to even
}

// True when the bitmap holds every byte its header promises: a cache file cut short (a full
// disk, a crash while writing) decodes without complaint, the missing rows as noise.
bool wholeBitmap(const QByteArray &bytes)
{
    if (bytes.size() < 30 || !bytes.startsWith("BM"))
        return false;
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
    if (qFromLittleEndian<quint32>(b + 2) > quint32(bytes.size()))
        return false;
    if (qFromLittleEndian<quint32>(b + 14) < 40 || bytes.size() < 34 || qFromLittleEndian<quint32>(b + 30) != 0)
        return true;  // an old header or compressed rows: the declared file size is all there is to check
    const qint64 width = qFromLittleEndian<qint32>(b + 18);
    const qint64 height = std::llabs(qint64(qFromLittleEndian<qint32>(b + 22)));
    const qint64 rowBytes = (width * qFromLittleEndian<quint16>(b + 28) + 31) / 32 * 4;
    const qint64 pixelBytes = bytes.size() - qint64(qFromLittleEndian<quint32>(b + 10));
    return pixelBytes >= 0 && (rowBytes <= 0 || height <= pixelBytes / rowBytes);  // divided: no overflow
}

}  // namespace

bool SaveKeyFaceBitmap(const QImage &picture, const QString &path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // A face that did not reach the disk whole (a full disk) is no saved face.
    return QImageWriter(&buffer, "BMP").write(picture) && SafeFile::write(path, bytes);
}

// Read whole and decoded as a bitmap by name: probing every picture format and
// reading in small pieces would cost more than the decoding itself.
QImage LoadKeyFaceBitmap(const QString &path)
{
    QFile file(DirSearch::ResolveCase(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return wholeBitmap(bytes) ? PictureFile::fromData(bytes, "BMP") : QImage();
}

QImage BuildKeyFace(const QImage &piece, const QImage &maskPicture, int colorType,
                    int red, int green, int blue, int brightness)
{
    QImage face = piece.convertToFormat(QImage::Format_RGB32);
    if (maskPicture.isNull() || face.isNull())
        return face;
    const QImage mask = maskPicture.convertToFormat(QImage::Format_RGB32);
    const QRgb key = mask.pixel(0, 0) & 0xFFFFFF;
    const int width = std::min(face.width(), mask.width());
    const int height = std::min(face.height(), mask.height());
    const double R = red + brightness, G = green + brightness, B = blue + brightness;

    for (int y = 0; y < height; ++y) {
        QRgb *out = reinterpret_cast<QRgb *>(face.scanLine(y));
        const QRgb *in = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb m = in[x] & 0xFFFFFF;
            if (m == key)
                continue;  // outside the button: the panel shows through
            const int mr = qRed(m), mg = qGreen(m), mb = qBlue(m);
            double r, g, b;
            if (colorType == ButtonColorSettings::Original) {
                r = mr; g = mg; b = mb;
            } else {
                if (colorType == ButtonColorSettings::Transparent) {
                    r = qRed(out[x]) + R; g = qGreen(out[x]) + G; b = qBlue(out[x]) + B;
                } else {
                    r = R; g = G; b = B;
                }
                if ((r + g + b) / 3 >= 210) {
                    r -= 20; g -= 20; b -= 20;
                }
                // The mask shades the colour: 255 doubles it, about 128 keeps it.
                r = r * (mr / 255.0) * 2;
                g = g * (mg / 255.0) * 2;
                b = b * (mb / 255.0) * 2;
            }
            out[x] = qRgb(channel(r), channel(g), channel(b));
        }
    }
    return face;
}

void PanelForm::ButtonUpdate(bool Rebuild)
{
    m_state.ButtonCount = 0;
    if (m_colors.familyTicked(ButtonColorSettings::ControlBar))
        ButtonUpdateA(m_objects.PicCtl, m_objects.PicCtlBak, Rebuild);
    if (m_colors.familyTicked(ButtonColorSettings::NumberPad))
        ButtonUpdateA(m_objects.PicNum, m_objects.PicNumBak, Rebuild);
    if (m_colors.familyTicked(ButtonColorSettings::TitleButtons))
        ButtonUpdateA(m_objects.PicButton, m_objects.PicButtonB, Rebuild);
}

void PanelForm::ButtonUpdateA(QVector<PanelKey *> &Keys, QVector<BackingPicture> &Masks, bool Rebuild)
{
    for (int i = 0; i < Keys.size(); ++i) {
        ++m_state.ButtonCount;
        BackingPicture none;
        ButtonMask(i < Masks.size() ? Masks[i] : none, *Keys[i], Rebuild);
        showProgressValue(int(m_state.ButtonCount / ProgressKeys * 100));
    }
}

void PanelForm::ButtonMask(BackingPicture &Mask, PanelKey &Key, bool Rebuild)
{
    if (m_objects.ImageDesk->isVisible()) {
        const QPixmap desk = m_objects.ImageDesk->pixmap();
        if (!desk.isNull())
            m_objects.setFormPicture(desk.toImage());
        m_objects.ImageDesk->hide();
    }
    showProgressFile(m_state.ButtonCacheFile);

    // Faces on a plain ground are not the panel's: they neither come from nor go to its cache.
    bool faceReady = false;
    if (!Rebuild && !m_plainPanel && FileExist(m_state.ButtonCacheFile)) {
        WriteLog(QStringLiteral("載入按鈕-") + m_state.ButtonCacheFile);
        faceReady = loadCachedFace(Key);
    }
    if (!faceReady)
        buildFace(Mask, Key);

    int digits = 2;
    m_state.ButtonCacheFile = AddFileNum(m_state.ButtonCacheFile, 1, digits);
}

bool PanelForm::loadCachedFace(PanelKey &Key)
{
    QImage face = LoadKeyFaceBitmap(m_state.ButtonCacheFile);
    if (face.isNull())
        return false;  // a damaged cache file is built anew
    if (Key.width() > 0 && Key.height() > 0 && face.size() != Key.size())
        face = face.scaled(Key.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    Key.setPicture(face);
    return true;
}

void PanelForm::buildFace(BackingPicture &Mask, PanelKey &Key)
{
    WriteLog(QStringLiteral("產生按鈕-") + m_state.ButtonCacheFile);
    frmProg &prog = progress();
    if (!prog.isVisible()) {
        m_host.hideForm();
        prog.show();
        QCoreApplication::processEvents();
    }
    // The face has the key's size. A mask of another size (the key's own could not be read, so
    // the built-in layout's stayed) is stretched to it, as the definition reader stretches masks.
    const int width = Key.width() > 0 ? Key.width() : Mask.Width;
    const int height = Key.height() > 0 ? Key.height() : Mask.Height;
    const QImage piece = m_objects.FormPicture().isNull()
        ? QImage()
        : m_objects.FormPicture().copy(Key.x(), Key.y(), width, height);
    Key.setPicture(piece);
    QImage mask = Mask.Picture;
    if (!mask.isNull() && mask.size() != QSize(width, height) && width > 0 && height > 0)
        mask = mask.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);

    QLabel *message = m_objects.Label1;
    message->setVisible(true);
    message->setText(QStringLiteral("製造按鈕中,請稍後...\r\n") + GetFileName(m_state.ButtonCacheFile));
    message->repaint();

    const QImage face = BuildKeyFace(piece, mask, m_colors.ColorType(), m_colors.red(),
                                     m_colors.green(), m_colors.blue(), m_colors.brightness());
    Key.setPicture(face);
    if (!m_plainPanel && FileExist(m_state.ButtonCacheFile))
        DelFile(m_state.ButtonCacheFile);
    QCoreApplication::processEvents();
    if (!face.isNull() && !m_plainPanel)
        SaveKeyFaceBitmap(face, m_state.ButtonCacheFile);
    if (!face.isNull())
        Key.resize(face.size());
}

void PanelForm::ButtonDown1(QVector<PanelKey *> &Keys, QVector<QLabel *> &Companions, int Index)
{
    if (Index < 0 || Index >= Keys.size())
        return;
    PanelKey *key = Keys[Index];
    m_objects.PictBack = key->Picture();
    const int w = key->width(), h = key->height();
    QImage pressed(key->size(), QImage::Format_RGB32);
    pressed.fill(Qt::black);
    if (!key->Picture().isNull()) {
        pressed = key->Picture().convertToFormat(QImage::Format_RGB32).copy(0, 0, w, h);
        QPainter painter(&pressed);
        painter.drawImage(QRect(m_state.PressOffsetX, m_state.PressOffsetY, w - 1, h - 1), m_objects.PictBack);
    }
    key->setPicture(pressed);
    if (Index < Companions.size()) {
        QLabel *companion = Companions[Index];
        companion->move(companion->x() + m_state.PressOffsetX, companion->y() + m_state.PressOffsetY);
        companion->update();
    }
    QCoreApplication::processEvents();
}

void PanelForm::ButtonDown(QVector<PanelKey *> &Keys, QVector<QLabel *> &Labels, int Index)
{
    if (Index < 0 || Index >= Keys.size())
        return;
    PanelKey *key = Keys[Index];
    m_objects.PictBack = key->Picture();
    key->setProperty("DrawWidth", 3);
    if (Index < Labels.size()) {
        QLabel *label = Labels[Index];
        label->move(label->x() + m_state.PressOffsetX, label->y() + m_state.PressOffsetY);
        label->update();
    }
    QCoreApplication::processEvents();
}
