// Linked into every test executable. A death test runs its statement in a fresh copy of the
// executable, which ends without unwinding: whatever that copy makes in the temporary folder
// would stay behind after every run. The run that starts it makes a folder of its own and names
// it in the environment; a copy that finds that folder takes it as its temporary folder, and
// the run removes it, with all that its copies left, when it ends.

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr char kRunFolder[] = "PELLORAN_TEST_RUN_FOLDER";

class DeathTestFolder
{
public:
    DeathTestFolder()
    {
        const QString started = qEnvironmentVariable(kRunFolder);
        if (!started.isEmpty() && QDir(started).exists()) {
            qputenv("TMPDIR", QFile::encodeName(started));  // a copy made for a death test
            return;
        }
        m_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/pelloran-test-run-XXXXXX");
        if (m_folder->isValid()) qputenv(kRunFolder, QFile::encodeName(m_folder->path()));
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

// Before the executable's other objects: some make their temporary folders before main().
__attribute__((init_priority(101))) DeathTestFolder deathTestFolder;

}  // namespace
