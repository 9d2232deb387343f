// The skin description files: every value of an INI as a position string
// ("name,x,y,w,h,text"), and a mask picture's pixels turned into outline
// rectangles. Names and texts stay terminated, coordinates and sizes stay
// within what a window can have (so that no arithmetic on them overflows),
// and the outline stays inside the picture in batches of the asked size.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <vector>

#include "FuzzSupport.h"
#include "IniDocument.h"
#include "MaskRuns.h"
#include "SkinPosition.h"

namespace {

void parsePositions(std::string_view text) {
  const IniDocument doc = IniDocument::parse(text);  // the reader tolerates the same bytes
  (void)doc;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (const size_t eq = line.find('='); eq != std::string_view::npos) {
      const SkinPosition pos = ParseSkinPosition(line.substr(eq + 1));
      FUZZ_CHECK(fuzz::terminated(pos.name) && fuzz::terminated(pos.text));
      const SkinRect& r = pos.rect;
      FUZZ_CHECK(std::abs(r.left) <= kSkinCoordinateLimit && std::abs(r.top) <= kSkinCoordinateLimit);
      FUZZ_CHECK(std::abs(r.width()) <= kSkinCoordinateLimit && std::abs(r.height()) <= kSkinCoordinateLimit);
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

void collectRuns(FuzzedDataProvider& in) {
  const int width = in.ConsumeIntegralInRange(0, 64);
  const int height = in.ConsumeIntegralInRange(0, 64);
  const uint32_t transparent = in.ConsumeIntegral<uint32_t>();
  const uint32_t tolerance = in.ConsumeIntegral<uint32_t>();
  const size_t batch = in.ConsumeIntegralInRange<size_t>(1, 64);
  std::vector<uint32_t> pixels(size_t(width) * size_t(height));
  for (uint32_t& p : pixels) p = in.ConsumeIntegral<uint32_t>();
  size_t rects = 0;
  CollectMaskRuns(
      width, height, [&](int y) { return pixels.data() + size_t(y) * size_t(width); }, transparent, tolerance,
      [&](const MaskBatch& b) {
        FUZZ_CHECK(!b.rects.empty() && b.rects.size() <= batch);
        for (const SkinRect& r : b.rects) {
          FUZZ_CHECK(r.left >= 0 && r.left < r.right && r.right <= width);
          FUZZ_CHECK(r.top >= 0 && r.bottom == r.top + 1 && r.bottom <= height);
          FUZZ_CHECK(r.left >= b.bounds.left && r.right <= b.bounds.right);
        }
        rects += b.rects.size();
      },
      batch);
  FUZZ_CHECK(rects <= pixels.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool()) {
    collectRuns(in);
  } else {
    parsePositions(in.ConsumeRemainingBytesAsString());
  }
  return 0;
}
