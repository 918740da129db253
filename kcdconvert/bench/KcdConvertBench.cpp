// Throughput of the conversion over a generated folder of KCD files.
#include "Cp950.h"
#include "EventPump.h"
#include "KcdConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFiles = 100;
constexpr int kSongsPerFile = 20;
constexpr int kLinesPerSong = 40;

QString stamp(int tenths)
{
    return QStringLiteral("%1:%2:%3")
        .arg(tenths / 600, 2, 10, QLatin1Char('0'))
        .arg(tenths / 10 % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

QByteArray generatedKcd(int file)
{
    static const QString words = QStringLiteral("我愛你月亮代表心甜蜜好像花兒開在春風裡小城故事多充滿喜和樂");
    QString text;
    for (int song = 0; song < kSongsPerFile; ++song) {
        text += QStringLiteral("%1,第%2首歌曲:作曲者詞:作詞者＠專輯%3＠\r\n").arg(10 + song).arg(song + 1).arg(file);
        QString times;
        QString lyrics;
        for (int line = 0; line < kLinesPerSong; ++line) {
            times += stamp(50 + line * 45) + u' ';
            lyrics += words.mid((line * 7 + song) % 20, 8 + line % 6) + u'＠';
        }
        text += times + QStringLiteral(",") + lyrics + QStringLiteral("\r\n");
    }
    return Cp950::encode(text);
}

struct GeneratedFolder
{
    QTemporaryDir program;
    QString kcdFolder;
    QStringList names;
    qint64 bytes = 0;

    GeneratedFolder()
    {
        kcdFolder = program.filePath(QStringLiteral("歌詞"));
        QDir().mkpath(kcdFolder);
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("album%1.KCD").arg(i, 3, 10, QLatin1Char('0'));
            QFile file(kcdFolder + u'/' + name);
            file.open(QIODevice::WriteOnly);
            bytes += file.write(generatedKcd(i));
            names.append(name);
        }
    }
};

GeneratedFolder& folder()
{
    static GeneratedFolder generated;
    return generated;
}

// Lists the songs of every file and builds the timed lines of every song;
// argument 1 lets events run as the window does, 0 does not.
void BM_ReadEverySong(benchmark::State& state)
{
    GeneratedFolder& generated = folder();
    KcdConverter converter(generated.program.path());
    ThrottledEventPump pump;
    if (state.range(0) != 0)
        converter.setLetEventsRun([&] { pump(); });
    for (auto _ : state) {
        for (const QString& name : generated.names) {
            converter.setKcdPath(generated.kcdFolder + u'/' + name);
            converter.ReadSongFile();
            for (int i = 0; i < converter.state().List1.size(); ++i)
                converter.SelectSong(i);
        }
        benchmark::DoNotOptimize(converter.state().List2.size());
    }
    state.SetBytesProcessed(state.iterations() * generated.bytes);
}
BENCHMARK(BM_ReadEverySong)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole batch run: every song of the folder written to the library.
void BM_ConvertFolder(benchmark::State& state)
{
    GeneratedFolder& generated = folder();
    KcdConverter converter(generated.program.path());
    ThrottledEventPump pump;
    converter.setLetEventsRun([&] { pump(); });
    for (auto _ : state) {
        converter.RunBatch(generated.kcdFolder, generated.names, 0);
        if (!converter.state().List4.isEmpty())
            state.SkipWithError("songs were not written");
    }
    state.SetBytesProcessed(state.iterations() * generated.bytes);
    state.counters["songs"] = kFiles * kSongsPerFile;
}
BENCHMARK(BM_ConvertFolder)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
