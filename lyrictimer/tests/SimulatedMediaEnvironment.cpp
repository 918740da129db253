// The shared test environment gives every test its own home folders and an offscreen
// QApplication; the tests here also play through the simulated media back end.
#include "MediaBackend.h"

#include <gtest/gtest.h>

namespace {

class SimulatedMedia : public ::testing::Environment
{
public:
    void SetUp() override { setMediaBackend(MediaBackend::Simulated); }
};

[[maybe_unused]] ::testing::Environment *const simulatedMedia =
    ::testing::AddGlobalTestEnvironment(new SimulatedMedia);

} // namespace
