// Every row loop set of the processor (scalar; on x86 also SSE2 and, where the processor has it,
// AVX2) against the plain arithmetic of CombineReference.h: random pixels, every source alpha,
// every weight, and row lengths and starting offsets that leave every kind of remainder at a
// row's end.

#include "CombineReference.h"
#include "TestBitmaps.h"

#include "raster/RasterRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {
constexpr std::uint32_t kGuardValue = 0xDEADBEEFu;
constexpr int kGuard = 9;

using NamedRows = NamedRasterRows;

std::vector<NamedRows> AllSets() {
  return RasterRowSets();
}

// Source pixels with every alpha 0..255 in turn, colours random; destinations random with every
// alpha class.
void MakePixels(std::uint32_t seed, int count, std::vector<std::uint32_t>* src,
                std::vector<std::uint32_t>* dest) {
  PixelSource random(seed);
  src->resize(count);
  dest->resize(count);
  for (int i = 0; i < count; ++i) {
    (*src)[i] = (random.Next() & 0x00FFFFFFu) | (static_cast<std::uint32_t>(i & 0xFF) << 24);
    (*dest)[i] = random.Next();
  }
}

std::uint32_t Channelwise(std::uint32_t s, std::uint32_t d, int (*f)(int sc, int dc)) {
  reference::Channels sc = reference::Split(s);
  reference::Channels dc = reference::Split(d);
  for (int c = 0; c < 4; ++c) {
    dc.v[c] = f(sc.v[c], dc.v[c]);
  }
  return reference::Join(dc);
}

// Runs a row loop over a destination row with guards on both sides and checks each pixel with
// expect(s, d) and that the guards are untouched.
template <typename Loop, typename Expect>
void CheckRow(const std::string& what, const std::vector<std::uint32_t>& src,
              const std::vector<std::uint32_t>& dest, int offset, int n, Loop loop, Expect expect) {
  std::vector<std::uint32_t> row(n + 2 * kGuard, kGuardValue);
  std::copy(dest.begin() + offset, dest.begin() + offset + n, row.begin() + kGuard);
  loop(row.data() + kGuard, src.data() + offset, n);
  for (int g = 0; g < kGuard; ++g) {
    ASSERT_EQ(row[g], kGuardValue) << what << " wrote before the row";
    ASSERT_EQ(row[kGuard + n + g], kGuardValue) << what << " wrote after the row";
  }
  for (int i = 0; i < n; ++i) {
    const std::uint32_t s = src[offset + i];
    const std::uint32_t d = dest[offset + i];
    ASSERT_EQ(row[kGuard + i], expect(s, d))
        << what << " pixel " << i << " of " << n << " s " << std::hex << s << " d " << d;
  }
}
} // namespace

TEST(RowLoops, OverMatchesTheReferenceForEveryAlphaAndWeight) {
  std::vector<std::uint32_t> src;
  std::vector<std::uint32_t> dest;
  MakePixels(11, 256 * 4, &src, &dest);
  const int count = static_cast<int>(src.size());
  for (const NamedRows& set : AllSets()) {
    const RasterRows& rows = *set.rows;
    CheckRow(
        std::string(set.name) + " over full", src, dest, 0, count,
        [&](std::uint32_t* d, const std::uint32_t* s, int n) { rows.overFull(d, s, n); },
        [](std::uint32_t s, std::uint32_t d) {
          return reference::Combine(s, d, RASTER_OP_COPY, true, 256);
        });
    for (int w = 1; w < 256; ++w) {
      CheckRow(
          std::string(set.name) + " over " + std::to_string(w), src, dest, 0, count,
          [&](std::uint32_t* d, const std::uint32_t* s, int n) { rows.over(d, s, n, w); },
          [w](std::uint32_t s, std::uint32_t d) {
            return reference::Combine(s, d, RASTER_OP_COPY, true, w);
          });
    }
  }
}

TEST(RowLoops, BlendAndAverageMatchTheReference) {
  std::vector<std::uint32_t> src;
  std::vector<std::uint32_t> dest;
  MakePixels(12, 1024, &src, &dest);
  const int count = static_cast<int>(src.size());
  for (const NamedRows& set : AllSets()) {
    const RasterRows& rows = *set.rows;
    for (int w = 1; w < 256; ++w) {
      CheckRow(
          std::string(set.name) + " blend " + std::to_string(w), src, dest, 0, count,
          [&](std::uint32_t* d, const std::uint32_t* s, int n) { rows.blend(d, s, n, w); },
          [w](std::uint32_t s, std::uint32_t d) {
            return reference::Combine(s, d, RASTER_OP_COPY, false, w);
          });
    }
    CheckRow(
        std::string(set.name) + " average", src, dest, 0, count,
        [&](std::uint32_t* d, const std::uint32_t* s, int n) { rows.average(d, s, n); },
        [](std::uint32_t s, std::uint32_t d) {
          return Channelwise(s, d, [](int sc, int dc) { return sc / 2 + dc / 2; });
        });
  }
}

