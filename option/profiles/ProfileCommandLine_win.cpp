#include "ProfileCommandLine_win.h"

// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Console_win.h"
#include "IniFile.h"
#include "OptionMessages.h"
#include "ProfileCommandLine.h"
#include "ProfileFiles.h"
#include "ProfileShareRules.h"
#include "ProfileTransfer_win.h"
#include "ProgramFolder_win.h"
#include "TextCodec_win.h"

namespace {

constexpr UINT kWindowAnswerMs = 30000;  // a window busy in a dialog still answers; a hung one does not

// The report names the profile in this machine's code page; the console
// takes UTF-8.
std::string consoleText(const std::string& text) {
  std::string utf8;
  return systemTextCodec().toUtf8(text, systemTextCodec().codePage(), utf8) ? utf8 : text;
}

int fail(const std::string& line) {
  writeConsoleLine(ConsoleStream::Error, line);
  return 1;
}

// Whether anything follows the program's own name: the shell, which splits
// the line, is loaded only for a start that has arguments.
bool hasArguments(const wchar_t* line) {
  if (*line == L'"') {
    for (++line; *line && *line != L'"'; ++line) {
    }
    if (*line) ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return *line != 0;
}

std::vector<std::string> arguments() {
  if (!hasArguments(GetCommandLineW())) return {};
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(utf8FromWide(wide[i]));
  if (wide) LocalFree(wide);
  return args;
}

// Profile `n` as the monitor holds it when it runs, else as the files hold it.
std::unique_ptr<ProfileRecord> currentProfile(int n, const std::string& folder, SharedBlock& block) {
  auto profile = std::make_unique<ProfileRecord>();
  auto image = std::make_unique<SettingsImage>();
  if (block.open() && block.copyFromBlock(*image)) {
    sanitizeImage(*image);
    *profile = image->profiles[n];
    return profile;
  }
  std::memset(profile.get(), 0, sizeof *profile);
  buildDefaultProfile(*profile, n);
  const IniFile file(profilePath(folder, n));
  if (file.existed()) loadProfile(*profile, file);
  return profile;
}

int exportProfile(const ProfileCommand& command, const std::string& folder) {
  SharedBlock block;
  const auto profile = currentProfile(command.profile, folder, block);
  MacroLibrary macros;
  loadList(macros, folder, kMacroLibraryFile);
  std::string error;
  if (!WriteProfileFileAt(wideFromUtf8(command.file), *profile, macros, error))
    return fail("Export failed: " + error);
  return 0;
}

// The open window keeps its libraries and its edited image the one truth:
// it imports the file itself.
int importThroughWindow(HWND window, const ProfileCommand& command) {
  const std::wstring given = wideFromUtf8(command.file);
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
  }
  full.resize(length && length < full.size() ? length : 0);
  if (full.empty() || full.size() > kMaxImportPathLength)
    return fail("Import failed: the file name is too long.");

  std::vector<unsigned char> request(sizeof(ProfileImportRequest) + full.size() * sizeof(wchar_t));
  const ProfileImportRequest head{uint32_t(command.profile), uint32_t(full.size())};
  std::memcpy(request.data(), &head, sizeof head);
  std::memcpy(request.data() + sizeof head, full.data(), full.size() * sizeof(wchar_t));
  COPYDATASTRUCT data{kImportProfileDataId, DWORD(request.size()), request.data()};
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                           kWindowAnswerMs, &answer))
    return fail("Import failed: the configuration window did not answer.");
  if (LRESULT(answer) == kImportRefusedUnapplied)
    return fail("Import refused, nothing changed: profile " + std::to_string(command.profile + 1) +
                " or the macros have changes not applied in the configuration window; apply or discard them first.");
  if (LRESULT(answer) == kImportRefusedDialogOpen)
    return fail("Import refused, nothing changed: a dialog is open in the configuration window; close it first.");
  if (LRESULT(answer) != kImportDone)
    return fail("Import failed: the configuration window refused the file.");
  return 0;
}

// Without a window: the monitor's block when it runs, and the files.
int importIntoFiles(const ProfileCommand& command, const SharedProfile& shared, const std::string& folder) {
  MacroLibrary macros;
  TextMacroLibrary texts;
  loadList(macros, folder, kMacroLibraryFile);
  loadList(texts, folder, kTextMacroLibraryFile);
  SharedBlock block;
  const auto profile = currentProfile(command.profile, folder, block);
  const ImportSummary summary = importSharedProfile(shared, *profile, macros, texts);
  SendProfileToMonitor(block, command.profile, *profile);
  // The keys name their macros: the libraries first, then the profile.
  bool saved = saveList(macros, folder, kMacroLibraryFile);
  saved = saveList(texts, folder, kTextMacroLibraryFile) && saved;
  saved = saveProfile(*profile, profilePath(folder, command.profile)) && saved;
  if (!saved) return fail("Import incomplete: a settings file in " + folder + "config could not be written.");
  writeConsoleLine(ConsoleStream::Output, consoleText(importReport(*profile, summary)));
  return 0;
}

}  // namespace

std::optional<int> RunProfileCommandLine() {
  const ProfileCommand command = parseProfileCommand(arguments());
  switch (command.kind) {
    case ProfileCommand::Window:
      return std::nullopt;
    case ProfileCommand::Help:
      writeConsoleLine(ConsoleStream::Output, kOptionUsage);
      return 0;
    case ProfileCommand::Invalid:
      return fail(command.error);
    case ProfileCommand::Export:
      return exportProfile(command, programFolder());
    case ProfileCommand::Import: {
      // Checked here, so that a refusal is told on this console and nothing changes.
      SharedProfile shared;
      std::string error;
      if (!ReadProfileFileAt(wideFromUtf8(command.file), shared, error))
        return fail("Import refused, nothing changed: " + error);
      const std::string folder = programFolder();
      if (HWND window = FindWindowA(nullptr, kOptionWindowTitle)) {
        // What the window's import brings, told here as the window has it
        // from the same files.
        MacroLibrary macros;
        TextMacroLibrary texts;
        loadList(macros, folder, kMacroLibraryFile);
        loadList(texts, folder, kTextMacroLibraryFile);
        SharedBlock block;
        const ImportSummary preview =
            previewImport(shared, *currentProfile(command.profile, folder, block), macros, texts);
        const int result = importThroughWindow(window, command);
        if (result == 0)
          writeConsoleLine(ConsoleStream::Output, consoleText(importReport(*shared.profile, preview)));
        return result;
      }
      return importIntoFiles(command, shared, folder);
    }
  }
  return std::nullopt;
}
