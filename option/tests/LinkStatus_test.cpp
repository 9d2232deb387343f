#include "LinkStatus.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An apply that timed out is answered late, while the next one waits: the
// late answer must not end the new wait; only the new one's answer does.
TEST(ApplyWait, OnlyTheAnswerToTheWaitingApplyEndsTheWait) {
  ApplyWait wait;
  EXPECT_FALSE(wait.answers(0));
  const uint32_t first = wait.begin();
  EXPECT_NE(first, 0u);
  EXPECT_TRUE(wait.answers(first));
  wait.end();  // timed out
  EXPECT_FALSE(wait.answers(first));
  const uint32_t second = wait.begin();
  EXPECT_NE(second, first);
  EXPECT_FALSE(wait.answers(first)) << "the late answer of the first apply";
  EXPECT_FALSE(wait.answers(0)) << "an answer without an id";
  const uint32_t preview = wait.unwaited();
  EXPECT_FALSE(wait.answers(preview)) << "a preview's answer";
  EXPECT_TRUE(wait.waiting());
  EXPECT_TRUE(wait.answers(second));
  wait.end();
  EXPECT_FALSE(wait.waiting());
}

TEST(LinkStatus, EachOutcomeAndStateHasItsOwnWords) {
  EXPECT_EQ(monitorApplyOutcome(kApplySent), ApplyOutcome::Sent);
  EXPECT_EQ(monitorApplyOutcome(kApplyStored), ApplyOutcome::SavedNotConnected);
  EXPECT_EQ(monitorApplyOutcome(0), ApplyOutcome::NotConfirmed);
  EXPECT_EQ(monitorApplyOutcome(77), ApplyOutcome::NotConfirmed) << "an answer from elsewhere claims nothing";
  EXPECT_NE(std::string(keyboardLinkText(false)).find("not connected"), std::string::npos);
  EXPECT_NE(std::string(keyboardLinkText(true)).find("connected again"), std::string::npos);
}

}  // namespace
