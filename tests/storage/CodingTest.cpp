#include <gtest/gtest.h>

#include "storage/Coding.h"
#include "storage/Layout.h"

namespace fs5 {
namespace {

TEST(Coding, EncodingOutputIsLittleEndian) {
  uint8_t buf[2];
  encodeFixed16(buf, 0x0201);
  EXPECT_EQ(buf[0], 0x01);
  EXPECT_EQ(buf[1], 0x02);
  encodeSigned16(buf, -1);
  EXPECT_EQ(buf[0], 0xff);
  EXPECT_EQ(buf[1], 0xff);
  EXPECT_EQ(decodeSigned16(buf), -1);
  const uint8_t raw[2] = {0xfa, 0x55};
  EXPECT_EQ(decodeFixed16(raw), 0x55fa);
}

TEST(Layout, StandardCountsGiveTheStandardHeader) {
  DiskLayout l = DiskLayout::forCounts(100, 1000, 100);
  uint8_t header[10];
  l.encode(header);
  const uint8_t expected[10] = {0x0a, 0x00, 0x6e, 0x00, 0x56, 0x04, 0xba, 0x04, 0xfa, 0x55};
  EXPECT_EQ(std::vector<uint8_t>(header, header + 10),
            std::vector<uint8_t>(expected, expected + 10));
  EXPECT_TRUE(l.isValid());
  EXPECT_EQ(l.imageSize(), 122010);
  EXPECT_EQ(*l.inodeOffset(0), 1210);
  EXPECT_EQ(*l.inodeOffset(99), 21802);
  EXPECT_EQ(*l.blockOffset(0), 22010);
  EXPECT_EQ(*l.blockOffset(999), 121910);
}

TEST(Layout, OffsetsOutsideTheirRegionAreRefused) {
  DiskLayout l = DiskLayout::forCounts(100, 1000, 100);
  EXPECT_FALSE(l.inodeOffset(100));
  EXPECT_FALSE(l.inodeOffset(-1));
  EXPECT_FALSE(l.blockOffset(1000));
  EXPECT_FALSE(l.blockMapByte(-5));
  EXPECT_FALSE(l.userMapByte(100));
  EXPECT_EQ(*l.userMapByte(99), 1209);
}

TEST(Layout, DamagedHeadersAreNotValid) {
  DiskLayout l = DiskLayout::forCounts(100, 1000, 100);
  DiskLayout bad = l;
  bad.inodeMapStart = 11;
  EXPECT_FALSE(bad.isValid());
  bad = l;
  bad.blockMapStart = 10;  // no i-nodes
  EXPECT_FALSE(bad.isValid());
  bad = l;
  bad.blockAreaStart = 22009;
  EXPECT_FALSE(bad.isValid());
  bad = l;
  bad.userMapStart = 100;  // out of order
  EXPECT_FALSE(bad.isValid());
  EXPECT_FALSE(DiskLayout{}.isValid());
}

}  // namespace
}  // namespace fs5
