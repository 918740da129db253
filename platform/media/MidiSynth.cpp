#include "MidiSynth.h"

#include "MessageBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QSet>

#include <fluidsynth.h>

#include <dlfcn.h>

#include <mutex>
#include <vector>

#ifndef PELLORAN_FLUIDSYNTH_SONAME
#define PELLORAN_FLUIDSYNTH_SONAME "libfluidsynth.so.3"
#endif

namespace {

constexpr char kSystemSoundFont[] = "/usr/share/sounds/sf2/default-GM.sf2";
constexpr size_t kIdleSynthsKept = 2;

// The FluidSynth functions used here, resolved from the library at run time.
#define PELLORAN_FLUID_FUNCTIONS(X) \
    X(fluid_set_log_function)       \
    X(new_fluid_settings)           \
    X(delete_fluid_settings)        \
    X(fluid_settings_setnum)        \
    X(fluid_settings_setint)        \
    X(new_fluid_synth)              \
    X(delete_fluid_synth)           \
    X(fluid_synth_sfload)           \
    X(fluid_synth_system_reset)     \
    X(fluid_synth_write_s16)        \
    X(fluid_synth_noteon)           \
    X(fluid_synth_noteoff)          \
    X(fluid_synth_key_pressure)     \
    X(fluid_synth_cc)               \
    X(fluid_synth_program_change)   \
    X(fluid_synth_channel_pressure) \
    X(fluid_synth_pitch_bend)       \
    X(fluid_synth_sysex)

struct FluidLibrary {
#define PELLORAN_FLUID_POINTER(name) decltype(&::name) name = nullptr;
    PELLORAN_FLUID_FUNCTIONS(PELLORAN_FLUID_POINTER)
#undef PELLORAN_FLUID_POINTER
    bool loaded = false;
    QString error;

    void open()
    {
        void *handle = dlopen(MidiSynth::libraryName().constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            error = QString::fromLocal8Bit(dlerror());
            return;
        }
        bool complete = true;
#define PELLORAN_FLUID_RESOLVE(name)                                      \
    name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    complete = complete && name != nullptr;
        PELLORAN_FLUID_FUNCTIONS(PELLORAN_FLUID_RESOLVE)
#undef PELLORAN_FLUID_RESOLVE
        if (!complete) {
            error = QStringLiteral("%1 lacks functions these programs call").arg(QString::fromLocal8Bit(MidiSynth::libraryName()));
            return;
        }
        // The synthesiser's own notes on the sound font go nowhere; errors
        // still reach the standard error output.
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
        loaded = true;
    }
};

// Opened once, on first use, and kept for the life of the process (never
// destroyed: streams of players owned by statics may end during exit).
const FluidLibrary &fluid()
{
    static FluidLibrary *const library = [] {
        auto *opened = new FluidLibrary;
        opened->open();
        return opened;
    }();
    return *library;
}

} // namespace

// One synthesiser with its settings and the sound font it has loaded.
struct MidiSynth::Loaded {
    fluid_settings_t *settings = nullptr;
    fluid_synth_t *synth = nullptr;
    QString soundFont;

    ~Loaded()
    {
        if (synth)
            fluid().delete_fluid_synth(synth);
        if (settings)
            fluid().delete_fluid_settings(settings);
    }
};

namespace {

// Synthesisers a finished song left, ready with their sound font.
class IdleSynths {
public:
    static IdleSynths &instance()
    {
        static IdleSynths *const pool = new IdleSynths;
        return *pool;
    }

    MidiSynth::Loaded *take(const QString &soundFont)
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_idle.begin(); it != m_idle.end(); ++it) {
            if ((*it)->soundFont == soundFont) {
                MidiSynth::Loaded *loaded = *it;
                m_idle.erase(it);
                return loaded;
            }
        }
        return nullptr;
    }

    void give(MidiSynth::Loaded *loaded)
    {
        std::lock_guard lock(m_mutex);
        if (m_idle.size() < kIdleSynthsKept) {
            m_idle.push_back(loaded);
            return;
        }
        delete loaded;
    }

private:
    std::mutex m_mutex;
    std::vector<MidiSynth::Loaded *> m_idle;
};

MidiSynth::Loaded *loadSynth(const QString &soundFont)
{
    const FluidLibrary &f = fluid();
    if (!f.loaded)
        return nullptr;
    auto *loaded = new MidiSynth::Loaded;
    loaded->soundFont = soundFont;
    loaded->settings = f.new_fluid_settings();
    if (loaded->settings) {
        f.fluid_settings_setnum(loaded->settings, "synth.sample-rate", MidiSynth::SampleRate);
        f.fluid_settings_setint(loaded->settings, "synth.cpu-cores", 1);
        // FluidSynth's own level (0.2) leaves General MIDI songs far quieter
        // than the other song files of a folder.
        f.fluid_settings_setnum(loaded->settings, "synth.gain", 0.6);
        // A large sound font loads the samples of the instruments a song uses,
        // when it first uses them, instead of all of them before it starts.
        f.fluid_settings_setint(loaded->settings, "synth.dynamic-sample-loading", 1);
        loaded->synth = f.new_fluid_synth(loaded->settings);
    }
    if (!loaded->synth || f.fluid_synth_sfload(loaded->synth, QFile::encodeName(soundFont).constData(), 1) == FLUID_FAILED) {
        delete loaded;
        return nullptr;
    }
    return loaded;
}

} // namespace

