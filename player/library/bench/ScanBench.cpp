// The song book scan and the folder search against `find` over the same generated tree:
// 20,000 folders and 100,000 files (songs, lyric files, other files), Chinese names among
// them, each scan with its progress shown in a visible window. Prints the median of several
// alternating runs of each and their ratio to `find`.
//
//   library_bench [runs] [tree folder]      (default 5 runs, a temporary tree)
//
// Runs offscreen by default; under a real display: xvfb-run -a env QT_QPA_PLATFORM=xcb library_bench

#include "Drives.h"
#include "FrmSongLib.h"
#include "LibraryHost.h"
#include "SongBookScan.h"
#include "SystemPaths.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kArtists = 100;
constexpr int kAlbumsPerArtist = 199;  // 100 + 100 * 199 = 20,000 folders

// Five files in every folder: three songs, a lyric file and a cover picture.
void fillFolder(const QString& folder, const QString& stem)
{
    QDir().mkpath(folder);
    for (const QString& name : QStringList{stem + "01.mp3", stem + "02.mp3", stem + "03.wav", stem + "01.txt", "cover.jpg"}) {
        QFile file(folder + QLatin1Char('/') + name);
        file.open(QIODevice::WriteOnly);
    }
}

int makeTree(const QString& root)
{
    const QStringList singers{"周杰倫", "Singer", "蔡依林", "Band", "張學友"};
    int folders = 0;
    for (int a = 0; a < kArtists; ++a) {
        const QString artist = root + QStringLiteral("/%1%2").arg(singers[a % singers.size()]).arg(a, 3, 10, QLatin1Char('0'));
        fillFolder(artist, QStringLiteral("精選"));
        ++folders;
        for (int b = 0; b < kAlbumsPerArtist; ++b) {
            fillFolder(artist + QStringLiteral("/專輯 %1").arg(b, 3, 10, QLatin1Char('0')), QStringLiteral("第"));
            ++folders;
        }
    }
    return folders;
}

// The player's side of a scan: its message line in a window on the screen.
class ShownHost : public LibraryHost
{
public:
    explicit ShownHost(QString songFolder) : songFolder_(std::move(songFolder))
    {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(&label_);
        window_.resize(320, 80);
        window_.show();
        QApplication::processEvents();
    }
    int kind = 3;
    int driveKind() const override { return kind; }
    QString songPattern() const override { return QStringLiteral("*.MP3;*.WAV"); }
    QString cdromLibFile() const override { return songFolder_ + QStringLiteral("/CDROMLib.TXT"); }
    QString musicLibFile() const override { return songFolder_ + QStringLiteral("/MusicLib.TXT"); }
    int historyMode() const override { return 0; }
    bool songBookTicked() const override { return true; }
    void showMessage(const QString& text) override { label_.setText(text); }
    QWidget* mainWindow() override { return &window_; }

private:
    QString songFolder_;
    QWidget window_;
    QLabel label_;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timed(const std::function<void()>& run)
{
    QElapsedTimer clock;
    clock.start();
    run();
    return clock.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir work;
    const QString root = argc > 2 ? QString::fromLocal8Bit(argv[2]) : work.filePath(QStringLiteral("tree"));
    SystemPaths::setProgramFolder(home.path());  // the scan's log lines go here

    QElapsedTimer made;
    made.start();
    if (!QDir(root).exists()) {
        std::printf("making %d folders and their files in %s ...\n", makeTree(root), qPrintable(root));
        std::printf("made in %.1f s\n", made.elapsed() / 1000.0);
    }
    // The tree stands as a disc of its own, so that the song book scan records it.
    Drives::SetSource(std::make_shared<Drives::FixedSource>(
        QList<Drives::Drive>{{root, QStringLiteral("/dev/sr9"), QStringLiteral("BENCH"), Drives::TypeOptical, true}},
        QMap<QString, quint32>{{root, 0x1A2B3C4D}}));

    const auto find = [&] {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral("find"), {root});
        process.waitForFinished(-1);
    };
    int found = 0;
    const auto folderSearch = [&] {
        ShownHost host(home.path());
        SongBookScan scan(host);
        found = scan.ScanMp3(root, SongBookLabelOptions{});
    };
    const auto songBookScan = [&] {
        QFile::remove(home.filePath(QStringLiteral("CDROMLib.TXT")));
        QFile::remove(home.filePath(QStringLiteral("MusicLib.TXT")));
        ShownHost host(home.path());
        host.kind = 5;
        SongBookScan scan(host);
        scan.askLabel = [](FrmSongLib&) { return true; };
        found = scan.ScanMp3(root, SongBookLabelOptions{});
    };

    find();  // the tree in the cache for all three alike
    // LIBRARY_BENCH_ONLY=search runs only the folder search, to profile it.
    const QByteArray only = qgetenv("LIBRARY_BENCH_ONLY");
    std::vector<double> findMs, searchMs, bookMs;
    for (int i = 0; i < runs; ++i) {
        findMs.push_back(timed(find));
        searchMs.push_back(timed(folderSearch));
        bookMs.push_back(only == "search" ? 0 : timed(songBookScan));
    }
    const double f = median(findMs);
    std::printf("song folders found: %d\n", found);
    std::printf("find                        %8.1f ms\n", f);
    std::printf("folder search (ScanMp3)     %8.1f ms   %.2fx find\n", median(searchMs), median(searchMs) / f);
    if (only != "search")
        std::printf("song book scan and record   %8.1f ms   %.2fx find\n", median(bookMs), median(bookMs) / f);
    return 0;
}
