#pragma once

#include "PanelObjects.h"

#include <QImage>
#include <QString>
#include <QVector>

#include <future>

class ButtonColorSettings;
class PanelHost;
class frmProg;
struct PanelState;

// The panel on its window: the object set plus the operations that load a
// panel picture and build the key faces. The carrying window owns one,
// together with the PanelState and the colour settings it is given.
class PanelForm
{
public:
    PanelForm(PanelHost &host, PanelState &state, ButtonColorSettings &colors);
    PanelForm(PanelHost &host, PanelState &state, ButtonColorSettings &colors,
              const PanelObjects::Counts &counts);
    ~PanelForm();
    PanelForm(const PanelForm &) = delete;
    PanelForm &operator=(const PanelForm &) = delete;

    PanelHost &host() { return m_host; }
    PanelState &state() { return m_state; }
    ButtonColorSettings &colors() { return m_colors; }
    PanelObjects &obj() { return m_objects; }
    // The window that shows the building of key faces, built on first use with what it
    // would show by then: a start that takes every face from the cache never builds it.
    frmProg &progress();
    frmProg *progressIfBuilt() const { return m_prog; }

    // Panel load
    void ChkDeskName();
    // The default panel picture, Desk/Quorvel.JPG in the program folder.
    QString DefaultDeskPicFile() const;
    // No panel picture could be shown: the window wears a plain ground with a cap
    // drawn at every key, and builds its faces without the cache.
    bool plainPanel() const { return m_plainPanel; }
    void DeskLoad();
    void DeskUpdate(bool Rebuild);
    // Starts decoding the current panel picture on a worker thread, for the next DeskLoad
    // to take: the window's start has other work to do meanwhile.
    void prefetchDeskPicture();

    // Key faces
    void ButtonUpdate(bool Rebuild);
    void ButtonUpdateA(QVector<PanelKey *> &Keys, QVector<BackingPicture> &Masks, bool Rebuild);
    void ButtonMask(BackingPicture &Mask, PanelKey &Key, bool Rebuild);
    void ButtonDown1(QVector<PanelKey *> &Keys, QVector<QLabel *> &Companions, int Index);
    void ButtonDown(QVector<PanelKey *> &Keys, QVector<QLabel *> &Labels, int Index);

private:
    bool loadDeskPicture();
    QImage takePrefetched(const QString &path);
    bool fallBackToDefaultPanel();
    void usePlainPanel();
    void colourLabelsFromPicture();
    void buildFace(BackingPicture &Mask, PanelKey &Key);
    bool loadCachedFace(PanelKey &Key);
    void showProgressValue(int value);
    void showProgressPanel(const QString &text);
    void showProgressFile(const QString &text);

    PanelHost &m_host;
    PanelState &m_state;
    ButtonColorSettings &m_colors;
    PanelObjects m_objects;
    frmProg *m_prog = nullptr;
    int m_progressValue = 0;
    QString m_progressPanel;
    QString m_progressFile;
    bool m_plainPanel = false;
    QString m_prefetchedPath;
    std::future<QImage> m_prefetched;
};

// One key face: the panel piece recoloured under the mask. Pure, for the
// builder and its tests. Settings are read as the builder reads them.
QImage BuildKeyFace(const QImage &piece, const QImage &mask, int colorType,
                    int red, int green, int blue, int brightness);

// Key-face cache files, shared by every window that builds faces into the cache:
// written safely (false, and no file, when the face did not reach the disk whole),
// so no reader meets half a face; read whole, as bitmaps.
bool SaveKeyFaceBitmap(const QImage &face, const QString &path);
QImage LoadKeyFaceBitmap(const QString &path);
