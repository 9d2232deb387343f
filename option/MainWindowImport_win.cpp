// A profile file imported by a second Option.exe while this window is open:
// the window's libraries and edited image stay the one truth, and the
// monitor receives the imported profile alone, not the user's other edits
// that are not applied yet.
#include <cstring>
#include <memory>
#include <string>

#include "MainWindow_win.h"
#include "ProfileShareRules.h"
#include "ProfileTransfer_win.h"
#include "UnappliedEdits.h"

LRESULT MainWindow::importFromCommandLine(const COPYDATASTRUCT* data) {
  ProfileImportRequest request{};
  if (!data->lpData || data->cbData < sizeof request) return 0;
  std::memcpy(&request, data->lpData, sizeof request);
  if (request.profile >= uint32_t(kProfileCount) || request.pathLength == 0 ||
      request.pathLength > kMaxImportPathLength ||
      data->cbData != sizeof request + request.pathLength * sizeof(wchar_t))
    return 0;
  // A dialog open over the window edits what the import would replace or
  // save (a manager's library, a key page's key); changes not applied to
  // the profile or the libraries would be replaced or written unasked.
  if (!IsWindowEnabled(hwnd())) return kImportRefusedDialogOpen;
  const UnappliedEdits edits = unappliedEdits(*doc_.edit, *doc_.exchange, doc_.lists, doc_.appliedLists);
  if (edits.profiles[request.profile] || edits.macroLibraries) return kImportRefusedUnapplied;
  std::wstring path(request.pathLength, L'\0');
  std::memcpy(path.data(), static_cast<const unsigned char*>(data->lpData) + sizeof request,
              request.pathLength * sizeof(wchar_t));

  auto shared = std::make_unique<SharedProfile>();
  std::string error;
  if (!ReadProfileFileAt(path, *shared, error)) {
    OutputDebugStringA(("Option import refused: " + error + "\n").c_str());
    return 0;
  }
  const int p = int(request.profile);
  ImportSummary summary;
  importIntoDocument(doc_, p, *shared, summary);
  // Sent at once: the libraries are written with the keys that play them.
  if (!saveList(doc_.lists.macros, doc_.folder, kMacroLibraryFile) ||
      !saveList(doc_.lists.textMacros, doc_.folder, kTextMacroLibraryFile))
    OutputDebugStringA("Option import: a macro library could not be saved\n");
  const ProfileRecord& imported = doc_.edit->profiles[p];
  // The block is built from what it holds, with this profile replaced: an
  // apply of the whole edited image would send every other edit too.
  SendProfileToMonitor(block_, p, imported);
  saveProfile(imported, profilePath(doc_.folder, p));
  // Sent and written: the profile and the libraries are applied as they are.
  doc_.exchange->profiles[p] = imported;
  doc_.appliedLists.macros = doc_.lists.macros;
  doc_.appliedLists.textMacros = doc_.lists.textMacros;
  refresh();
  const std::string report = importReport(imported, summary);
  setStatus(report);
  OutputDebugStringA(("Option import: " + report + "\n").c_str());
  return kImportDone;
}
