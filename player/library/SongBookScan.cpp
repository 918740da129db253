#include "SongBookScan.h"

#include "Drives.h"
#include "FrmSongLib.h"
#include "frmFindMusic.h"
#include "LibraryHost.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "SongBookFiles.h"
#include "SongFolderScan.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>

#include <algorithm>

namespace {

// A song book file that could not be written: said on the message line, where the recording
// is announced, and in the log.
void tellNotWritten(LibraryHost& host, const QString& file)
{
    host.showMessage(QStringLiteral("歌本寫入失敗-") + file);
    WriteLog(QStringLiteral("歌本寫入失敗-") + file);
}

// A stored folder ("/" or "/MP3/Album") on the drive whose root is Root.
QString onDrive(const QString& root, const QString& stored)
{
    if (stored == QLatin1String("/")) return root;
    return root.endsWith(QLatin1Char('/')) ? root + stored.mid(1) : root + stored;
}

QString volumeLabelOf(const QString& path)
{
    const auto drive = Drives::Find(path);
    return drive ? drive->label : QString();
}

// Alphabetical order without regard to case, each name folded once rather than at every
// comparison (twenty thousand folders sort in milliseconds); equal names keep their order.
void sortWithoutCase(QStringList& names)
{
    QList<std::pair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (const QString& name : names) keyed.append({name.toCaseFolded(), name});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (qsizetype i = 0; i < keyed.size(); ++i) names[i] = keyed[i].second;
}

}  // namespace

QString ProposedSongBookLabel(const SongBookLabelOptions& options, int discCount, const QString& volumeLabel)
{
    QString text = options.addVolumeLabel ? volumeLabel : QString();
    if (options.autoNumber) {
        const QString title = options.prefix + ZeroFill(discCount + 1, 3);
        text = text.isEmpty() ? title : title + QLatin1Char('(') + text + QLatin1Char(')');
    }
    return text;
}

SongBookScan::SongBookScan(LibraryHost& host) : host_(host)
{
    askLabel = [](FrmSongLib& prompt) { return prompt.Ask(); };
}

SongBookScan::~SongBookScan()
{
    delete prompt_;
}

FrmSongLib& SongBookScan::prompt()
{
    if (!prompt_) prompt_ = new FrmSongLib(host_.mainWindow());
    return *prompt_;
}

bool SongBookScan::isDiscRoot(const QString& path) const
{
    return path.startsWith(QLatin1Char('/')) && CutDrive(path).isEmpty();
}

int SongBookScan::ScanMp3(const QString& Path, const SongBookLabelOptions& options)
{
    const QString discKey = DiscKeyOf(GetVolSerial(Path));
    PlayArray.clear();
    songFiles_.clear();
    Title.clear();
    MsgAnswer = 0;

    const bool cdromRoot = isDiscRoot(Path) && host_.driveKind() == 5;
    if (cdromRoot) readKnownDisc(discKey);

    // Events run while the folders are found (another scan may start meanwhile): the title
    // found for the disc is this scan's.
    const QString knownTitle = Title;
    if (!Title.isEmpty() && MsgAnswer == 6 && cdromRoot) {
        reuseFolders(Path, discKey);
        Title = knownTitle;
    } else {
        const bool mayRecord = isDiscRoot(Path) && MsgAnswer == 6;
        scanFolders(Path, mayRecord && host_.songBookTicked());
        Title = knownTitle;
        if (mayRecord && !PlayArray.isEmpty()) recordDisc(Path, discKey, options);
    }
    finish();
    return PlayArray.size();
}

int SongBookScan::ScanMp3(const QString& Path, frmFindMusic& window)
{
    SongBookLabelOptions options;
    options.autoNumber = window.Check1->isChecked();
    options.prefix = window.Text2->text();
    options.addVolumeLabel = window.Check2->isChecked();
    const int count = ScanMp3(Path, options);
    window.SetSongBookTitle(Title);
    return count;
}

void SongBookScan::readKnownDisc(const QString& discKey)
{
    MusicCount = MusicLibrary::readCount(host_.musicLibFile());
    const CdromLibrary library(host_.cdromLibFile());
    DiscCount = library.discCount();
    Title = library.title(discKey);
    MsgAnswer = host_.historyMode() == 0 ? 6 : 0;
    if (!Title.isEmpty() && host_.historyMode() == 1)
        MsgAnswer = ShowMsg(QStringLiteral("找到") + Title + QStringLiteral("是否要使用?"), QStringLiteral("yesno")).toInt();
}

