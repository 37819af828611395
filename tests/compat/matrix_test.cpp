#include <gtest/gtest.h>

#include <random>

#include "compat/matrix.h"

using namespace kv;

namespace {

TChart AllAt(double lon) {
  TChart c{};
  for (int k = 1; k <= kBodies; ++k) c[k].Lon = lon;
  return c;
}

std::int32_t Code(int i, double lonFirst, int j, double lonSecond) {
  TChart a = AllAt(0), b = AllAt(0);
  a[i].Lon = lonFirst;
  b[j].Lon = lonSecond;
  TAspectMatrix m{};
  Cross_Aspects(a, b, m);
  return m[i][j];
}

// Reference in whole quarter degrees: the separation folded into 0..180 and
// compared with each aspect angle, all in integers.
std::int32_t ReferenceCode(int i, int j, int q1, int q2) {
  if (i == 2 || j == 2) return kNoAspect;
  const int orbQ = 4 * static_cast<int>(std::max(Orb_Table[i], Orb_Table[j]));
  int s = std::abs(q1 - q2);
  if (s > 720) s = 1440 - s;
  for (int a : {0, 60, 90, 120, 180})
    if (std::abs(s - 4 * a) <= orbQ) return a;
  return kNoAspect;
}

}  // namespace

TEST(CrossAspectsTest, OrbIsTheWiderOfTheTwoBodies) {
  // Sun-Saturn takes the Sun's 10, Mercury-Pluto 6, Saturn-Neptune 4.
  EXPECT_EQ(Code(1, 0, 7, 10), kConjunction);
  EXPECT_EQ(Code(7, 0, 1, 10), kConjunction);
  EXPECT_EQ(Code(1, 0, 7, 10.25), kNoAspect);
  EXPECT_EQ(Code(3, 100, 10, 106), kConjunction);
  EXPECT_EQ(Code(3, 100, 10, 106.25), kNoAspect);
  EXPECT_EQ(Code(7, 200, 9, 204), kConjunction);
  EXPECT_EQ(Code(9, 200, 7, 204.25), kNoAspect);
}

TEST(CrossAspectsTest, SeparationCases) {
  // Across 0 degrees: 359 and 1 are 2 apart, a conjunction for every pair
  // without the Moon.
  TAspectMatrix m{};
  Cross_Aspects(AllAt(359), AllAt(1), m);
  for (int i = 1; i <= 10; ++i)
    for (int j = 1; j <= 10; ++j)
      EXPECT_EQ(m[i][j], i == 2 || j == 2 ? kNoAspect : kConjunction) << i << "," << j;

  EXPECT_EQ(Code(3, 10, 4, 76), kSextile);    // d = 66, exactly the orb
  EXPECT_EQ(Code(7, 0, 8, 94.5), kNoAspect);  // half a degree beyond
  EXPECT_EQ(Code(7, 0, 8, 94), kSquare);
  EXPECT_EQ(Code(1, 0, 7, 171), kOpposition);    // the Sun's orb wins
  EXPECT_EQ(Code(1, 300, 7, 129), kOpposition);  // the same the other way round
  EXPECT_EQ(Code(5, 123.5, 6, 123.5), kConjunction);
  EXPECT_EQ(Code(4, 0, 4, 180), kOpposition);
  EXPECT_EQ(Code(4, 90, 4, 270), kOpposition);
  EXPECT_EQ(Code(4, 0, 4, 360), kConjunction);  // 360 is a longitude too
  EXPECT_EQ(Code(6, 250, 6, 250), kConjunction);
  // Each aspect at both edges of the Sun's orb.
  EXPECT_EQ(Code(1, 0, 1, 50), kSextile);
  EXPECT_EQ(Code(1, 0, 1, 70), kSextile);
  EXPECT_EQ(Code(1, 0, 1, 80), kSquare);
  EXPECT_EQ(Code(1, 0, 1, 100), kSquare);
  EXPECT_EQ(Code(1, 0, 1, 110), kTrine);
  EXPECT_EQ(Code(1, 0, 1, 130), kTrine);
  EXPECT_EQ(Code(1, 0, 1, 170), kOpposition);
  EXPECT_EQ(Code(1, 0, 1, 130.25), kNoAspect);
  EXPECT_EQ(Code(1, 0, 1, 40), kNoAspect);   // semi-square is no aspect here
  EXPECT_EQ(Code(1, 0, 1, 150), kNoAspect);  // nor is the quincunx
}

TEST(CrossAspectsTest, MatrixIsDirectional) {
  TChart a = AllAt(0), b = AllAt(0);
  a[3].Lon = 10;   // natal Mercury
  b[4].Lon = 76;   // partner Venus
  a[4].Lon = 200;  // natal Venus
  b[3].Lon = 0;    // partner Mercury: 160 from natal Venus
  TAspectMatrix m{};
  Cross_Aspects(a, b, m);
  EXPECT_EQ(m[3][4], kSextile);
  EXPECT_EQ(m[4][3], kNoAspect);
}

TEST(CrossAspectsTest, AgreesWithIntegerReferenceOverAllSeparations) {
  const int firsts[] = {0, 1, 37, 719, 720, 1200, 1439, 1440};
  for (int q1 : firsts) {
    for (int q2 = 0; q2 <= 1440; ++q2) {
      TAspectMatrix m{};
      Cross_Aspects(AllAt(q1 / 4.0), AllAt(q2 / 4.0), m);
      for (int i = 1; i <= 10; ++i)
        for (int j = 1; j <= 10; ++j)
          ASSERT_EQ(m[i][j], ReferenceCode(i, j, q1, q2))
              << i << "," << j << " " << q1 / 4.0 << " " << q2 / 4.0;
    }
  }
}

TEST(CrossAspectsTest, MoonRowAndColumnAreAlwaysEmpty) {
  std::mt19937 rng(1985);
  std::uniform_real_distribution<double> lon(0, 360);
  TAspectMatrix m{};
  for (int n = 0; n < 2000; ++n) {
    TChart a{}, b{};
    for (int k = 1; k <= 10; ++k) {
      a[k].Lon = lon(rng);
      b[k].Lon = lon(rng);
    }
    if (n % 2) b[2].Lon = a[2].Lon;       // both Moons together
    if (n % 3 == 0) a[2].Lon = b[1].Lon;  // natal Moon on the partner's Sun
    Cross_Aspects(a, b, m);
    for (int k = 1; k <= 10; ++k) {
      ASSERT_EQ(m[2][k], kNoAspect);
      ASSERT_EQ(m[k][2], kNoAspect);
    }
  }
}

TEST(CrossAspectsTest, WritesTheWholeBlockAndNothingBeyond) {
  TAspectMatrix m{};
  for (auto& row : m) row.items.fill(7777);
  Cross_Aspects(AllAt(0), AllAt(45), m);  // 45 apart: no aspect anywhere
  for (int i = 1; i <= 44; ++i)
    for (int j = 1; j <= 44; ++j) {
      if (i <= 10 && j <= 10)
        ASSERT_EQ(m[i][j], kNoAspect);
      else
        ASSERT_EQ(m[i][j], 7777) << i << "," << j;
    }
  Cross_Aspects(AllAt(0), AllAt(0), m);
  EXPECT_EQ(m[1][1], kConjunction);  // nothing of the earlier call stays
}
