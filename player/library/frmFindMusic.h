#pragma once
// The song-book window: its disc list and the two options the song-book scan reads.

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class frmFindMusic : public QWidget
{
    Q_OBJECT
public:
    explicit frmFindMusic(QWidget* parent = nullptr);

    // Fills the disc list from the CD-ROM library file: "DiscNum" of section "CDROM", then one
    // row per numbered entry "serial,label,date" (entries without "," are skipped).
    void ReadDiscList(const QString& cdromLibFile);

    // Hides the window and gives the windows it disabled back to the user.
    void CloseForm();

    QCheckBox* Check1 = nullptr;      // "自動編號"
    QCheckBox* Check2 = nullptr;      // "加入原光碟標籤"
    QLineEdit* Text1 = nullptr;       // search text
    QLineEdit* Text2 = nullptr;       // volume prefix
    QTreeWidget* ListView1 = nullptr; // search results
    QTreeWidget* ListView2 = nullptr; // discs
    QPushButton* Command2[3] = {};    // "匯出歌本", "匯入歌本", "放棄"

signals:
    // Hidden by CloseForm: the opener enables itself (and the main window when needed).
    void closed();
    // Closed by its close box: the player's options, these boxes among them, are stored.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
};
