#include "DocumentOpener.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Lets events run until no opener is left running (each one deletes itself when it ends).
bool openersEnded()
{
    QDeadlineTimer deadline(30000);
    while (!QCoreApplication::instance()->findChildren<QProcess*>().isEmpty()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// The desktop's opener replaced by a script that ends with the given exit code.
void useOpener(const QTemporaryDir& bin, int exitCode)
{
    QFile script(bin.filePath("xdg-open"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QByteArray complaint = exitCode ? "echo \"xdg-open: no method available for opening '$1'\" >&2\n" : "";
    script.write("#!/bin/sh\n" + complaint + "exit " + QByteArray::number(exitCode) + "\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
}

}  // namespace

// The readme opened with no program for it (the opener finds none, or is not there at all)
// is told as a failure; opened by a program, it is not.
TEST(DocumentOpener, AFailedOpenIsToldAndASuccessfulOneIsNot)
{
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    int told = 0;
    useOpener(bin, 3);
    DocumentOpener::Open("/tmp/readme.htm", [&] { ++told; });
    ASSERT_TRUE(openersEnded());
    EXPECT_EQ(told, 1);

    useOpener(bin, 0);
    DocumentOpener::Open("/tmp/readme.htm", [&] { ++told; });
    ASSERT_TRUE(openersEnded());
    EXPECT_EQ(told, 1);

    QFile::remove(bin.filePath("xdg-open"));
    DocumentOpener::Open("/tmp/readme.htm", [&] { ++told; });
    ASSERT_TRUE(openersEnded());
    EXPECT_EQ(told, 2);
    qputenv("PATH", path);
}
