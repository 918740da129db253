#include "ListBoxes.h"

#include "DirSearch.h"

#include <Drives.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>

namespace {

QIcon driveIcon(int type) {
    QStyle* style = QApplication::style();
    switch (type) {
    case Drives::TypeOptical: return style->standardIcon(QStyle::SP_DriveCDIcon);
    case Drives::TypeRemovable: return style->standardIcon(QStyle::SP_DriveFDIcon);
    default: return style->standardIcon(QStyle::SP_DriveHDIcon);
    }
}

// An existing, readable folder named by Path (case-insensitively), cleaned; "" when there is none.
// The root of an unmounted audio disc is such a folder: it holds the disc's track names.
QString readableFolder(const QString& path) {
    if (path.isEmpty()) return {};
    const QString resolved = QDir::cleanPath(DirSearch::ResolveCase(path));
    const QFileInfo info(resolved);
    if (info.isDir()) return info.isReadable() && info.isExecutable() ? resolved : QString();
    return Drives::AudioTrackNames(resolved).isEmpty() ? QString() : resolved;
}

// The visible files of a readable folder that match the ";"-joined pattern.
QStringList filesOf(const QString& folder, const QString& pattern) {
    const QStringList patterns = DirSearch::SplitPatterns(pattern);
    if (QFileInfo(folder).isDir()) return DirSearch::Names(folder, patterns, DirSearch::Files);
    QStringList tracks = Drives::AudioTrackNames(folder);
    if (!patterns.isEmpty())
        tracks.removeIf([&](const QString& name) { return !DirSearch::MatchesAny(name, patterns); });
    return tracks;
}

}  // namespace

// ---------------------------------------------------------------- DriveListBox

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    refresh();
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit Change(); });
}

QString DriveListBox::drive() const { return currentData().toString(); }

bool DriveListBox::setDrive(const QString& drive) {
    const auto found = Drives::Find(drive);
    if (!found) return false;
    const int index = findData(found->root);
    if (index < 0) return false;
    setCurrentIndex(index);
    return true;
}

int DriveListBox::listCount() const { return count(); }

QString DriveListBox::list(int index) const { return itemText(index); }

int DriveListBox::listIndex() const { return currentIndex(); }

void DriveListBox::setListIndex(int index) { setCurrentIndex(index); }

void DriveListBox::refresh() {
    const QString chosen = drive();
    {
        const QSignalBlocker quiet(this);
        clear();
        for (const Drives::Drive& d : Drives::List()) {
            addItem(Drives::EntryText(d), d.root);
            setItemData(count() - 1, d.type, DriveTypeRole);
        }
        const int kept = findData(chosen);
        setCurrentIndex(kept >= 0 ? kept : (count() > 0 ? 0 : -1));
    }
    if (isVisible()) showIcons();
    if (drive() != chosen) emit Change();
}

void DriveListBox::showEvent(QShowEvent* event) {
    showIcons();
    QComboBox::showEvent(event);
}

void DriveListBox::showIcons() {
    for (int i = 0; i < count(); ++i)
        if (itemIcon(i).isNull()) setItemIcon(i, driveIcon(itemData(i, DriveTypeRole).toInt()));
}

// ---------------------------------------------------------------- DirListBox

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::currentRowChanged, this, [this] { emit Click(); });
    connect(this, &QListWidget::itemActivated, this, &DirListBox::openItem);
}

QString DirListBox::path() const { return path_; }

bool DirListBox::setPath(const QString& path) {
    const QString folder = readableFolder(path);
    if (folder.isEmpty()) return false;
    const bool changed = folder != path_;
    path_ = folder;
    rebuild();
    if (changed) emit Change();
    return true;
}

int DirListBox::listCount() const { return int(subfolders_.size()); }

QString DirListBox::list(int index) const {
    if (index >= 0) return index < subfolders_.size() ? subfolders_[index] : QString();
    const int fromTop = int(ancestors_.size()) + index;
    return fromTop >= 0 ? ancestors_[fromTop] : QString();
}

int DirListBox::listIndex() const {
    const int row = currentRow();
    return row < 0 ? -1 : row - int(ancestors_.size());
}

