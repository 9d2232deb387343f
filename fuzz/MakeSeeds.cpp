// Writes the seed corpora of the fuzz targets from files and records the
// system itself makes: a saved default image (config.ini and a profile), list
// files saved by the list code, a download of the default profile, real key
// events and OSD payloads. Each seed is laid out as its target reads input
// (FuzzedDataProvider takes integers from the end, strings from the front).
//
//   make_fuzz_seeds <corpus folder> [skins folder]

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "DownloadEncoder.h"
#include "FileIo.h"
#include "KeyEvent.h"
#include "ListFiles.h"
#include "OsdPayload.h"
#include "ProfileFiles.h"
#include "ProfileShare.h"

namespace fs = std::filesystem;

namespace {

// An input in the provider's layout: strings and bytes at the front, integers
// at the back (the last byte is the most significant one read first).
class Seed {
 public:
  Seed& string(std::string_view s) {  // ConsumeRandomLengthString
    for (char c : s) {
      front_ += c;
      if (c == '\\') front_ += '\\';
    }
    front_ += "\\ ";
    return *this;
  }
  Seed& bytes(std::string_view s) {  // ConsumeRemainingBytes / ConsumeBytes
    front_ += s;
    return *this;
  }
  Seed& integer(uint64_t value, int size) {  // ConsumeIntegral(InRange) of `size` bytes
    std::string b;
    for (int i = 0; i < size; ++i) b.insert(b.begin(), char(value >> (8 * (size - 1 - i))));
    back_ = b + back_;
    return *this;
  }
  // A signed ConsumeIntegral<T>(): the provider adds what it reads to T's minimum.
  Seed& signedInteger(int64_t value, int size) {
    const uint64_t lowest = uint64_t(1) << (8 * size - 1);
    return integer(uint64_t(value) + lowest, size);
  }
  std::string take() const { return front_ + back_; }

