// The desktop profile's timing rule and the tray's texts.

#include "DesktopProfile.h"

#include <gtest/gtest.h>

#include "TrayText.h"

namespace {

using apps::DesktopProfileRule;
using apps::DesktopStep;
using apps::kDesktopProfileDelayMs;

constexpr int kNone = -1;
constexpr int kDesktop1 = 1;  // the setting: profile 1, index 0

TEST(DesktopProfile, ReturnsTwoSecondsAfterTheLinkedProgramLeftAndNotBefore) {
  DesktopProfileRule rule;
  // A game linked to profile 3 comes to the front: at once.
  EXPECT_EQ(rule.foreground(2, 0, kDesktop1, 1000).switchTo, 2);
  // Its own profile is active; it comes again: nothing to do.
  EXPECT_EQ(rule.foreground(2, 2, kDesktop1, 1100).switchTo, kNone);

  // An unlinked program: the desktop profile waits its two seconds.
  DesktopStep step = rule.foreground(kNone, 2, kDesktop1, 5000);
  EXPECT_EQ(step.switchTo, kNone);
  EXPECT_EQ(step.lookInMs, int(kDesktopProfileDelayMs));
  // Another unlinked program in between does not restart the count.
  step = rule.foreground(kNone, 2, kDesktop1, 6500);
  EXPECT_EQ(step.lookInMs, 500);
  step = rule.due(2, kDesktop1, 6999);
  EXPECT_EQ(step.switchTo, kNone);
  EXPECT_EQ(step.lookInMs, 1);
  step = rule.due(2, kDesktop1, 7000);
  EXPECT_EQ(step.switchTo, 0);
  EXPECT_EQ(step.lookInMs, -1);
  EXPECT_FALSE(rule.pending());

  // Once back on the desktop profile, unlinked programs change nothing.
  step = rule.foreground(kNone, 0, kDesktop1, 9000);
  EXPECT_EQ(step.switchTo, kNone);
  EXPECT_EQ(step.lookInMs, -1);
}

TEST(DesktopProfile, AGlanceAwayShorterThanTheDelayCostsNoSwitch) {
  DesktopProfileRule rule;
  rule.foreground(1, 0, 4, 0);
  EXPECT_EQ(rule.foreground(kNone, 1, 4, 100).lookInMs, int(kDesktopProfileDelayMs));
  // Back to the game within the delay: nothing pending, nothing to send.
  EXPECT_EQ(rule.foreground(1, 1, 4, 1500).switchTo, kNone);
  EXPECT_FALSE(rule.pending());
  EXPECT_EQ(rule.due(1, 4, 5000).switchTo, kNone);
  // Another linked program wins at once, also while the delay runs.
  rule.foreground(kNone, 1, 4, 6000);
  EXPECT_EQ(rule.foreground(4, 1, 4, 6100).switchTo, 4);
  EXPECT_FALSE(rule.pending());
}

TEST(DesktopProfile, AProfileChosenByHandStaysUntilALinkedProgramComes) {
  DesktopProfileRule rule;
  EXPECT_EQ(rule.foreground(kNone, 2, kDesktop1, 0).lookInMs, -1) << "no linked program was in front yet";
  rule.foreground(3, 2, kDesktop1, 100);
  rule.foreground(kNone, 3, kDesktop1, 200);
  ASSERT_TRUE(rule.pending());
  rule.chosenByHand();  // the tray, the command line or Option, during the delay
  EXPECT_EQ(rule.due(4, kDesktop1, 5000).switchTo, kNone);
  EXPECT_EQ(rule.foreground(kNone, 4, kDesktop1, 6000).lookInMs, -1);
  // A linked program ends the hand's choice, and leaving it returns.
  rule.foreground(3, 4, kDesktop1, 7000);
  rule.foreground(kNone, 3, kDesktop1, 8000);
  EXPECT_EQ(rule.due(3, kDesktop1, 8000 + kDesktopProfileDelayMs).switchTo, 0);
}

TEST(DesktopProfile, NoSettingKeepsTheProfileAndTheSettingIsReadWhenTheDelayEnds) {
  DesktopProfileRule rule;
  rule.foreground(2, 0, 0, 0);
  for (int off : {0, -1, 6, 99}) EXPECT_EQ(rule.foreground(kNone, 2, off, 10).lookInMs, -1) << off;
  // Turned off while the delay runs (an apply): nothing at its end.
  rule.foreground(kNone, 2, 5, 100);
  EXPECT_EQ(rule.due(2, 0, 100 + kDesktopProfileDelayMs).switchTo, kNone);
  // The desktop profile is the linked one: nothing to wait for.
  rule.foreground(2, 2, 3, 200);
  EXPECT_EQ(rule.foreground(kNone, 2, 3, 300).lookInMs, -1);
  // A clock that wraps while the delay runs.
  rule.foreground(2, 0, 1, 0xFFFFFF00u);
  rule.foreground(kNone, 2, 1, 0xFFFFFF00u);
  EXPECT_EQ(rule.due(2, 1, 0x100u).switchTo, kNone);
  EXPECT_EQ(rule.due(2, 1, 0xFFFFFF00u + kDesktopProfileDelayMs).switchTo, 0);
  // Without a keyboard nothing stays pending.
  rule.foreground(2, 0, 1, 0);
  rule.foreground(kNone, 2, 1, 10);
  rule.stop();
  EXPECT_EQ(rule.due(2, 1, 10 + kDesktopProfileDelayMs).switchTo, kNone);
}

TEST(TrayText, TheTipNamesTheProfileAndFitsTheShellsField) {
  EXPECT_EQ(tray::tipWithProfile(L"Varnel Quillon Keyboard", L"Shooter", 128),
            L"Varnel Quillon Keyboard \u2014 Shooter");
  EXPECT_EQ(tray::tipWithProfile(L"Tip", L"", 128), L"Tip");
  EXPECT_EQ(tray::tipWithProfile(L"Tip", L"  ", 128), L"Tip");
  const std::wstring cut = tray::tipWithProfile(L"Tip", std::wstring(300, L'x'), 128);
  EXPECT_EQ(cut.size(), 127u);
  EXPECT_EQ(cut.substr(0, 7), L"Tip \u2014 x");
  EXPECT_EQ(cut.back(), L'\u2026');
  EXPECT_EQ(tray::tipWithProfile(std::wstring(200, L't'), L"Name", 128).size(), 127u);
  EXPECT_EQ(tray::tipWithProfile(L"Tip", L"Name", 0), L"");
}

TEST(TrayText, MenuEntriesShowNamesAsTypedAndNoticesNameTheProfile) {
  EXPECT_EQ(tray::menuEntry(L"Rock & Roll", 0), L"Rock && Roll");
  EXPECT_EQ(tray::menuEntry(L"", 2), L"Profile 3");
  EXPECT_EQ(tray::menuEntry(L" ", 4), L"Profile 5");
  const std::wstring longName = tray::menuEntry(std::wstring(90, L'n'), 0);
  EXPECT_EQ(longName.size(), tray::kMenuEntryMax);
  EXPECT_EQ(longName.back(), L'\u2026');
  EXPECT_EQ(tray::switchNotice(L"Shooter", 1), L"Profile Shooter");
  EXPECT_EQ(tray::switchNotice(L"", 1), L"Profile 2");

  EXPECT_TRUE(tray::noticeAllowed(true, tray::kAcceptsNotifications));
  EXPECT_TRUE(tray::noticeAllowed(true, 0)) << "the shell could not say: shown";
  EXPECT_FALSE(tray::noticeAllowed(false, tray::kAcceptsNotifications));
  for (int busy : {1, 2, 3, 4, 6, 7}) EXPECT_FALSE(tray::noticeAllowed(true, busy)) << busy;
}

}  // namespace
