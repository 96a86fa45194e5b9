// The identity exports as the host sees them, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/guarded_call.h"

namespace vivo::test {
namespace {

TEST(Identity, NumbersAndNames) {
    const Plugin& plugin = SharedPlugin();
    uint32_t major = 0, minor = 0, ordinal = 0, answer = 9;
    ASSERT_EQ(VIVO_CALL_EXPORT(plugin, GetDLLInterfaceVersion)(&major, &minor), 0);
    EXPECT_EQ(major, 2u);
    EXPECT_EQ(minor, 6u);
    ASSERT_EQ(VIVO_CALL_EXPORT(plugin, GetDLLOrdinalVersion)(&ordinal), 0);
    EXPECT_EQ(ordinal, 29u);
    EXPECT_EQ(VIVO_CALL_EXPORT(plugin, IsCommandLineExecutionSupported)("Veltora Bindex", &answer), 0);
    EXPECT_EQ(answer, 0u);
}

TEST(Identity, ShippedTemplatesAreDelivered) {
    const std::string list = DeliveredAtItsSize(VIVO_CALL_EXPORT(SharedPlugin(), GetTemplates));
    EXPECT_TRUE(list.starts_with("KZ C Application|") && list.ends_with(std::string(2, '\0'))) << list;
}

}  // namespace
}  // namespace vivo::test
