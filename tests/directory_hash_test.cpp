#include <gtest/gtest.h>

#include <string>

#include "app/directory_hash.h"

TEST(DirectoryHash, SignedByteSumModulo65535AndLength) {
    std::string longPath(65536, 'b');
    longPath[0] = 'a';
    const struct {
        std::string path;
        uint32_t sum;
        uint32_t length;
        const char* why;
    } cases[] = {
        {"C:\\Q", 298, 4, "67 + 58 + 92 + 81"},
        {std::string(516, '\x7F') + "\x03", 0, 517, "exactly 65535 wraps to 0"},
        {"\xFF" "A", 65, 2, "-1 kept as 65535, + 65 reduced once; a plain signed sum gives 64"},
        {"a\xFF", 96, 2, "a positive remainder absorbs a negative byte"},
        {longPath, 97, 1, "the length is taken modulo 65535: only the first byte counts"},
    };
    for (const auto& c : cases) EXPECT_EQ(DirectoryHash(c.path.c_str()), (c.sum << 16) | c.length) << c.why;
}
