#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class PanelForm;
class frmDir;

// One item of the context menu's panel list (mDeskPic): the panel picture's
// full path, its caption with its pixel size, and whether it fits the screen.
struct DeskMenuEntry
{
    QString Tag;
    QString Caption;
    bool Enabled = true;
};

// Choosing the panel the window wears and keeping it usable on the screen:
// the panel list, the screen-size class, applying a panel and opening the
// panel picture browser. Works on the panel of the carrying window.
class PanelChoice
{
public:
    explicit PanelChoice(PanelForm &form);
    ~PanelChoice();
    PanelChoice(const PanelChoice &) = delete;
    PanelChoice &operator=(const PanelChoice &) = delete;

    // Adds the full paths of the files matching "<folder>/<pattern>" to Names
    // from index Start, at most 255 of them; returns Start + the number of
    // matches (all of them, also beyond 255).
    static int ScanFIleA(const QString &PathPattern, QStringList &Names, int Start);

    // The screen-size class of a screen: 640, 800, 1024, 1152, 1280 or 1600 by
    // the heights 480, 600, 768, 864, 1024 and 1200; otherwise the width.
    static qint16 ScreenClassOf(int widthPixels, double heightPixels);

    // The panel list: every picture of SkinDir with its size, enabled when it
    // fits ScreenClass x ScreenHeight.
    QVector<DeskMenuEntry> ChkDeskFile();
    // The list's caption for a picture: "Blue.jpg (W640 x H480)".
    static QString deskCaption(const QString &fileName, int width, int height);

    // Sets ScreenClass and ScreenHeight from the screen, rebuilds the panel
    // list (deskMenuChanged) and, when the panel no longer fits, hides the
    // window, says so and opens the browser.
    void ScreenResize();
    // Applies the panel DeskPicFile names.
    void DeskShow();
    // Stops the media, opens the browser with its first page and disables the window.
    void SeleDesk();

    // The panel picture browser, created on first use.
    frmDir &browser();

    // Called with the new panel list whenever ChkDeskFile ran for ScreenResize.
    std::function<void(const QVector<DeskMenuEntry> &)> deskMenuChanged;

    // State kept for the browser
    bool SavedImageVisible = false;
    qint64 SavedPosition = 0;
    double SavedLength = 0;

    PanelForm &form() { return m_form; }

private:
    // The screen in pixels, as the screen-size class is taken from it.
    QRect screenPixels() const;
    // The browser fitted into the screen when it does not lie whole on it.
    void keepBrowserOnScreen();

    PanelForm &m_form;
    std::unique_ptr<frmDir> m_browser;
};
