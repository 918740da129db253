#include "EditorTestSupport.h"

#include "EditorStart.h"

#include "Cp950.h"
#include "ModIniFile.h"
#include "SettingsStore.h"
#include "SystemPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>

void copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files);
    while (it.hasNext()) {
        it.next();
        QFile::copy(it.filePath(), to + QLatin1Char('/') + it.fileName());
    }
}

QString shippedProgramFolder()
{
    return QStringLiteral(EDITOR_PROGRAM_DIR);
}

QString testOutputFolder()
{
    const QString folder = QStringLiteral(EDITOR_TEST_OUTPUT);
    QDir().mkpath(folder);
    return folder;
}

void sendMouse(QWidget *control, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    const QPointF global = control->mapToGlobal(pos);
    QMouseEvent event(type, pos, pos, global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &event);
}

void press(QWidget *control, QPointF pos, Qt::MouseButton button)
{
    sendMouse(control, QEvent::MouseButtonPress, pos, button, button);
}

void moveTo(QWidget *control, QPointF pos, Qt::MouseButtons buttons)
{
    sendMouse(control, QEvent::MouseMove, pos, Qt::NoButton, buttons);
}

void release(QWidget *control, QPointF pos, Qt::MouseButton button)
{
    sendMouse(control, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

void EditorTest::SetUp()
{
    ASSERT_TRUE(m_program.isValid());
    copyFolder(shippedProgramFolder() + QStringLiteral("/Skin"), m_program.filePath(QStringLiteral("Skin")));
    copyFolder(shippedProgramFolder() + QStringLiteral("/Button Mask"), m_program.filePath(QStringLiteral("Button Mask")));
    copyFolder(shippedProgramFolder() + QStringLiteral("/Desk"), m_program.filePath(QStringLiteral("Desk")));
    QFile::copy(shippedProgramFolder() + QStringLiteral("/ReadMe.rtf"), m_program.filePath(QStringLiteral("ReadMe.rtf")));
    SystemPaths::setProgramFolder(m_program.path());
    for (const QString &key : SettingsStore::keys(QStringLiteral("Pelloran"), QStringLiteral("Quorvel Editor")))
        SettingsStore::remove(QStringLiteral("Pelloran"), QStringLiteral("Quorvel Editor"), key);
    StartEditor(state);
    // Each test has its own key-face cache.
    state.TempFolder() = m_program.filePath(QStringLiteral("Temp"));
    QDir().mkpath(state.TempFolder());
    IniFile.clear();
}

void EditorTest::TearDown()
{
    SystemPaths::setProgramFolder(QString());
}

QString EditorTest::skinFile(const QString &name) const
{
    return m_program.filePath(QStringLiteral("Skin/") + name);
}

QString EditorTest::logText() const
{
    QFile log(m_program.filePath(QStringLiteral("Quorvel.log")));
    if (!log.open(QIODevice::ReadOnly))
        return QString();
    return Cp950::decode(log.readAll());
}
