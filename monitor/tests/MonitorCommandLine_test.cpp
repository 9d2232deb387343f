#include "MonitorCommandLine.h"

#include <gtest/gtest.h>

#include <string>

TEST(MonitorCommandLine, TheOldArgumentOneWorksAsBeforeAndAnythingElseStartsTheMonitor) {
  for (const char* line : {"1", "1 ", "10", "1x --profile 2"}) {
    const MonitorCommand c = parseMonitorCommand(line);
    EXPECT_EQ(c.kind, MonitorCommand::Run) << line;
    EXPECT_TRUE(c.openOption) << line;
  }
  for (const char* line : {"", " 1", "2", "-profile 3", "profile"}) {
    const MonitorCommand c = parseMonitorCommand(line);
    EXPECT_EQ(c.kind, MonitorCommand::Run) << line;
    EXPECT_FALSE(c.openOption) << line;
  }
}

TEST(MonitorCommandLine, ProfileTakesOneNumberFromOneToFive) {
  MonitorCommand c = parseMonitorCommand("--profile 3");
  EXPECT_EQ(c.kind, MonitorCommand::SelectProfile);
  EXPECT_EQ(c.profile, 2);
  c = parseMonitorCommand("  --profile\t5 ");
  EXPECT_EQ(c.kind, MonitorCommand::SelectProfile);
  EXPECT_EQ(c.profile, 4);
  for (const char* line : {"--profile", "--profile 0", "--profile 6", "--profile 12", "--profile x",
                           "--profile 1 2", "--profile -1"}) {
    c = parseMonitorCommand(line);
    EXPECT_EQ(c.kind, MonitorCommand::Invalid) << line;
    EXPECT_NE(c.error.find("1 to 5"), std::string::npos) << c.error;
  }
  c = parseMonitorCommand("--profiles 2");
  EXPECT_EQ(c.kind, MonitorCommand::Invalid);
  EXPECT_NE(c.error.find("--profiles"), std::string::npos);
}

TEST(MonitorCommandLine, HelpListsEveryArgument) {
  for (const char* line : {"--help", "-h", "/?"})
    EXPECT_EQ(parseMonitorCommand(line).kind, MonitorCommand::Help);
  const std::string usage = kMonitorUsage;
  for (const char* argument : {"  1 ", "--profile N", "--help"})
    EXPECT_NE(usage.find(argument), std::string::npos) << argument;
}
