#pragma once
// Shared set-up of the shell tests: a throw-away home for the settings, the registry store
// and the Windows folder, a program folder with a panel, a drive table without hardware.

#include "PlayerOptions.h"

#include <QMap>
#include <QString>
#include <QStringList>

class QApplication;

namespace ShellTest {

QApplication& app();

// Empties the settings store, the registry store and the Windows folder, points the program
// folder at a fresh temporary folder and installs a drive table of two fixed drives.
// Returns the program folder.
QString freshWorld();

// Puts a panel picture (and the default panel) of the given size into the program folder.
void addPanel(const QString& programFolder, const QString& name = "Quorvel.JPG", int width = 260,
              int height = 470);

// The log lines after their clock times.
QStringList logTexts(const QString& programFolder);

// The folder where tests leave pictures to look at.
QString outputFolder();

// An in-memory settings store that records the order of writes.
struct MemoryStore
{
    QMap<QString, QString> values;
    QStringList writes;
    OptionStore store()
    {
        return {[this](const QString& k, const QString& d) { return values.value(k, d); },
                [this](const QString& k, const QString& v) {
                    values[k] = v;
                    writes << k;
                }};
    }
};

}  // namespace ShellTest
