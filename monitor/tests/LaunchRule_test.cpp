#include "LaunchRule.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchRule, OnlyAProgramFileOnALocalDriveByItsFullPathRuns) {
  for (const wchar_t* path : {L"C:\\Program Files\\Game\\game.exe", L"d:/tools/Tool.EXE", L"C:\\x.exe",
                              L"C:\\dir\\..\\name.with.dots.exe", L"C:\\Spiele\\\u00fcber.exe"})
    EXPECT_EQ(launchVerdict(path), LaunchVerdict::Runnable) << path;
}

TEST(LaunchRule, WhatAHostileProfileCanNameIsRefusedWithItsReason) {
  struct Case {
    const wchar_t* path;
    LaunchVerdict verdict;
  };
  const Case cases[] = {
      {L"", LaunchVerdict::Empty},
      {L"\\\\203.0.113.7\\s\\x.hta", LaunchVerdict::NetworkPath},
      {L"\\\\203.0.113.7\\s\\x.exe", LaunchVerdict::NetworkPath},
      {L"//server/share/x.exe", LaunchVerdict::NetworkPath},
      {L"\\\\?\\C:\\x.exe", LaunchVerdict::NetworkPath},
      {L"\\\\.\\pipe\\x.exe", LaunchVerdict::NetworkPath},
      {L"C:\\\\server\\x.exe", LaunchVerdict::NetworkPath},
      {L"http://example.com/x.exe", LaunchVerdict::NotFullPath},
      {L"file:///C:/x.exe", LaunchVerdict::NotFullPath},
      {L"x.exe", LaunchVerdict::NotFullPath},
      {L"C:x.exe", LaunchVerdict::NotFullPath},
      {L"\\windows\\x.exe", LaunchVerdict::NotFullPath},
      {L"1:\\x.exe", LaunchVerdict::NotFullPath},
      {L"C:\\x.exe:stream", LaunchVerdict::BadCharacter},
      {L"C:\\x.exe:$DATA", LaunchVerdict::BadCharacter},
      {L"C:\\a\"b.exe", LaunchVerdict::BadCharacter},
      {L"C:\\*.exe", LaunchVerdict::BadCharacter},
      {L"C:\\a\nb.exe", LaunchVerdict::BadCharacter},
      {L"C:\\x.bat", LaunchVerdict::NotAProgram},
      {L"C:\\x.hta", LaunchVerdict::NotAProgram},
      {L"C:\\x.cmd", LaunchVerdict::NotAProgram},
      {L"C:\\x.lnk", LaunchVerdict::NotAProgram},
      {L"C:\\x.exe.bat", LaunchVerdict::NotAProgram},
      {L"C:\\x.exe.", LaunchVerdict::NotAProgram},
      {L"C:\\x.exe ", LaunchVerdict::NotAProgram},
      {L"C:\\ x.exe", LaunchVerdict::NotAProgram},
      {L"C:\\.exe", LaunchVerdict::NotAProgram},
      {L"C:\\folder.exe\\", LaunchVerdict::NotAProgram},
      {L"C:\\", LaunchVerdict::NotFullPath},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(launchVerdict(c.path), c.verdict) << std::wstring(c.path).size();
    const std::string line = launchRefusal(c.verdict);
    EXPECT_EQ(line.rfind("CMonitorWnd OnLaunch not run: ", 0), 0u);
    EXPECT_EQ(line.back(), '\n');
  }
  EXPECT_EQ(launchRefusal(LaunchVerdict::Runnable), "");
}

TEST(LaunchRule, TheProgramRunsInItsOwnFolder) {
  EXPECT_EQ(launchFolder(L"C:\\Program Files\\Game\\game.exe"), L"C:\\Program Files\\Game");
  EXPECT_EQ(launchFolder(L"C:\\game.exe"), L"C:\\");
  EXPECT_EQ(launchFolder(L"d:/tools/tool.exe"), L"d:/tools");
}

}  // namespace
