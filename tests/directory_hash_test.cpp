#include <gtest/gtest.h>

#include <string>

#include "app/directory_hash.h"

TEST(DirectoryHash, AsciiPathIsByteSumAndLength) {
    // 'C' ':' '\\' 'Q' = 67 + 58 + 92 + 81
    EXPECT_EQ(DirectoryHash("C:\\Q"), (298u << 16) | 4u);
    EXPECT_EQ(DirectoryHash(""), 0u);
    EXPECT_NE(DirectoryHash("C:\\data"), DirectoryHash("C:\\date"));
}

TEST(DirectoryHash, SumWrapsModulo65535) {
    // 600 x 'z' (122) sums to 73200, which is 7665 past 65535.
    std::string path(600, 'z');
    EXPECT_EQ(DirectoryHash(path.c_str()), (7665u << 16) | 600u);
    // 516 x 127 = 65532; three more make exactly 65535, which wraps to 0.
    std::string exact = std::string(516, static_cast<char>(0x7F)) + "\x03";
    EXPECT_EQ(DirectoryHash(exact.c_str()), 517u);
}

TEST(DirectoryHash, HighBytesCountAsNegativeWithTwosComplementRemainder) {
    // "ę" is C4 99 in UTF-8: -60 gives a negative remainder kept as 65476,
    // then -103 gives 65373, then 'a' 65470.
    EXPECT_EQ(DirectoryHash("\xC4\x99"
                            "a"),
              (65470u << 16) | 3u);
    // -1 is kept as 65535; adding 'A' (65) gives 65600, reduced once to 65.
    // (A plain signed sum modulo 65535 would give 64.)
    EXPECT_EQ(DirectoryHash("\xFF"
                            "A"),
              (65u << 16) | 2u);
    // A positive remainder absorbs a negative byte without wrapping.
    EXPECT_EQ(DirectoryHash("a\xFF"), (96u << 16) | 2u);
}

TEST(DirectoryHash, LengthIsTakenModulo65535) {
    // 65536 bytes count as one: only the first byte is summed.
    std::string path(65536, 'b');
    path[0] = 'a';
    EXPECT_EQ(DirectoryHash(path.c_str()), (97u << 16) | 1u);
}