void DirListBox::setListIndex(int index) {
    const int row = index + int(ancestors_.size());
    if (row >= 0 && row < count()) setCurrentRow(row);
}

void DirListBox::refresh() {
    if (readableFolder(path_).isEmpty()) return;  // keep what is shown when the folder went away
    rebuild();
}

void DirListBox::rebuild() {
    ancestors_.clear();
    const QString root = Drives::RootOf(path_);
    QString walk = path_;
    while (true) {
        ancestors_.prepend(walk);
        if (walk == root || walk == QLatin1String("/") || walk.isEmpty()) break;
        const int slash = walk.lastIndexOf(QLatin1Char('/'));
        walk = slash <= 0 ? QStringLiteral("/") : walk.left(slash);
    }
    subfolders_.clear();
    for (const QString& name : DirSearch::Names(path_, {}, DirSearch::Folders))
        subfolders_ << (path_.endsWith(QLatin1Char('/')) ? path_ + name : path_ + QLatin1Char('/') + name);

    const QSignalBlocker quiet(this);
    clear();
    QStyle* style = QApplication::style();
    int depth = 0;
    for (const QString& folder : ancestors_) {
        const QString name = depth == 0 ? folder : QFileInfo(folder).fileName();
        auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirOpenIcon),
                                         QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, folder);
        ++depth;
    }
    for (const QString& folder : subfolders_) {
        auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirClosedIcon),
                                         QString(depth * 2, QLatin1Char(' ')) + QFileInfo(folder).fileName(), this);
        item->setData(Qt::UserRole, folder);
    }
    setCurrentRow(int(ancestors_.size()) - 1);
}

void DirListBox::openItem(QListWidgetItem* item) {
    if (item) setPath(item->data(Qt::UserRole).toString());
}

void DirListBox::keyPressEvent(QKeyEvent* event) {
    // Enter opens the folder, as a double click does, and goes no further: in a dialog it
    // would also press the default button and take the folder before the user is there.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        openItem(currentItem());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

// ---------------------------------------------------------------- FileListBox

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::currentRowChanged, this, [this] { emit Click(); });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit DblClick(); });
}

QStringList FileListBox::filesIn(const QString& path, const QString& pattern) {
    const QString folder = readableFolder(path);
    if (folder.isEmpty()) return {};
    return filesOf(folder, pattern);
}

QString FileListBox::path() const { return path_; }

bool FileListBox::setPath(const QString& path) {
    const QString folder = readableFolder(path);
    if (folder.isEmpty()) return false;
    const bool changed = folder != path_;
    path_ = folder;
    refresh();
    if (changed) emit PathChange();
    return true;
}

QString FileListBox::pattern() const { return pattern_; }

void FileListBox::setPattern(const QString& pattern) {
    const bool changed = pattern != pattern_;
    pattern_ = pattern;
    refresh();
    if (changed) emit PatternChange();
}

QString FileListBox::fileName() const { return list(listIndex()); }

bool FileListBox::setFileName(const QString& name) {
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text().compare(name, Qt::CaseInsensitive) == 0) {
            setCurrentRow(i);
            return true;
        }
    }
    return false;
}

int FileListBox::listCount() const { return count(); }

QString FileListBox::list(int index) const {
    const QListWidgetItem* entry = index >= 0 ? item(index) : nullptr;
    return entry ? entry->text() : QString();
}

int FileListBox::listIndex() const { return currentRow(); }

void FileListBox::setListIndex(int index) { setCurrentRow(index); }

void FileListBox::setMultiSelect(bool on) {
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool FileListBox::selected(int index) const {
    const QListWidgetItem* entry = index >= 0 ? item(index) : nullptr;
    return entry && entry->isSelected();
}

void FileListBox::setSelected(int index, bool on) {
    if (QListWidgetItem* entry = index >= 0 ? item(index) : nullptr) entry->setSelected(on);
}

void FileListBox::refresh() {
    const QSignalBlocker quiet(this);
    clear();
    if (path_.isEmpty()) return;
    addItems(filesOf(path_, pattern_));
    setCurrentRow(-1);
}
