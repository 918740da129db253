#pragma once

// libmpv is opened at run time, not linked: it brings in a few hundred shared
// libraries whose relocation would otherwise be paid at every start, before
// anything plays. This unit defines the libmpv client functions the media
// layer calls; each resolves the real one from the library on first use.
// When the library cannot be loaded they fail the way libmpv reports failure
// (mpv_create gives NULL, calls on a handle give an error code).

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QObject;

// One opened copy of libmpv and the addresses of its client functions.
class MpvLibrary {
public:
    MpvLibrary() = default;
    MpvLibrary(const MpvLibrary &) = delete;
    MpvLibrary &operator=(const MpvLibrary &) = delete;

    // Opens the library file (a soname or a path) and resolves the client
    // functions. False, with error() telling why, when the file is missing,
    // is not libmpv or speaks another major version of the client API.
    bool open(const QByteArray &fileName);
    bool isLoaded() const { return m_loaded; }
    QString error() const { return m_error; }
    // Address of the function at `index` of the forwarded list; null when
    // not loaded or when this libmpv lacks the function.
    void *function(int index) const;
    // Number of forwarded functions, and how many of them this copy has.
    static int functionCount();
    int resolvedCount() const;

private:
    void *m_handle = nullptr;  // kept open for the life of the process
    bool m_loaded = false;
    QString m_error;
    std::vector<void *> m_functions;
};

namespace MpvRuntime {

// The library the process loads: $PELLORAN_MPV_LIBRARY when set, else the
// soname of the libmpv the programs were built against.
QByteArray libraryName();
// Loads the process's libmpv once; safe from any thread, later calls wait
// for the first and give its result.
bool load();
// Why load() failed; "" before it ran or when it succeeded.
QString error();
// The process's library, loaded on first use.
const MpvLibrary &library();
// The text a user is shown when playback cannot start for want of libmpv.
QString unavailableMessage();

// Loads libmpv on a worker thread, so that the first medium opens without
// the wait. `done` runs afterwards on the thread of `context`, unless the
// context is gone, with the result of load().
void preload(QObject *context, std::function<void(bool loaded)> done);

} // namespace MpvRuntime
