#include "ShellTestSupport.h"

#include "Cp950.h"
#include "Drives.h"
#include "MessageBox.h"
#include "ModTools.h"
#include "SettingsStore.h"
#include "SystemPaths.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <memory>

namespace {

// Before main(): every path the settings, the registry and the Windows folder use lies in
// a temporary home of this test run.
struct TestHome
{
    QTemporaryDir home;
    TestHome()
    {
        qputenv("HOME", home.filePath("home").toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
        QDir().mkpath(home.filePath("home"));
        QDir().mkpath(home.filePath("config"));
        QDir().mkpath(home.filePath("data"));
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};
TestHome& testHome()
{
    static TestHome h;
    return h;
}
const bool homeReady = (testHome(), true);

// The program folder of the test that runs; the last one is removed when the run ends.
std::unique_ptr<QTemporaryDir> currentProgram;

}  // namespace

namespace ShellTest {

QApplication& app()
{
    static int argc = 1;
    static char name[] = "shell_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);
    return *a;
}

QString freshWorld()
{
    (void)homeReady;
    app();
    SetAppProduct(QStringLiteral("Quorvel V1.1"));
    SetAppRevision(400);
    SetLogFileName(QStringLiteral("Quorvel.log"));
    for (const QString& key : SettingsStore::keys(AppCompany(), AppProduct()))
        SettingsStore::remove(AppCompany(), AppProduct(), key);
    QFile::remove(SystemPaths::RegistryFile());
    QDir(SystemPaths::WindowsFolder()).removeRecursively();
    QDir(SystemPaths::TempFolder()).removeRecursively();

    currentProgram = std::make_unique<QTemporaryDir>();
    SystemPaths::setProgramFolder(currentProgram->path());

    Drives::Drive root{"/", "/dev/sda1", "", Drives::TypeFixed, true};
    Drives::Drive data{"/data", "/dev/sda2", "DATA", Drives::TypeFixed, true};
    Drives::SetSource(std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{root, data}));
    MessageBox::setAnswerer([](const MessageBox::Request&) { return int(MessageBox::IdOk); });
    MessageBox::clearShownRequests();
    return currentProgram->path();
}

void addPanel(const QString& programFolder, const QString& name, int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(90, 110, 140));
    QPainter p(&picture);
    p.fillRect(10, 10, width - 20, 40, QColor(200, 200, 210));
    p.end();
    QDir().mkpath(programFolder + "/Skin");
    QDir().mkpath(programFolder + "/Desk");
    picture.save(programFolder + "/Skin/" + name, "JPG");
    if (name == QLatin1String("Quorvel.JPG")) picture.save(programFolder + "/Desk/Quorvel.JPG", "JPG");
}

QStringList logTexts(const QString& programFolder)
{
    QStringList texts;
    const QStringList lines = Cp950::readTextFile(programFolder + "/Quorvel.log").split("\r\n", Qt::SkipEmptyParts);
    for (int i = 1; i < lines.size(); ++i) texts << lines[i].mid(9);
    return texts;
}

QString outputFolder()
{
    const QString folder = QDir::currentPath() + "/test-output";
    QDir().mkpath(folder);
    return folder;
}

}  // namespace ShellTest
