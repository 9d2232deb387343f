// The change flags of an apply: whatever the edits, each flag is 0 or 1, a
// key or standard-key flag is set exactly when its bytes differ, a profile
// that was not edited gets no flag, and an image compared with itself asks
// for nothing.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>

#include "ChangeFlags.h"
#include "FuzzSupport.h"

namespace {

bool isFlag(int32_t v) { return v == 0 || v == 1; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  static const auto edited = std::make_unique<SettingsImage>();  // kept: 3 MB
  static const auto same = std::make_unique<SettingsImage>();
  *edited = fuzz::defaultImage();
  const SettingsImage& exchanged = fuzz::defaultImage();
  bool touched[kProfileCount] = {};
  edited->currentProfile = in.ConsumeIntegralInRange(0, kProfileCount - 1);
  while (in.remaining_bytes() > 0) {
    const int p = in.ConsumeIntegralInRange(0, kProfileCount - 1);
    const size_t offset = in.ConsumeIntegralInRange<size_t>(0, sizeof(ProfileRecord) - 1);
    const std::string patch = in.ConsumeRandomLengthString(64);
    auto* target = reinterpret_cast<uint8_t*>(&edited->profiles[p]);
    std::memcpy(target + offset, patch.data(), std::min(patch.size(), sizeof(ProfileRecord) - offset));
    touched[p] = true;
  }
  computeChangeFlags(*edited, exchanged);
  FUZZ_CHECK(edited->profileSwitched == (edited->currentProfile != exchanged.currentProfile));
  for (int p = 0; p < kProfileCount; ++p) {
    const ProfileRecord& e = edited->profiles[p];
    const ProfileRecord& x = exchanged.profiles[p];
    for (int k = 0; k < kKeyCount; ++k)
      FUZZ_CHECK(edited->keyDirty[p][k] == (std::memcmp(&e.keys[k], &x.keys[k], sizeof e.keys[k]) != 0));
    FUZZ_CHECK(edited->standardKeyDirty[p] ==
               (std::memcmp(e.standardKey, x.standardKey, sizeof e.standardKey) != 0));
    for (int32_t flag : {edited->lightSwitchDirty[p], edited->winLockDirty[p], edited->effectDirty[p],
                         edited->effectColorDirty[p], edited->customColorDirty[p]}) {
      FUZZ_CHECK(isFlag(flag));
      if (!touched[p]) FUZZ_CHECK(flag == 0);
    }
  }
  // Compared with itself nothing is asked for.
  *same = *edited;
  computeChangeFlags(*same, *edited);
  for (int p = 0; p < kProfileCount; ++p) {
    for (int k = 0; k < kKeyCount; ++k) FUZZ_CHECK(same->keyDirty[p][k] == 0);
    FUZZ_CHECK(same->standardKeyDirty[p] == 0 && same->effectDirty[p] == 0 && same->customColorDirty[p] == 0);
  }
  markProfileForFullDownload(*same, in.ConsumeIntegral<int>());
  return 0;
}
