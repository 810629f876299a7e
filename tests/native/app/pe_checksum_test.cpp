#include "app/pe_checksum.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A minimal image: DOS header pointing at a PE header with a PE32+ magic.
std::vector<uint8_t> Image(size_t size, uint32_t pe_offset = 0x80) {
  std::vector<uint8_t> d(size, 0);
  d[0] = 'M';
  d[1] = 'Z';
  d[0x3C] = uint8_t(pe_offset);
  d[0x3D] = uint8_t(pe_offset >> 8);
  d[pe_offset] = 'P';
  d[pe_offset + 1] = 'E';
  d[pe_offset + 24] = 0x0B;
  d[pe_offset + 25] = 0x02;
  return d;
}

TEST(FindPeChecksumOffset, FindsTheOptionalHeaderField) {
  std::vector<uint8_t> d = Image(0x200);
  size_t off = 0;
  ASSERT_TRUE(FindPeChecksumOffset(d.data(), d.size(), off));
  EXPECT_EQ(off, 0x80u + 4 + 20 + 64);
}

TEST(FindPeChecksumOffset, RefusesWhatIsNotAnImage) {
  size_t off = 0;
  std::vector<uint8_t> d = Image(0x200);
  d[0] = 'X';
  EXPECT_FALSE(FindPeChecksumOffset(d.data(), d.size(), off));
  d = Image(0x200);
  d[0x81] = 'X';
  EXPECT_FALSE(FindPeChecksumOffset(d.data(), d.size(), off));
  d = Image(0x200);
  d[0x80 + 24] = 0x07;  // unknown optional-header magic
  EXPECT_FALSE(FindPeChecksumOffset(d.data(), d.size(), off));
  d = Image(0x200);
  d[0x3C] = 0xF0;  // header pointer too near the end for the field
  d[0x3D] = 0x01;
  EXPECT_FALSE(FindPeChecksumOffset(d.data(), d.size(), off));
  d = Image(0x200);
  d[0x3E] = 0xFF;  // pointer far past the file
  d[0x3F] = 0xFF;
  EXPECT_FALSE(FindPeChecksumOffset(d.data(), d.size(), off));
  EXPECT_FALSE(FindPeChecksumOffset(d.data(), 10, off));
}

TEST(ComputePeChecksum, IgnoresTheFieldItselfAndSeesEveryOtherByte) {
  std::vector<uint8_t> d = Image(0x201);  // odd length: the last byte counts alone
  size_t off = 0;
  ASSERT_TRUE(FindPeChecksumOffset(d.data(), d.size(), off));
  const uint32_t base = ComputePeChecksum(d.data(), d.size(), off);
  // Writing the checksum into its field leaves the checksum unchanged.
  d[off] = 0xAA;
  d[off + 3] = 0x55;
  EXPECT_EQ(ComputePeChecksum(d.data(), d.size(), off), base);
  d[off] = d[off + 3] = 0;
  // Any other change, the last odd byte included, changes it.
  for (size_t i : {size_t(2), size_t(0x150), d.size() - 1}) {
    std::vector<uint8_t> changed = d;
    changed[i] ^= 1;
    EXPECT_NE(ComputePeChecksum(changed.data(), changed.size(), off), base) << i;
  }
}

TEST(ComputePeChecksum, FoldsCarriesAndAddsTheLength) {
  // Four words of 0xFFFF keep the folded sum at 0xFFFF; adding 0x0002
  // carries out to 0x0002; the length 16 comes on top.
  std::vector<uint8_t> d(16, 0);
  for (int i = 0; i < 8; ++i) d[i] = 0xFF;
  d[8] = 0x02;
  // Field at 12: bytes 12..15 are skipped.
  d[12] = d[13] = d[14] = d[15] = 0x77;
  EXPECT_EQ(ComputePeChecksum(d.data(), d.size(), 12), 0x0002u + 16u);
}

}  // namespace