void SongBookScan::reuseFolders(const QString& path, const QString& discKey)
{
    host_.showMessage(QStringLiteral("找到") + Title);
    host_.delay(1.2);
    const QString root = GetDrive(path);
    QStringList folders;
    for (const QString& stored : CdromLibrary(host_.cdromLibFile()).folders(discKey)) {
        // A lost or empty entry plays the disc's root rather than nothing.
        if (stored.isEmpty())
            folders << path;
        else if (stored.startsWith(QLatin1Char('/')))
            folders << onDrive(root, stored);
        else
            folders << AddPath(path, stored);
    }
    PlayArray = folders;  // whatever a scan during the wait left there is replaced
}

void SongBookScan::scanFolders(const QString& path, bool forMusicLibrary)
{
    SongFolderScan scan(host_.songPattern());
    scan.keepSongFiles = forMusicLibrary;
    scan.showProgress = [this](const QString& text) { host_.showMessage(text); };
    // Folders are kept as found, also when their names hold a ".".
    QStringList folders;
    for (const QString& folder : scan.ScanFileEx(path))
        if (folders.isEmpty() || folders.last() != folder) folders << folder;
    PlayArray = folders;  // whatever a scan started during the walk left there is replaced
    FirstSongDate = scan.FirstSongDate;
    LastSongDate = scan.LastSongDate;
    songFiles_ = scan.songFiles();
}

void SongBookScan::recordDisc(const QString& path, const QString& discKey, const SongBookLabelOptions& options)
{
    // Another scan run while the label is asked for (events run meanwhile) leaves the recording
    // to the scan that asks.
    if (askingLabel_) return;
    QStringList stored;
    for (const QString& folder : PlayArray) stored << QLatin1Char('/') + CutDrive(folder);
    // Stored with "?" in their names or cut short, the folders would name nothing when the
    // disc comes back.
    const QStringList lacking = CdromLibrary::foldersItCannotHold(stored);
    if (!lacking.isEmpty()) {
        const QString text = QStringLiteral("歌本存不下這些目錄名:") + lacking.join(QStringLiteral(", "));
        host_.showMessage(text);
        WriteLog(text);
        return;  // not asked for a label that would be thrown away
    }
    FrmSongLib& form = prompt();
    const QString dateRange = ShortDate(FirstSongDate) + QLatin1Char('~') + ShortDate(LastSongDate);
    const QString volumeLabel = volumeLabelOf(path);
    QStringList lines;
    for (int i = 0; i < PlayArray.size(); ++i) lines << ZeroFill(i + 1, 2) + QLatin1Char(' ') + PlayArray.at(i);
    form.List1->clear();
    form.List1->addItems(lines);  // at once: a disc may hold thousands of folders
    form.Label2[0]->setText(discKey);
    form.Label2[1]->setText(volumeLabel);
    form.Label2[2]->setText(QString::number(PlayArray.size()));
    form.Label2[3]->setText(dateRange);
    form.Text1->setText(ProposedSongBookLabel(options, DiscCount, volumeLabel));

    // Events run while the user is asked and after the recording is shown: what a scan run
    // meanwhile found is replaced by what this one found and records.
    const auto ownResults = [this, folders = PlayArray, files = songFiles_, title = Title] {
        PlayArray = folders;
        songFiles_ = files;
        Title = title;
    };
    askingLabel_ = true;
    const bool ok = askLabel(form);
    askingLabel_ = false;
    ownResults();
    const QString label = form.Text1->text();
    if (!ok) return;
    if (!label.isEmpty()) {
        Title = label;
        if (CdromLibrary(host_.cdromLibFile()).recordDisc(discKey, Title, dateRange, stored)) {
            ++DiscCount;
            host_.showMessage(QStringLiteral("加入 '") + Title + QStringLiteral("'到歌本"));
            host_.delay(1.2);
            ownResults();
            Title = label;
        } else {
            tellNotWritten(host_, host_.cdromLibFile());
        }
    }
    if (host_.songBookTicked()) appendToMusicLibrary(stored);
}

void SongBookScan::appendToMusicLibrary(const QStringList& storedFolders)
{
    QVector<MusicLibFolder> folders;
    // The song files as the scan just listed them: the folders are not read a second time.
    for (int i = 0; i < PlayArray.size(); ++i) {
        const QString& folder = PlayArray.at(i);
        const auto listed = songFiles_.constFind(folder);
        const QStringList songs = listed != songFiles_.constEnd() ? *listed : ListSongFiles(folder, host_.songPattern());
        folders.append({storedFolders.at(i), songs});
    }
    if (!MusicLibrary::appendFolders(host_.musicLibFile(), Title, folders, MusicCount))
        tellNotWritten(host_, host_.musicLibFile());
}

void SongBookScan::finish()
{
    host_.setSongBookTitle(Title);
    sortWithoutCase(PlayArray);
    // Line k of the check-box list stands for entry k: filled only once the entries are in order.
    host_.fillPlayList(PlayArray);
}
