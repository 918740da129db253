#pragma once
// The folder picker: a drive list, a folder list and the file list of the
// chosen folder filtered by a pattern. ShowSeleDir drives it.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class DriveListBox;
class DirListBox;
class FileListBox;

// In: the folder to start from. Out: the chosen folder, "" when cancelled.
extern QString SeleDirPath;
// In: the file patterns to list, joined by ";" ("*.jpg;*.bmp;*.gif").
extern QString SeleDirPattern;
// True while the picker is open.
extern bool SeleDirBusy;

class frmSeleDir : public QDialog {
    Q_OBJECT
public:
    explicit frmSeleDir(QWidget* parent = nullptr);

    // Moves the lists to SeleDirPath and SeleDirPattern; positions that fail are skipped.
    void PlaceAt(const QString& path, const QString& pattern);
    // Hides the picker and ends the wait of ShowSeleDir.
    void CloseForm();
    // Esc and the cancel button: no folder chosen.
    void reject() override;

    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    FileListBox* File1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command5 = nullptr;  // "確定"
    QPushButton* Command6 = nullptr;  // "取消"

signals:
    // CloseForm ran: the picker is hidden and SeleDirBusy is false.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Drive1_Change();
    void Dir1_Change();
    void Command5_Click();
    void Command6_Click();
    void ShowFolder();

    QString m_startPath;  // the SeleDirPath the caller came in with
};

// The open picker (created on first use, recreated after its window was
// closed); nullptr before the first ShowSeleDir.
frmSeleDir* SeleDirForm();

// Shows the picker at SeleDirPath listing SeleDirPattern and waits, letting
// events run, until it closes; leaves the answer in SeleDirPath. A call while
// the picker is already open returns at once with "" (cancelled).
void ShowSeleDir();
