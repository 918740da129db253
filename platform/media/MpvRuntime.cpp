#include "MpvRuntime.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThreadPool>

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <dlfcn.h>

#include <mutex>

#ifndef PELLORAN_MPV_SONAME
#define PELLORAN_MPV_SONAME "libmpv.so.2"
#endif

namespace {

// What a call reports while libmpv is missing: what libmpv itself reports for
// a call it cannot carry out.
constexpr int kFailed = MPV_ERROR_GENERIC;

// An event loop waiting on a handle that cannot exist ends at once.
mpv_event *shutdownEvent()
{
    static mpv_event event = [] {
        mpv_event e{};
        e.event_id = MPV_EVENT_SHUTDOWN;
        return e;
    }();
    return &event;
}

} // namespace

// Every forwarded client function: result type, name, parameters, the
// arguments passed on, and the result given while libmpv is missing.
#define PELLORAN_MPV_FUNCTIONS(X)                                                                          \
    X(unsigned long, mpv_client_api_version, (void), (), 0UL)                                             \
    X(const char *, mpv_error_string, (int error), (error), "libmpv is not loaded")                       \
    X(void, mpv_free, (void *data), (data), (void)0)                                                      \
    X(const char *, mpv_client_name, (mpv_handle * ctx), (ctx), nullptr)                                  \
    X(int64_t, mpv_client_id, (mpv_handle * ctx), (ctx), int64_t(-1))                                     \
    X(mpv_handle *, mpv_create, (void), (), nullptr)                                                      \
    X(int, mpv_initialize, (mpv_handle * ctx), (ctx), kFailed)                                            \
    X(void, mpv_destroy, (mpv_handle * ctx), (ctx), (void)0)                                              \
    X(void, mpv_terminate_destroy, (mpv_handle * ctx), (ctx), (void)0)                                    \
    X(mpv_handle *, mpv_create_client, (mpv_handle * ctx, const char *name), (ctx, name), nullptr)        \
    X(mpv_handle *, mpv_create_weak_client, (mpv_handle * ctx, const char *name), (ctx, name), nullptr)   \
    X(int, mpv_load_config_file, (mpv_handle * ctx, const char *filename), (ctx, filename), kFailed)      \
    X(int64_t, mpv_get_time_us, (mpv_handle * ctx), (ctx), int64_t(0))                                    \
    X(void, mpv_free_node_contents, (mpv_node * node), (node), (void)0)                                   \
    X(int, mpv_set_option, (mpv_handle * ctx, const char *name, mpv_format format, void *data),           \
      (ctx, name, format, data), kFailed)                                                                 \
    X(int, mpv_set_option_string, (mpv_handle * ctx, const char *name, const char *data),                 \
      (ctx, name, data), kFailed)                                                                         \
    X(int, mpv_command, (mpv_handle * ctx, const char **args), (ctx, args), kFailed)                      \
    X(int, mpv_command_node, (mpv_handle * ctx, mpv_node * args, mpv_node * result), (ctx, args, result), \
      kFailed)                                                                                            \
    X(int, mpv_command_ret, (mpv_handle * ctx, const char **args, mpv_node *result), (ctx, args, result), \
      kFailed)                                                                                            \
    X(int, mpv_command_string, (mpv_handle * ctx, const char *args), (ctx, args), kFailed)                \
    X(int, mpv_command_async, (mpv_handle * ctx, uint64_t reply, const char **args), (ctx, reply, args),  \
      kFailed)                                                                                            \
    X(int, mpv_command_node_async, (mpv_handle * ctx, uint64_t reply, mpv_node * args),                   \
      (ctx, reply, args), kFailed)                                                                        \
    X(void, mpv_abort_async_command, (mpv_handle * ctx, uint64_t reply), (ctx, reply), (void)0)           \
    X(int, mpv_set_property, (mpv_handle * ctx, const char *name, mpv_format format, void *data),         \
      (ctx, name, format, data), kFailed)                                                                 \
    X(int, mpv_set_property_string, (mpv_handle * ctx, const char *name, const char *data),               \
      (ctx, name, data), kFailed)                                                                         \
    X(int, mpv_set_property_async,                                                                        \
      (mpv_handle * ctx, uint64_t reply, const char *name, mpv_format format, void *data),                \
      (ctx, reply, name, format, data), kFailed)                                                          \
    X(int, mpv_get_property, (mpv_handle * ctx, const char *name, mpv_format format, void *data),         \
      (ctx, name, format, data), kFailed)                                                                 \
    X(char *, mpv_get_property_string, (mpv_handle * ctx, const char *name), (ctx, name), nullptr)        \
    X(char *, mpv_get_property_osd_string, (mpv_handle * ctx, const char *name), (ctx, name), nullptr)    \
    X(int, mpv_get_property_async, (mpv_handle * ctx, uint64_t reply, const char *name, mpv_format format), \
      (ctx, reply, name, format), kFailed)                                                                \
    X(int, mpv_observe_property, (mpv_handle * ctx, uint64_t reply, const char *name, mpv_format format), \
      (ctx, reply, name, format), kFailed)                                                                \
    X(int, mpv_unobserve_property, (mpv_handle * ctx, uint64_t reply), (ctx, reply), kFailed)             \
    X(const char *, mpv_event_name, (mpv_event_id event), (event), nullptr)                               \
    X(int, mpv_event_to_node, (mpv_node * dst, mpv_event * src), (dst, src), kFailed)                     \
    X(int, mpv_request_event, (mpv_handle * ctx, mpv_event_id event, int enable), (ctx, event, enable),   \
      kFailed)                                                                                            \
    X(int, mpv_request_log_messages, (mpv_handle * ctx, const char *level), (ctx, level), kFailed)        \
    X(mpv_event *, mpv_wait_event, (mpv_handle * ctx, double timeout), (ctx, timeout), shutdownEvent())   \
    X(void, mpv_wakeup, (mpv_handle * ctx), (ctx), (void)0)                                               \
    X(void, mpv_set_wakeup_callback, (mpv_handle * ctx, void (*cb)(void *d), void *d), (ctx, cb, d),      \
      (void)0)                                                                                            \
    X(void, mpv_wait_async_requests, (mpv_handle * ctx), (ctx), (void)0)                                  \
    X(int, mpv_hook_add, (mpv_handle * ctx, uint64_t reply, const char *name, int priority),              \
      (ctx, reply, name, priority), kFailed)                                                              \
    X(int, mpv_hook_continue, (mpv_handle * ctx, uint64_t id), (ctx, id), kFailed)                        \
    X(int, mpv_stream_cb_add_ro,                                                                          \
      (mpv_handle * ctx, const char *protocol, void *user_data, mpv_stream_cb_open_ro_fn open_fn),        \
      (ctx, protocol, user_data, open_fn), kFailed)

