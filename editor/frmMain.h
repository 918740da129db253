#pragma once
// The editor's main window: the multiple-document frame around the canvas,
// menus, toolbar with the zoom and step boxes, status bar, the file commands,
// the recent files, the tool windows and the window placement.

#include "CanvasOwner.h"

#include <QMainWindow>
#include <QPointer>
#include <QVector>

#include <functional>
#include <memory>

class EditorColorCanvas;
class FrmColor;
class frmButtonMask;
class frmPic;
class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QToolBar;

struct EditorState;

class frmMain : public QMainWindow, public CanvasOwner
{
    Q_OBJECT
public:
    explicit frmMain(EditorState &state, QWidget *parent = nullptr);
    ~frmMain() override;

    // ---- public procedures
    void ConOn(bool Flag);
    // Opens a panel picture with its definition file; False (and a message)
    // when the picture cannot be read, the panel open before staying as it was.
    bool OpenFile(const QString &FileName);
    void FileReg();
    void AddFileList(const QString &FileName);
    void CloseForm();
    void ResizePic();
    void ZooPic();
    void ZooObj(double NewZoom, double OldZoom);

    // ---- commands (menu items and toolbar keys)
    void mnuFileOpenIni_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileOpen_Click();
    void InputButtonIniFile_Click();
    void mnuFileMRU_Click(int Index);
    void mnuEditUndo_Click();
    void mColorTool_Click();
    void mnuButtonMask_Click();
    void mnuViewRefresh_Click();
    void mCTLObj_Click(int Index);
    void mNumObj_Click(int Index);
    void mButtonObj_Click(int Index);
    void mImage_Click();
    void mnuHelpAbout_Click();
    void mreadme_Click();
    void Combo1_Click();
    void Combo2_Click();
    void mFontName_Click();
    void mFontZooOut_Click();
    void mFontZooIn_Click();
    void mFont_Click(int Index);
    void mWidthAdd_Click();
    void mWidthDel_Click();
    void mWidthDig_Click(int Index);
    void tbToolBar_ButtonClick(const QString &Key);

    // ---- CanvasOwner
    void setStatusText(const QString &text) override;
    void setProgressValue(int percent) override;
    void setMainCaption(const QString &caption) override;
    void setUndoEnabled(bool enabled) override;
    void popupFontMenu(const QPoint &globalPos) override;
    void canvasClosed() override;
    void colorSamplesChanged(const QImage &title, const QImage &number, const QImage &control) override;

    // ---- parts, for the tests and the tool windows
    frmPic *canvas() const { return m_pic; }
    QMdiSubWindow *canvasWindow() const { return m_picWindow; }
    frmButtonMask *maskGallery() const { return m_gallery; }
    QDockWidget *maskGalleryDock() const { return m_galleryDock; }
    FrmColor *colorTool() const { return m_color; }
    QDockWidget *colorToolDock() const { return m_colorDock; }
    QComboBox *Combo1() const { return m_combo1; }
    QComboBox *Combo2() const { return m_combo2; }
    QProgressBar *ProgressBar1() const { return m_progress; }
    QString statusText() const;
    QAction *mnuFileMRU(int Index) const { return m_mru.value(Index); }
    QAction *nd2() const { return m_nd2; }
    QAction *mnuEditUndo() const { return m_undo; }
    QAction *mnuButtonMask() const { return m_maskAction; }
    QAction *mColorTool() const { return m_colorAction; }
    QAction *mImage() const { return m_imageAction; }
    QAction *objectItem(const QString &family, int Index) const;
    QList<QAction *> panelCommands() const { return m_panelCommands; }
    QMenu *fontMenu() const { return m_fontMenu; }
    bool panelOpen() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus();
    void buildFileMenu();
    void buildObjectMenu();
    void buildFontMenu();
    void buildToolBar();
    void buildStatusBar();
    void buildToolWindows();
    void placeWindow();
    void readRecentFiles();
    void showRecentFiles(const QStringList &entries);
    QStringList recentFiles() const;
    void FitPicForm();
    void hideCanvas();
    void showCanvas();
    void setZoomText(const QString &text);
    // Sets the zoom box to "100%" and applies it (the file commands work at full size).
    void returnToFullSize();
    // 關閉 and the canvas window's close box: the panel commands go off.
    void closePanel();
    void toggleObject(QWidget *control, QAction *item);
    void applyFontCommand(const std::function<void(QLabel *)> &command);
    // 字型加大 (+1) and 字型縮小 (-1) on the font label.
    void stepFontSize(int points);
    void showToolWindows(bool shown);
    int colorToolWidth() const;
    bool saveDefinition();
    void takeMaskSizeFromColorTool();
    void tileWindows(Qt::Orientation orientation);
    void arrangeIcons();
    bool eventFilter(QObject *watched, QEvent *event) override;

    EditorState &m_state;
    QMdiArea *m_mdi = nullptr;
    frmPic *m_pic = nullptr;
    QMdiSubWindow *m_picWindow = nullptr;
    frmButtonMask *m_gallery = nullptr;
    QDockWidget *m_galleryDock = nullptr;
    QComboBox *m_combo1 = nullptr;
    QComboBox *m_combo2 = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_statusText = nullptr;
    QLabel *m_statusDate = nullptr;
    QLabel *m_statusTime = nullptr;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_fontMenu = nullptr;
    QVector<QAction *> m_mru;  // 0 the separator, 1..6 the files
    QAction *m_nd2 = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_maskAction = nullptr;
    QAction *m_colorAction = nullptr;
    QAction *m_imageAction = nullptr;
    QAction *m_saveKey = nullptr;
    QAction *m_toolbarAction = nullptr;
    QAction *m_statusAction = nullptr;
    QVector<QAction *> m_ctlItems, m_numItems, m_buttonItems;
    QList<QAction *> m_panelCommands;  // what ConOn switches
    std::unique_ptr<EditorColorCanvas> m_colorCanvas;
    FrmColor *m_color = nullptr;
    QDockWidget *m_colorDock = nullptr;
    bool m_closing = false;
    bool m_colorToolFitted = false;  // the colour tool took its own width at the first show
    bool m_zooming = false;  // tool windows hidden by a zoom keep their ticks
};
