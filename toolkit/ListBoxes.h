#pragma once
// The drive, folder and file list boxes that the windows of the suite carry
// (Drive1, Dir1, File1). They keep the members those controls have: a drive
// list with Drive, a folder list with Path, a file list with Path, Pattern and
// FileName, all with ListCount / List / ListIndex, and Change, Click and
// DblClick signals. Hidden names (starting with ".") are never listed.

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>

// Drive list: one entry per drive, "<root> [<label>]" (see platform/Drives.h).
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);

    // The chosen drive's root ("/", "/media/disc", "/dev/sr0").
    QString drive() const;
    // Chooses the drive named by a root, device, entry text or any path on it.
    // False (and no change) when no listed drive matches.
    bool setDrive(const QString& drive);

    int listCount() const;
    QString list(int index) const;  // the entry text
    int listIndex() const;
    void setListIndex(int index);

    // Reads the drives again, keeping the chosen one when it is still there.
    void refresh();

signals:
    // The chosen drive changed, by the user or by setDrive / setListIndex.
    void Change();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The drive icons come from the icon theme, whose first look-up costs several
    // milliseconds: a list that is never shown (the main window's) never pays for it.
    void showIcons();
    static constexpr int DriveTypeRole = Qt::UserRole + 1;
};

// Folder list: the current folder's ancestors (from the drive root down, the
// current folder last, drawn indented) followed by its subfolders. As in the
// classic control, list(-1) is the current folder, list(-2) its parent and so
// on; list(0) .. list(listCount() - 1) are the subfolders. A click selects an
// entry; a double click (or Enter) opens it, which changes Path.
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);

    QString path() const;
    // Opens an existing folder (a drive root included). False, with the list
    // unchanged, when Path names no readable folder.
    bool setPath(const QString& path);

    int listCount() const;          // number of subfolders
    QString list(int index) const;  // full path of an entry; "" out of range
    int listIndex() const;          // entry selected; -1 is the current folder
    void setListIndex(int index);

    void refresh();

signals:
    void Change();  // Path changed
    void Click();   // the selected entry changed

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();
    void openItem(QListWidgetItem* item);

    QString path_;
    QStringList ancestors_;  // drive root ... current folder
    QStringList subfolders_;
};

// File list: the files of Path that match Pattern (wildcard names joined by
// ";", without regard to case), sorted by name.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // What the list shows for Path and Pattern, without a list: {} when Path names no
    // readable folder.
    static QStringList filesIn(const QString& path, const QString& pattern);

    QString path() const;
    // False, with the list unchanged, when Path names no readable folder.
    bool setPath(const QString& path);
    QString pattern() const;
    void setPattern(const QString& pattern);  // "" lists everything

    // The selected file's name ("" when none); setting it selects that name
    // when it is listed and returns whether it was.
    QString fileName() const;
    bool setFileName(const QString& name);

    int listCount() const;
    QString list(int index) const;  // the file name; "" out of range
    int listIndex() const;          // -1 when nothing is current
    void setListIndex(int index);

    void setMultiSelect(bool on);
    bool selected(int index) const;
    void setSelected(int index, bool on);

    // Reads the folder again.
    void refresh();

signals:
    void PathChange();
    void PatternChange();
    void Click();
    void DblClick();

private:
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
};
