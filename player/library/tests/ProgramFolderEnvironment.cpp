// The shared test environment gives every test its own home folders and an offscreen
// QApplication; here the temporary home is also the program folder, so that the log
// lines of the scans land in a folder of the tests' own.
#include "SystemPaths.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class HomeAsProgramFolder : public ::testing::Environment
{
public:
    // Read when the tests start: the shared environment sets the home while the program loads.
    void SetUp() override { SystemPaths::setProgramFolder(QDir::homePath()); }
};

[[maybe_unused]] ::testing::Environment* const homeAsProgramFolder =
    ::testing::AddGlobalTestEnvironment(new HomeAsProgramFolder);

}  // namespace
