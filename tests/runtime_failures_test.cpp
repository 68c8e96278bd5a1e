// The program's answer when the C++ runtime cannot go on: the nothrow
// allocations the dialogs check still report failure by a null pointer, and
// everything that would have thrown ends the process instead of returning.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace {
// More than any 64-bit Windows can give, but within what malloc accepts as a
// request, so the failure comes from the allocator and not from a size check.
constexpr std::size_t kImpossibleSize = std::size_t{1} << 60;

// Kept so that the compiler cannot leave out an allocation nobody uses.
char* volatile keptBlock;
}  // namespace

TEST(RuntimeFailures, NothrowAllocationReportsFailureByNull) {
    keptBlock = new (std::nothrow) char[kImpossibleSize];
    EXPECT_EQ(keptBlock, nullptr);
    keptBlock = new (std::nothrow) char[16];
    EXPECT_NE(keptBlock, nullptr);
    delete[] keptBlock;
}

// abort() ends a process with exit code 3. A statement that returns or
// throws instead fails the check: the child process reports it.
TEST(RuntimeFailuresDeathTest, WhatWouldThrowEndsTheProcess) {
    const auto aborted = testing::ExitedWithCode(3);
    EXPECT_EXIT(keptBlock = new char[kImpossibleSize], aborted, "");
    EXPECT_EXIT(std::string().reserve(std::string().max_size() + 1), aborted, "");
    EXPECT_EXIT(std::vector<int>().reserve(std::vector<int>().max_size() + 1), aborted, "");
    EXPECT_EXIT((void)std::string("abc").substr(4), aborted, "");
}