TEST(RowLoops, FillsMatchTheReference) {
  std::vector<std::uint32_t> src;
  std::vector<std::uint32_t> dest;
  MakePixels(13, 600, &src, &dest);
  const int count = static_cast<int>(src.size());
  const std::uint32_t colours[] = {0x80E40303u, 0x00000000u, 0xFFFFFFFFu, 0x7F00FF80u};
  for (const NamedRows& set : AllSets()) {
    const RasterRows& rows = *set.rows;
    for (const std::uint32_t colour : colours) {
      const std::string what = std::string(set.name) + " colour " + std::to_string(colour);
      const auto fixed = [&](void (*fill)(std::uint32_t*, int, std::uint32_t),
                             int (*f)(int sc, int dc), const char* name) {
        CheckRow(
            what + name, src, dest, 0, count,
            [&](std::uint32_t* d, const std::uint32_t*, int n) { fill(d, n, colour); },
            [&](std::uint32_t, std::uint32_t d) { return Channelwise(colour, d, f); });
      };
      fixed(
          rows.fillHalf, [](int sc, int dc) { return sc / 2 + dc / 2; }, " half");
      fixed(
          rows.fillQuarter, [](int sc, int dc) { return dc / 2 + sc / 4 + dc / 4; }, " quarter");
      fixed(
          rows.fillThreeQuarters, [](int sc, int dc) { return sc / 4 + dc / 4 + sc / 2; },
          " three quarters");
      for (int a = 1; a < 256; ++a) {
        const std::uint32_t source = (colour & 0x00FFFFFFu) | (static_cast<std::uint32_t>(a) << 24);
        CheckRow(
            what + " blend " + std::to_string(a), src, dest, 0, count,
            [&](std::uint32_t* d, const std::uint32_t*, int n) { rows.fillBlend(d, n, source, a); },
            [&](std::uint32_t, std::uint32_t d) {
              return reference::Combine(source, d, RASTER_OP_COPY, false, a);
            });
      }
    }
  }
}

// Every length from 0 to a few registers and every start within a register, so the vector loops
// hand over to the narrower sets at every possible point and never touch a pixel past the end.
TEST(RowLoops, EveryLengthAndStartEndsExactly) {
  std::vector<std::uint32_t> src;
  std::vector<std::uint32_t> dest;
  MakePixels(14, 128, &src, &dest);
  for (const NamedRows& set : AllSets()) {
    const RasterRows& rows = *set.rows;
    for (int offset = 0; offset < 8; ++offset) {
      for (int n = 0; n <= 40; ++n) {
        const std::string what =
            std::string(set.name) + " start " + std::to_string(offset) + " n " + std::to_string(n);
        CheckRow(
            what + " over full", src, dest, offset, n,
            [&](std::uint32_t* d, const std::uint32_t* s, int k) { rows.overFull(d, s, k); },
            [](std::uint32_t s, std::uint32_t d) {
              return reference::Combine(s, d, RASTER_OP_COPY, true, 256);
            });
        CheckRow(
            what + " over", src, dest, offset, n,
            [&](std::uint32_t* d, const std::uint32_t* s, int k) { rows.over(d, s, k, 77); },
            [](std::uint32_t s, std::uint32_t d) {
              return reference::Combine(s, d, RASTER_OP_COPY, true, 77);
            });
        CheckRow(
            what + " blend", src, dest, offset, n,
            [&](std::uint32_t* d, const std::uint32_t* s, int k) { rows.blend(d, s, k, 200); },
            [](std::uint32_t s, std::uint32_t d) {
              return reference::Combine(s, d, RASTER_OP_COPY, false, 200);
            });
        CheckRow(
            what + " fill half", src, dest, offset, n,
            [&](std::uint32_t* d, const std::uint32_t*, int k) {
              rows.fillHalf(d, k, 0x80E40303u);
            },
            [](std::uint32_t, std::uint32_t d) {
              return Channelwise(0x80E40303u, d, [](int sc, int dc) { return sc / 2 + dc / 2; });
            });
      }
    }
  }
}

// Whole registers of clear or opaque source pixels take shortcuts; rows mixing them with
// translucent ones at every position check that the shortcuts agree with the arithmetic.
TEST(RowLoops, ClearAndOpaqueRunsAgreeWithTheArithmetic) {
  PixelSource random(15);
  std::vector<std::uint32_t> src(64);
  std::vector<std::uint32_t> dest(64);
  for (int translucent = -1; translucent < 16; ++translucent) {
    for (const std::uint32_t alpha : {0x00000000u, 0xFF000000u}) {
      for (int i = 0; i < 64; ++i) {
        src[i] = (random.Next() & 0x00FFFFFFu) | (i % 16 == translucent ? 0x7F000000u : alpha);
        dest[i] = random.Next();
      }
      for (const NamedRows& set : AllSets()) {
        const RasterRows& rows = *set.rows;
        CheckRow(
            std::string(set.name) + " runs", src, dest, 0, 64,
            [&](std::uint32_t* d, const std::uint32_t* s, int n) { rows.overFull(d, s, n); },
            [](std::uint32_t s, std::uint32_t d) {
              return reference::Combine(s, d, RASTER_OP_COPY, true, 256);
            });
        CheckRow(
            std::string(set.name) + " runs at 100", src, dest, 0, 64,
            [&](std::uint32_t* d, const std::uint32_t* s, int n) { rows.over(d, s, n, 100); },
            [](std::uint32_t s, std::uint32_t d) {
              return reference::Combine(s, d, RASTER_OP_COPY, true, 100);
            });
      }
    }
  }
}

TEST(RowLoops, TheBestSetIsTheWidestTheProcessorRuns) {
  const std::vector<NamedRows> sets = AllSets();
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(sets.front().rows, &RasterRowsScalar());
  EXPECT_EQ(&RasterRowsBest(), sets.back().rows);
}