namespace {

#define PELLORAN_MPV_INDEX(ret, name, params, args, fail) Index_##name,
enum FunctionIndex { PELLORAN_MPV_FUNCTIONS(PELLORAN_MPV_INDEX) FunctionCount };
#undef PELLORAN_MPV_INDEX

#define PELLORAN_MPV_NAME(ret, name, params, args, fail) #name,
constexpr const char *kFunctionNames[FunctionCount] = {PELLORAN_MPV_FUNCTIONS(PELLORAN_MPV_NAME)};
#undef PELLORAN_MPV_NAME

// Never destroyed: players owned by other statics (a drive kept for the process) stop
// their engines during exit, after a function-local static here would be gone, and
// those calls still go through the forwarders below.
MpvLibrary &processLibrary()
{
    static MpvLibrary *const library = new MpvLibrary;
    return *library;
}

std::once_flag &loadOnce()
{
    static std::once_flag once;
    return once;
}

} // namespace

bool MpvLibrary::open(const QByteArray &fileName)
{
    m_functions.assign(FunctionCount, nullptr);
    m_loaded = false;
    m_handle = dlopen(fileName.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        m_error = QString::fromLocal8Bit(dlerror());
        return false;
    }
    for (int i = 0; i < FunctionCount; ++i)
        m_functions[i] = dlsym(m_handle, kFunctionNames[i]);
    const auto version = reinterpret_cast<unsigned long (*)()>(m_functions[Index_mpv_client_api_version]);
    if (!version || !m_functions[Index_mpv_create]) {
        m_error = QStringLiteral("%1 is not libmpv").arg(QString::fromLocal8Bit(fileName));
    } else if (version() >> 16 != MPV_CLIENT_API_VERSION >> 16) {
        // Another major version may lay out its structures differently.
        m_error = QStringLiteral("%1 speaks client API %2, these programs %3")
                      .arg(QString::fromLocal8Bit(fileName))
                      .arg(version() >> 16)
                      .arg(MPV_CLIENT_API_VERSION >> 16);
    } else {
        m_loaded = true;
        m_error.clear();
        return true;
    }
    m_functions.assign(FunctionCount, nullptr);
    return false;
}

void *MpvLibrary::function(int index) const
{
    return m_loaded && index >= 0 && index < int(m_functions.size()) ? m_functions[index] : nullptr;
}

int MpvLibrary::functionCount() { return FunctionCount; }

int MpvLibrary::resolvedCount() const
{
    int count = 0;
    for (int i = 0; i < FunctionCount; ++i)
        count += function(i) != nullptr;
    return count;
}

namespace MpvRuntime {

QByteArray libraryName()
{
    const QByteArray chosen = qgetenv("PELLORAN_MPV_LIBRARY");
    return chosen.isEmpty() ? QByteArrayLiteral(PELLORAN_MPV_SONAME) : chosen;
}

bool load()
{
    std::call_once(loadOnce(), [] {
        if (!processLibrary().open(libraryName()))
            qWarning("libmpv could not be loaded, nothing can be played: %s",
                     qPrintable(processLibrary().error()));
    });
    return processLibrary().isLoaded();
}

QString error()
{
    load();
    return processLibrary().error();
}

const MpvLibrary &library()
{
    load();
    return processLibrary();
}

QString unavailableMessage()
{
    return QStringLiteral("找不到媒體引擎 %1,無法播放影音檔及影音光碟.\r\n請安裝 libmpv 後再開啟本程式.")
        .arg(QString::fromLocal8Bit(libraryName()));
}

void preload(QObject *context, std::function<void(bool loaded)> done)
{
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start([guard, done = std::move(done)] {
        const bool loaded = load();
        // The global pool is waited for before the application object goes.
        if (!QCoreApplication::instance())
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, done, loaded] {
                if (guard && done)
                    done(loaded);
            },
            Qt::QueuedConnection);
    });
}

} // namespace MpvRuntime

// The forwarders themselves, with the signatures of <mpv/client.h>.
#define PELLORAN_MPV_FORWARDER(ret, name, params, args, fail)                                       \
    extern "C" ret name params                                                                      \
    {                                                                                               \
        const auto real = reinterpret_cast<decltype(&name)>(MpvRuntime::library().function(Index_##name)); \
        if (!real)                                                                                  \
            return fail;                                                                            \
        return real args;                                                                           \
    }
PELLORAN_MPV_FUNCTIONS(PELLORAN_MPV_FORWARDER)
#undef PELLORAN_MPV_FORWARDER
