#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "state/extended.h"
#include "state/particle_record.h"

using namespace zentrova;

namespace {

std::array<std::uint8_t, 10> bytesOf(Real v) {
  std::array<std::uint8_t, 10> b{};
  encodeExtended(v, b.data());
  return b;
}

}  // namespace

TEST(Extended, WritesTheTenByteForm) {
  using B = std::array<std::uint8_t, 10>;
  EXPECT_EQ(bytesOf(1.0L), (B{0, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x3f}));
  EXPECT_EQ(bytesOf(-2.5L), (B{0, 0, 0, 0, 0, 0, 0, 0xa0, 0x00, 0xc0}));
  EXPECT_EQ(bytesOf(0.0L), (B{}));
  EXPECT_EQ(bytesOf(std::numeric_limits<Real>::denorm_min()), (B{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(bytesOf(std::numeric_limits<Real>::infinity()), (B{0, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x7f}));
  const B nan = bytesOf(std::numeric_limits<Real>::quiet_NaN());
  EXPECT_EQ(nan[9] & 0x7f, 0x7f);
  EXPECT_EQ(nan[8], 0xff);
  EXPECT_EQ(nan[7], 0xc0);
}

TEST(Extended, AnyBitPatternRoundTripsAndClassifies) {
  const std::uint8_t patterns[][10] = {
      {1, 2, 3, 4, 5, 6, 7, 0x00, 0x34, 0x12},  // unnormal
      {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00},  // pseudo-denormal
      {1, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x7f},  // signalling NaN
      {0, 0, 0, 0, 0, 0, 0, 0x00, 0xff, 0x7f},  // pseudo-infinity
      {9, 9, 9, 9, 9, 9, 9, 0x19, 0x00, 0x80},  // negative denormal
  };
  const ExtendedClass expected[] = {ExtendedClass::Unnormal, ExtendedClass::PseudoDenormal, ExtendedClass::NaN,
                                    ExtendedClass::Unnormal, ExtendedClass::Denormal};
  for (std::size_t k = 0; k < std::size(patterns); ++k) {
    const Real v = decodeExtended(patterns[k]);
    std::uint8_t back[10];
    encodeExtended(v, back);
    EXPECT_EQ(std::memcmp(back, patterns[k], 10), 0) << k;
    EXPECT_EQ(classifyExtended(v), expected[k]) << k;
  }
  EXPECT_EQ(classifyExtended(1.5L), ExtendedClass::Normal);
  EXPECT_EQ(classifyExtended(-0.0L), ExtendedClass::Zero);
}

TEST(Record, FieldsSitAtTheirOffsets) {
  ParticleSet s;
  s.Count = 60;
  s.Dt = 1;
  s.A1 = 2;
  s.D3 = 3;
  s.X[0] = 4;
  s.Y[59] = 5;
  s.Uz[59] = 6;
  s.Present[0] = 7;
  s.Present[59] = 1;
  ParticleRecord r;
  snapshotSetIntoRecord(s, r);
  EXPECT_EQ(r.real(0), 1.0L);
  EXPECT_EQ(r.real(16), 2.0L);
  EXPECT_EQ(r.real(106), 3.0L);
  EXPECT_EQ(r.real(120), 4.0L);
  EXPECT_EQ(r.real(720 + 590), 5.0L);
  EXPECT_EQ(r.real(3120 + 590), 6.0L);
  EXPECT_EQ(r.bytes[3720], 7);
  EXPECT_EQ(r.bytes[3779], 1);
}

TEST(Record, SnapshotKeepsPaddingAndLoadIsBitIdentical) {
  ParticleRecord r;
  for (std::size_t k = 0; k < r.bytes.size(); ++k) r.bytes[k] = std::uint8_t(k * 37 + 11);
  for (int i = 0; i < 60; ++i) r.bytes[3720 + i] = std::uint8_t(i % 3 == 0 ? 0 : i % 3 == 1 ? 5 : 255);
  const ParticleRecord original = r;
  ParticleSet s;
  s.Count = 60;
  loadRecordIntoSet(r, s);
  EXPECT_TRUE(s.present(2));
  EXPECT_FALSE(s.present(1));
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(std::memcmp(&s.X1[i], &s.X[i], 10), 0);
    EXPECT_EQ(std::memcmp(&s.DrawZ[i], &s.Z[i], 10), 0);
    EXPECT_EQ(std::memcmp(&s.Uy1[i], &s.Uy[i], 10), 0);
  }
  ParticleRecord again;
  again.bytes = original.bytes;
  snapshotSetIntoRecord(s, again);
  EXPECT_EQ(again.bytes, original.bytes);  // padding, odd presence bytes and NaN patterns all intact

  ParticleRecord fresh;  // a fresh buffer writes zero padding
  snapshotSetIntoRecord(s, fresh);
  for (std::size_t k : {10u, 15u, 116u, 119u, 3780u, 3783u}) EXPECT_EQ(fresh.bytes[k], 0) << k;
}

TEST(Record, NothingIsCopiedBeforeStartUpSetsTheCount) {
  ParticleRecord r;
  r.setReal(ParticleRecord::kX, 9);
  ParticleSet s;  // Count 0
  loadRecordIntoSet(r, s);
  EXPECT_EQ(s.X[0], 0.0L);
}
