// libmpv opened at run time: the real library resolves every forwarded
// function; a missing or foreign one leaves the media layer failing the way
// libmpv reports failure, with a log line, and the process running.
#include "EventWait.h"
#include "MciCommand.h"
#include "MciWnd.h"
#include "MediaBackend.h"
#include "MediaTestSupport.h"
#include "MpvRuntime.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <mpv/client.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

TEST(MpvRuntime, TheBuildsLibmpvResolvesEveryForwardedFunctionAndPreloadsOnAWorker)
{
    ensureApplication();
    if (!qEnvironmentVariableIsEmpty("PELLORAN_MPV_LIBRARY"))
        GTEST_SKIP() << "another library was chosen for this run";
    QObject context;
    bool reported = false, loaded = false;
    QThread *reportThread = nullptr;
    MpvRuntime::preload(&context, [&](bool ok) {
        reported = true;
        loaded = ok;
        reportThread = QThread::currentThread();
    });
    ASSERT_TRUE(waitUntil([&] { return reported; }, EventWaitMs));
    EXPECT_TRUE(loaded) << MpvRuntime::error().toStdString();
    EXPECT_EQ(reportThread, context.thread()) << "the result comes back on the caller's thread";
    EXPECT_EQ(MpvRuntime::library().resolvedCount(), MpvLibrary::functionCount());
    EXPECT_EQ(mpv_client_api_version() >> 16, MPV_CLIENT_API_VERSION >> 16);

    mpv_handle *mpv = mpv_create();
    ASSERT_NE(mpv, nullptr);
    EXPECT_EQ(mpv_set_option_string(mpv, "vo", "null"), 0);
    EXPECT_EQ(mpv_initialize(mpv), 0);
    char *name = mpv_get_property_string(mpv, "mpv-version");
    ASSERT_NE(name, nullptr);
    EXPECT_NE(QByteArray(name), QByteArray());
    mpv_free(name);
    mpv_terminate_destroy(mpv);
}

TEST(MpvRuntime, AFileThatIsMissingOrNotLibmpvIsRefusedWithItsReason)
{
    MpvLibrary missing;
    EXPECT_FALSE(missing.open("/nonexistent/libmpv.so.2"));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_TRUE(missing.error().contains("/nonexistent/libmpv.so.2")) << missing.error().toStdString();
    EXPECT_EQ(missing.resolvedCount(), 0);

    MpvLibrary foreign;
    EXPECT_FALSE(foreign.open("libz.so.1"));
    EXPECT_EQ(foreign.error(), "libz.so.1 is not libmpv");
    EXPECT_EQ(foreign.function(0), nullptr);
}

namespace {

// Run in a fresh process whose libmpv is missing; prints what went wrong.
int playWithoutLibmpv()
{
    ensureApplication();
    setMediaBackend(MediaBackend::Real);
    QStringList faults;
    if (mpv_create() != nullptr)
        faults << "mpv_create gave a handle";
    if (mpv_wait_event(nullptr, 1.0)->event_id != MPV_EVENT_SHUTDOWN)
        faults << "waiting for an event does not end";
    if (mpv_client_api_version() != 0)
        faults << "a client API version without a library";

    QTemporaryDir dir;
    const QString file = dir.filePath("tone.mp3");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(QByteArray(4096, '\x55')) != 4096)
        faults << "cannot write the test file";
    out.close();
    MciWnd control;
    QList<int> errors;
    QObject::connect(&control, &MciWnd::ExtendedError, [&](int code) { errors.append(code); });
    control.setFileName(file);
    if (errors != QList<int>{MciWnd::ErrorNoDriver})
        faults << QString("the control raised %1 errors, not one 296").arg(errors.size());
    if (control.Mode() != "not ready")
        faults << "the control is " + control.Mode();
    if (mciSendString("open " + file + " alias MP3") != MciErrCannotLoadDriver)
        faults << "the alias opened";
    if (MpvRuntime::error().isEmpty())
        faults << "no reason kept";
    for (const QString &fault : faults)
        std::fprintf(stderr, "FAULT: %s\n", qPrintable(fault));
    return faults.isEmpty() ? 0 : 1;
}

} // namespace

TEST(MpvRuntimeDeathTest, WithoutLibmpvEveryOpenFailsAsAMissingDriverAndTheProcessGoesOn)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: nothing loaded yet
    EXPECT_EXIT(
        {
            qputenv("PELLORAN_MPV_LIBRARY", "/nonexistent/libmpv.so.2");
            std::exit(playWithoutLibmpv());
        },
        ::testing::ExitedWithCode(0), "libmpv could not be loaded, nothing can be played: .*/nonexistent/libmpv.so.2");
}