QString MidiSynth::soundFontPath()
{
    const QString chosen = QString::fromLocal8Bit(qgetenv("PELLORAN_MIDI_SOUNDFONT"));
    return chosen.isEmpty() ? QString::fromLatin1(kSystemSoundFont) : chosen;
}

QByteArray MidiSynth::libraryName()
{
    const QByteArray chosen = qgetenv("PELLORAN_FLUIDSYNTH_LIBRARY");
    return chosen.isEmpty() ? QByteArrayLiteral(PELLORAN_FLUIDSYNTH_SONAME) : chosen;
}

QString MidiSynth::unavailableMessage()
{
    if (!fluid().loaded)
        return QStringLiteral("找不到 MIDI 合成器 %1,無法播放 MIDI 檔.\r\n請安裝 libfluidsynth3 後再播放.")
            .arg(QString::fromLocal8Bit(libraryName()));
    const QFileInfo soundFont(soundFontPath());
    if (!soundFont.isFile() || !soundFont.isReadable())
        return QStringLiteral("找不到 MIDI 音色庫 %1,無法播放 MIDI 檔.\r\n請安裝 fluid-soundfont-gm (或較小的 timgm6mb-soundfont) 後再播放.")
            .arg(soundFontPath());
    return {};
}

QString MidiSynth::unreadableSoundFontMessage()
{
    return QStringLiteral("MIDI 音色庫 %1 無法讀取,無法播放 MIDI 檔.\r\n請重新安裝 fluid-soundfont-gm (或 timgm6mb-soundfont).")
        .arg(soundFontPath());
}

void MidiSynth::tellOnce(const QString &message)
{
    static std::mutex mutex;
    static QSet<QString> told;
    {
        std::lock_guard lock(mutex);
        if (told.contains(message) || !QCoreApplication::instance())
            return;
        told.insert(message);
    }
    qWarning("%s", qPrintable(message));
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [message] {
            MessageBox::show({message, QCoreApplication::applicationName(), MessageBox::Icon::Exclamation});
        },
        Qt::QueuedConnection);
}

std::unique_ptr<MidiSynth> MidiSynth::create()
{
    const QString soundFont = soundFontPath();
    Loaded *loaded = IdleSynths::instance().take(soundFont);
    if (loaded)
        fluid().fluid_synth_system_reset(loaded->synth);
    else
        loaded = loadSynth(soundFont);
    return loaded ? std::unique_ptr<MidiSynth>(new MidiSynth(loaded)) : nullptr;
}

MidiSynth::~MidiSynth() { IdleSynths::instance().give(m_loaded); }

void MidiSynth::send(quint8 status, quint8 data1, quint8 data2)
{
    const FluidLibrary &f = fluid();
    fluid_synth_t *synth = m_loaded->synth;
    const int channel = status & 0x0f;
    switch (status & 0xf0) {
    case 0x80:
        f.fluid_synth_noteoff(synth, channel, data1);
        break;
    case 0x90:
        if (data2 == 0)
            f.fluid_synth_noteoff(synth, channel, data1);
        else
            f.fluid_synth_noteon(synth, channel, data1, data2);
        break;
    case 0xa0:
        f.fluid_synth_key_pressure(synth, channel, data1, data2);
        break;
    case 0xb0:
        f.fluid_synth_cc(synth, channel, data1, data2);
        break;
    case 0xc0:
        f.fluid_synth_program_change(synth, channel, data1);
        break;
    case 0xd0:
        f.fluid_synth_channel_pressure(synth, channel, data1);
        break;
    case 0xe0:
        f.fluid_synth_pitch_bend(synth, channel, data2 << 7 | data1);
        break;
    default:
        break;
    }
}

void MidiSynth::sendSysex(const QByteArray &bytes)
{
    if (!bytes.isEmpty())
        fluid().fluid_synth_sysex(m_loaded->synth, bytes.constData(), int(bytes.size()), nullptr, nullptr, nullptr, 0);
}

void MidiSynth::reset() { fluid().fluid_synth_system_reset(m_loaded->synth); }

void MidiSynth::render(qint16 *out, int frames)
{
    fluid().fluid_synth_write_s16(m_loaded->synth, frames, out, 0, 2, out, 1, 2);
}