 private:
  std::string front_, back_;
};

std::string folder;

void write(const std::string& target, const std::string& name, std::string_view bytes) {
  fs::create_directories(folder + target);
  const std::string path = folder + target + "/" + name;
  if (!replaceFileAtomically(path, bytes)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

std::string read(const std::string& path) {
  std::string bytes;
  readWholeFile(path, bytes);
  return bytes;
}

// The lines of a saved profile up to its first `keys` key records: the
// whole head of the file and real struct blocks, small enough to mutate.
std::string profileHead(const std::string& text, int keys) {
  const std::string stop = "MacroKeyInfo" + std::to_string(keys) + "=";
  const size_t end = text.find(stop);
  return end == std::string::npos ? text : text.substr(0, end);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  folder = std::string(argv[1]) + "/";
  const std::string skins = argc > 2 ? std::string(argv[2]) + "/" : "";
  const fs::path scratch = fs::temp_directory_path() / "quillon-seeds";
  fs::remove_all(scratch);
  fs::create_directories(scratch / "config");
  const std::string program = scratch.string() + "/";

  auto image = std::make_unique<SettingsImage>();
  buildDefaultImage(*image);
  ProfileRecord& p = image->profiles[1];
  std::strcpy(p.profileName, "Racing");
  std::strcpy(p.linkedApps[0], "C:\\Games\\race.exe");
  KeyAssignment& macro = p.keys[20];
  macro.category = kCategoryMacro;
  macro.functionCode = kFunctionRecordedMacro;
  std::strcpy(macro.macroName, "Combo");
  macro.stepCount = 4;
  macro.steps[0] = MacroStep::make(0x04, kActionPress, 30);
  macro.steps[1] = MacroStep::make(0x04, kActionRelease, 30);
  macro.steps[2] = MacroStep::make(0x05, kActionPress, 30);
  macro.steps[3] = MacroStep::make(0x05, kActionRelease, 0);
  KeyAssignment& text = p.keys[1];
  text.functionCode = kFunctionTextMacro;
  std::strcpy(text.textMacroName, "Greeting");
  std::strcpy(text.textMacroText, "Good game, well played!");
  KeyAssignment& launch = p.keys[2];
  launch.category = kCategoryLaunch;
  launch.functionCode = kFunctionLaunch;
  std::strcpy(launch.appPath, "C:\\Windows\\notepad.exe");
  image->currentProfile = 1;
  saveAll(*image, program);
  writeOsdMessage(configIniPath(program), "Profile 2");
  const std::string config = read(configIniPath(program));
  const std::string profile = profileHead(read(profilePath(program, 1)), 3);

  MacroLibrary macros;
  collectMacrosFromProfiles(macros, *image);
  saveList(macros, program, kMacroLibraryFile);
  TextMacroLibrary texts(1);
  std::strcpy(texts[0].name, "Greeting");
  std::strcpy(texts[0].text, "Good game, well played!");
  texts[0].delayMs = 20;
  saveList(texts, program, kTextMacroLibraryFile);
  AppList apps;
  addPath(apps, "C:\\Windows\\notepad.exe");
  addPath(apps, "C:\\Games\\race.exe");
  saveList(apps, program, kLaunchAppListFile);
  saveList(apps, program, profileAppListFile(2));

  // The INI document: an edit of a real key over each real file.
  const std::vector<std::pair<std::string, std::string>> files = {
      {"config.ini", config},
      {"profile", profile},
      {"sequence", read(program + kMacroLibraryFile.file)},
      {"textmacro", read(program + kTextMacroLibraryFile.file)},
      {"applist", read(program + kLaunchAppListFile.file)},
  };
  for (const auto& [name, bytes] : files)
    write("fuzz_ini_document", name,
          Seed().string("Setting").string("CurrentProfile").string("3").bytes(bytes).take());
  write("fuzz_settings_files", "config-and-profile",
        Seed().string(config).bytes(profile).integer(1, 1).take());
  write("fuzz_settings_files", "profile-only", Seed().string("").bytes(profile).integer(0, 1).take());
  write("fuzz_list_files", "sequence", Seed().bytes(files[2].second).integer(0, 1).take());
  write("fuzz_list_files", "textmacro", Seed().bytes(files[3].second).integer(1, 1).take());
  write("fuzz_list_files", "applist", Seed().bytes(files[4].second).integer(2, 1).take());
  write("fuzz_list_files", "profile-applist",
        Seed().bytes(read(program + profileAppListFile(2).file)).integer(3, 1).take());

  // Skin files of the build, when it has them: every INI, and one mask's rows.
  if (!skins.empty() && fs::exists(skins)) {
    int n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(skins))
      if (entry.path().extension() == ".ini" && n++ < 12)
        write("fuzz_skin", entry.path().filename().string(),
              Seed().bytes(read(entry.path().string())).integer(0, 1).take());
  }
  write("fuzz_skin", "positions",
        Seed()
            .bytes("[PAGEPOSITION]\r\n1=browser1,12,40,300,24,Browse...\r\n2=far,-99999,99999,5,5,\r\n")
            .integer(0, 1)
            .take());
  Seed mask;
  mask.integer(1, 1).integer(8, 1).integer(8, 1).integer(0x00FFFFFF, 4).integer(8, 4).integer(7, 1);
  for (int i = 0; i < 64; ++i) mask.integer(i % 3 ? 0x00FFFFFF : 0, 4);
  write("fuzz_skin", "mask", mask.take());

  // What an outside program hands to the monitor.
  std::string payload(osd::kOsdPayloadSize, '\0');
  std::memcpy(&payload[osd::kOsdTextOffset], "Profile 2", 9);
  write("fuzz_osd_payload", "profile", payload);
  std::string longText(osd::kOsdPayloadSize, 'x');
  write("fuzz_osd_payload", "unterminated", longText);

  // The download of the edited profile, as the keyboard receives it.
  image->keyDirty[1][20] = 1;
  const auto snapshot = kbd::takeDownloadSnapshot(*image);
  const auto reports = kbd::encodeDownload(*snapshot.active, snapshot.flags, true);
  Seed link;
  link.integer(1, 1).integer(3, 1).signedInteger(103, 4);
  for (const kbd::Report& r : reports) {
    const bool feature = r.kind == kbd::Report::Feature;
    link.integer(feature ? 0 : 1, 1).integer(r.bytes.size(), 1);
    link.bytes(std::string(r.bytes.begin(), r.bytes.end()));
  }
  link.integer(3, 1);
  write("fuzz_keyboard_link", "download", link.take());
  const auto& active = image->profiles[1];
  const auto* keys = reinterpret_cast<const char*>(&active.keys[20]);
  write("fuzz_download", "macro-key",
        Seed()
            .bytes(std::string_view(keys, sizeof(KeyAssignment)))
            .integer(0, 1)
            .signedInteger(1, 4)
            .integer(offsetof(ProfileRecord, keys) + 20 * sizeof(KeyAssignment), 3)
            .take());
  write("fuzz_download", "whole-profile-pattern",
        Seed().bytes(std::string_view(reinterpret_cast<const char*>(&active), 4096)).integer(1, 1).take());

  // Key events the keyboard posts: a launch key, a text macro pressed and released.
  Seed events;
  events.signedInteger(1, 4);
  for (int k = 0; k < kKeyCount; ++k)
    events.integer(k == 1 ? kFunctionTextMacro : k == 2 ? kFunctionLaunch : kFunctionDefault, 1);
  for (const auto& [w, l] : std::vector<std::pair<uint64_t, int64_t>>{{kEventKeyUsed, 3},
                                                                      {kEventTextMacroPressed, 2},
                                                                      {kEventTextMacroReleased, 2},
                                                                      {kEventKeyUsed, 0x103}})
    events.integer(w, 8).signedInteger(l, 8);
  write("fuzz_key_events", "launch-and-text", events.take());

  // A text-macro key in each play mode.
  for (int mode = 0; mode < 4; ++mode)
    write("fuzz_text_macro_player", "mode" + std::to_string(mode),
          Seed()
              .string("Good game!")
              .integer(1, 1)  // a text-macro key
              .signedInteger(mode, 4)
              .signedInteger(0, 4)
              .signedInteger(2, 4)
              .integer(10, 2)
              .signedInteger(0, 4)
              .integer(0, 1)
              .integer(0, 1)
              .integer(0, 1)  // pressed
              .integer(2, 1)
              .take());
  // An edit of the combination key and the effect of the second profile.
  write("fuzz_change_flags", "edits",
        Seed()
            .integer(1, 1)
            .integer(1, 1)
            .integer(offsetof(ProfileRecord, keys) + 20 * sizeof(KeyAssignment) + 44, 3)
            .string("\x05\x01\x10\x00")
            .integer(1, 1)
            .integer(offsetof(ProfileRecord, lightFx), 3)
            .string("\x03")
            .take());

  // Profile files: lines of the readable head replaced (the steps, the
  // format, the macro count), the file cut in a key block, and a profile
  // file of the installed kind, which is no shared profile.
  for (const auto& [name, line, value] :
       std::vector<std::tuple<std::string, int, std::string>>{{"steps", 10, "Steps=4:1:30 5:2:0 6:1:7"},
                                                              {"newer-minor", 2, "Format=1.9"},
                                                              {"more-macros", 4, "Macros=3"}})
    write("fuzz_profile_share", name,
          Seed().bytes(value).integer(1, 1).integer(1, 1).integer(uint64_t(line), 1).take());
  const std::string shared = writeProfileFile(p, macros, "1.02", latin1Codec());
  write("fuzz_profile_share", "cut", Seed().integer(2, 1).integer(shared.size() / 2, 3).take());
  write("fuzz_profile_share", "installed-profile",
        Seed().bytes(profile.substr(0, 8000)).integer(0, 1).take());

  // The hook: "a" pressed and released while recording, then Control+C captured.
  write("fuzz_hook_rules", "record",
        Seed()
            .integer(0, 1)
            .integer(0, 1)
            .integer(1, 1)
            .signedInteger(0, 4)
            .integer(0, 1)
            .integer('A', 1)
            .integer(0, 1)
            .integer(1000, 4)
            .integer('A', 1)
            .integer(0x80, 1)
            .integer(1100, 4)
            .take());
  write("fuzz_hook_rules", "capture",
        Seed().integer(1, 1).integer(0xA2, 1).integer(0, 1).integer('C', 1).integer(0, 1).take());
  // A slider of the lighting page, the red field, a colour, the picker.
  write("fuzz_control_math", "controls",
        Seed()
            .integer(0, 1)
            .bytes(std::string(40, '\x10'))
            .integer(1, 1)
            .bytes("255")
            .integer(2, 1)
            .integer(3, 1)
            .take());

  fs::remove_all(scratch);
  return 0;
}
