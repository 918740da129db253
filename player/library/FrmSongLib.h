#pragma once
// The prompt that asks for the song book label of a newly found disc.

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class FrmSongLib : public QDialog
{
    Q_OBJECT
public:
    explicit FrmSongLib(QWidget* parent = nullptr);

    // Shows the prompt without blocking other windows and waits, letting events run, until it
    // is hidden; returns SongBookOK. Closing it by its frame counts as Cancel.
    bool Ask();

    // "確定" (0) sets SongBookOK, "取消" (1) clears it; both close the prompt.
    void Command1_Click(int Index);
    void CloseForm();

    bool SongBookOK = false;

    QLabel* Label2[4] = {};       // disc key, volume label, number of folders, date range
    QLineEdit* Text1 = nullptr;   // the song book label
    QListWidget* List1 = nullptr; // the song folders
    QPushButton* Command1[2] = {};

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
