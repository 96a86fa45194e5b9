// The export frame's promise that no exception leaves it and the caller's resources come back.
#include "interface/frame.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vivo {
namespace {

TEST(ExportFrame, NothingThrownLeavesTheFrameAndTheCallersResourcesComeBack) {
    auto* callers = reinterpret_cast<platform::ResourceLibrary*>(0x1);  // never dereferenced
    const platform::ResourceScope host(callers);
    platform::ResourceLibrary* duringCall = callers;
    const int32_t result = RunExport([&]() -> int32_t {
        duringCall = platform::CurrentResourceSource();
        throw std::runtime_error("worker failed");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(duringCall, nullptr) << "the plug-in's own resources were not current";
    EXPECT_EQ(platform::CurrentResourceSource(), callers);
}

}  // namespace
}  // namespace vivo
