#include "MaskRuns.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

struct Picture {
  int w, h;
  std::vector<uint32_t> px;
  Picture(int width, int height, uint32_t fill) : w(width), h(height), px(size_t(width) * height, fill) {}
  uint32_t& at(int x, int y) { return px[size_t(y) * w + x]; }
};

std::vector<MaskBatch> collect(const Picture& p, size_t batch = kMaskBatchSize, uint32_t tol = 0) {
  std::vector<MaskBatch> out;
  CollectMaskRuns(
      p.w, p.h, [&](int y) { return p.px.data() + size_t(y) * p.w; }, kWhite, tol,
      [&](const MaskBatch& b) { out.push_back(b); }, batch);
  return out;
}

std::set<std::pair<int, int>> coveredPixels(const std::vector<MaskBatch>& batches) {
  std::set<std::pair<int, int>> pixels;
  for (const auto& b : batches)
    for (const auto& r : b.rects)
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.insert({x, y});
  return pixels;
}

}  // namespace

TEST(MaskRuns, AllWhiteGivesNothingAndNoWhiteGivesFullRows) {
  EXPECT_TRUE(collect(Picture(30, 20, kWhite)).empty());
  auto full = collect(Picture(30, 20, kBlack));
  ASSERT_EQ(full.size(), 1u);
  ASSERT_EQ(full[0].rects.size(), 20u);
  EXPECT_EQ(full[0].rects[3], (SkinRect{0, 3, 30, 4}));
  EXPECT_EQ(full[0].bounds, (SkinRect{0, 0, 30, 20}));
}

TEST(MaskRuns, TransparentAtBothEndsGivesOneMiddleRun) {
  Picture p(10, 1, kBlack);
  p.at(0, 0) = p.at(1, 0) = p.at(9, 0) = kWhite;
  auto b = collect(p);
  ASSERT_EQ(b.size(), 1u);
  ASSERT_EQ(b[0].rects.size(), 1u);
  EXPECT_EQ(b[0].rects[0], (SkinRect{2, 0, 9, 1}));
}

TEST(MaskRuns, ManyRunsAreBatchedAndCoverTheSamePixels) {
  // A checkerboard: every other pixel opaque gives one run per pixel.
  Picture p(100, 50, kWhite);
  for (int y = 0; y < p.h; ++y)
    for (int x = (y & 1); x < p.w; x += 2) p.at(x, y) = kBlack;
  auto batched = collect(p);
  ASSERT_EQ(batched.size(), 2u);  // 2500 runs
  EXPECT_EQ(batched[0].rects.size(), 2000u);
  EXPECT_EQ(batched[1].rects.size(), 500u);
  auto once = collect(p, 1u << 20);
  ASSERT_EQ(once.size(), 1u);
  EXPECT_EQ(coveredPixels(batched), coveredPixels(once));
  // Each batch has its own bounding box, reset between batches.
  EXPECT_EQ(batched[1].bounds.top, 40);
}

TEST(MaskRuns, ToleranceWidensTransparencyPerChannelCappedAt255) {
  EXPECT_TRUE(IsMaskPixelTransparent(0xFFFFFF, kWhite, 0));
  EXPECT_FALSE(IsMaskPixelTransparent(0xFFFFFE, kWhite, 0));
  // DIB pixel is 0xRRGGBB, colours are 0xBBGGRR.
  EXPECT_TRUE(IsMaskPixelTransparent(0xFF0000, 0x0000FF, 0));
  EXPECT_FALSE(IsMaskPixelTransparent(0x0000FF, 0x0000FF, 0));
  EXPECT_TRUE(IsMaskPixelTransparent(0x141414, 0x101010, 0x050505));
  EXPECT_FALSE(IsMaskPixelTransparent(0x161414, 0x101010, 0x050505));
  EXPECT_TRUE(IsMaskPixelTransparent(0xFFFFFF, 0xF0F0F0, 0x808080));
}
