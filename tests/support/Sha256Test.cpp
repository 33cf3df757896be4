// The test SHA-256 against the published test vectors and the padding edges.
#include "tests/support/Sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kelvane::test {
namespace {

TEST(Sha256, PublishedVectors) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Sha256Hex("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrs"
                      "mnopqrstnopqrstu"),
            "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
}

// Lengths around the block size: 55 still fits the length field in the last
// block, 56 … 63 push it into another one, and 64 fills a block exactly.
TEST(Sha256, PaddingEdges) {
  const struct {
    size_t Length;
    const char* Digest;
  } kCases[] = {
      {55, "463eb28e72f82e0a96c0a4cc53690c571281131f672aa229e0d45ae59b598b59"},
      {56, "da2ae4d6b36748f2a318f23e7ab1dfdf45acdc9d049bd80e59de82a60895f562"},
      {63, "29af2686fd53374a36b0846694cc342177e428d1647515f078784d69cdb9e488"},
      {64, "fdeab9acf3710362bd2658cdc9a29e8f9c757fcf9811603a8c447cd1d9151108"},
      {65, "4bfd2c8b6f1eec7a2afeb48b934ee4b2694182027e6d0fc075074f2fabb31781"},
      {119, "da18797ed7c3a777f0847f429724a2d8cd5138e6ed2895c3fa1a6d39d18f7ec6"},
      {120, "f52b23db1fbb6ded89ef42a23ce0c8922c45f25c50b568a93bf1c075420bbb7c"},
  };
  for (const auto& c : kCases) {
    std::string bytes(c.Length, '\0');
    for (size_t i = 0; i < c.Length; ++i) bytes[i] = static_cast<char>(i);
    EXPECT_EQ(Sha256Hex(bytes), c.Digest) << c.Length << " bytes";
  }
}

// Bytes above 0x7F (Shift-JIS lead bytes) must not be sign-extended.
TEST(Sha256, HighBytes) {
  EXPECT_EQ(Sha256Hex(std::string("\x82\xa0\r\n\xff\x00\x80", 7)),
            "96e36bf659468d80e6561232547adb74e1b14e1696b3777d3dd81297bbe1822b");
}

// A million 'a' fed in pieces that straddle the block boundaries unevenly.
TEST(Sha256, MillionAInUnevenPieces) {
  const std::string a(1000000, 'a');
  constexpr char kDigest[] = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
  EXPECT_EQ(Sha256Hex(a), kDigest);
  TSha256 hash;
  size_t done = 0;
  for (size_t piece = 1; done < a.size(); piece = piece % 150 + 7) {
    const size_t n = std::min(piece, a.size() - done);
    hash.Update(std::string_view(a).substr(done, n));
    done += n;
  }
  EXPECT_EQ(hash.HexDigest(), kDigest);
}

}  // namespace
}  // namespace kelvane::test
