#pragma once

#include <QImage>
#include <QLabel>
#include <QString>
#include <QVector>
#include <QWidget>

#include <array>

class DirListBox;
class DriveListBox;
class FileListBox;
class PanelChoice;
class QComboBox;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;

// One thumbnail cell of the browser: its file's path as tooltip, the size of
// the picture it shows in Tag ("0640-0480"), and the drawn thumbnail.
class PictureCell : public QLabel
{
    Q_OBJECT
public:
    PictureCell(QWidget *parent, int index);
    int Index() const { return m_index; }
    QString Tag;
    // The cell shows a picture now (not a file name or the failure text).
    bool ShowsPicture = false;

signals:
    void MouseDown(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    int m_index;
};

// The panel picture browser "PicView": folders of pictures as pages of
// square thumbnails; clicking one that fits the screen makes it the panel.
class frmDir : public QWidget
{
    Q_OBJECT
public:
    explicit frmDir(PanelChoice &choice, QWidget *parent = nullptr);
    ~frmDir() override;

    // Fills the current page of thumbnails.
    void ReadPic();
    // Cell size and page size from the grid size and the window.
    void SizeAcc();
    // Enables the main window, hides the browser and releases the pictures.
    void CloseForm();
    // Where the thumbnails lie: left of the controls and above the page bar.
    QRect gridArea() const;
    // The window with its frame no larger than the screen (pixels), in its middle.
    void fitToScreen(const QRect &screen);

    // Event handlers
    void HScroll1_Change();
    void Form_KeyPress(int KeyAscii);
    void Drive1_Change();
    void Dir1_Change();
    void Command1_Click();  // "目錄重整"
    void Command2_Click();  // "圖形編輯"
    void Command3_Click();  // "下一個目錄"
    void PattenList_Click();
    void SizeList_Click();
    void Option1_Click(int Index);
    void Picture1_MouseDown(int Index);

    // The outside picture editor "圖形編輯" starts (empty: none found).
    QString PictureEditor;

    // Controls
    DriveListBox *Drive1;
    DirListBox *Dir1;
    FileListBox *File1;
    QComboBox *PattenList;
    QComboBox *SizeList;
    QPushButton *Command1, *Command2, *Command3;
    std::array<QRadioButton *, 5> Option1;
    QVector<PictureCell *> Picture1;
    QImage Picture2;  // the loader of one full-size picture
    QScrollBar *HScroll1;
    QLabel *Label1;
    QStatusBar *StatusBar1;
    QMenu *mEdit;

    // Grid
    double GridCols = 2, GridRows = 2;
    double PageLast = 3;
    double CellWidth = 0, CellHeight = 0;
    qint16 CellGap = 0;
    // The cell Command2 opens: the last cell clicked.
    PictureCell *CurrentPicture = nullptr;
    std::array<QString, 5> QuickFolders;
    // Closed by its close box: the next use loads the window anew.
    bool Unloaded = false;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void createControls();
    void placeControls();
    void layOut();
    void placeCell(int k);
    PictureCell *cell(int k);
    PictureCell *newCell(int index);
    void fillCell(PictureCell *cell, const QString &path);
    void showFailure(PictureCell *cell);
    void drawThumbnail(PictureCell *cell);
    void printName(PictureCell *cell, const QString &name);
    int margin() const;

    PanelChoice &m_choice;
    bool m_readingPage = false;
};
