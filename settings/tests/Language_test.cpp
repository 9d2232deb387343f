#include "Language.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Language, EveryIdTheSystemReadsHasBuiltinText) {
  const int ranges[][2] = {{1002, 1004}, {1042, 1047}, {1053, 1066}, {1076, 1084}, {1086, 1092}};
  for (const auto& r : ranges)
    for (int id = r[0]; id <= r[1]; ++id) EXPECT_GT(std::strlen(builtinText(id)), 0u) << id;
  EXPECT_STREQ(builtinText(1085), "");
  EXPECT_STREQ(builtinText(IDS_PROFILE_FIRST + 2), "Profile 3");
}

}  // namespace
