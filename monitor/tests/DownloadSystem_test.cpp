// Applies and profile switches through the real Monitor.exe, checked at the
// emulated keyboard: every report as it arrived, in order, with the pause
// before it, held against the encoder's list for the same image and against
// bytes written out by hand; then the keyboard's stored state.

#include <memory>
#include <string>
#include <vector>

#include "DownloadEncoder.h"
#include "DownloadTrace.h"
#include "FirmwareModel.h"
#include "MonitorHarness_win.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;
using Bytes = std::vector<uint8_t>;
using Download = std::vector<emu::ReceivedReport>;

// An 8-byte command from its first seven bytes; all eight add up to 0xFF.
Bytes cmd(std::initializer_list<uint8_t> first7) {
  Bytes c(first7);
  c.resize(7, 0);
  unsigned sum = 0;
  for (uint8_t b : c) sum += b;
  c.push_back(uint8_t(0xFF - sum));
  return c;
}

std::string hexOf(const Bytes& b) { return emu::hex(b.data(), b.size()); }

// The pause the keyboard needs before `cur`, from the kinds of the two
// reports around it: 15 ms after every report, 10 ms more before the key
// table's first block, 70 ms more before each large transfer, none after
// the Windows-key lock block.
int requiredPauseMs(const Download& d, size_t i) {
  const auto& cur = d[i];
  const auto& prev = d[i - 1];
  const bool prevIsLockBlock = prev.kind == kbd::Report::Block && i >= 2 &&
                               d[i - 2].kind == kbd::Report::Feature && d[i - 2].bytes[0] == 0x0E;
  const int afterPrev = prevIsLockBlock ? 0 : 15;
  if (cur.kind == kbd::Report::Block)
    return prev.kind == kbd::Report::Feature && prev.bytes[0] == 0x0D ? 25 : 15;
  switch (cur.bytes[0]) {
    case 0x0D:
    case 0x0E:
    case 0x11:
    case 0x12:
      return afterPrev + 70;
    case 0x08:
      return afterPrev + 15;
    default:
      return afterPrev;
  }
}

// The blocks that follow the first command starting with `head`.
Bytes blocksAfter(const Download& d, const Bytes& head, int blocks) {
  for (size_t i = 0; i < d.size(); ++i) {
    if (d[i].kind != kbd::Report::Feature || !std::equal(head.begin(), head.end(), d[i].bytes.begin()))
      continue;
    Bytes data;
    for (int b = 1; b <= blocks && i + b < d.size(); ++b)
      data.insert(data.end(), d[i + b].bytes.begin(), d[i + b].bytes.end());
    return data;
  }
  return {};
}
Bytes slotOf(const Bytes& table, int slot) {
  return table.size() >= size_t(slot + 1) * 4 ? Bytes(table.begin() + slot * 4, table.begin() + slot * 4 + 4)
                                              : Bytes{};
}
Bytes sentTable(const Download& d) { return blocksAfter(d, {0x0D, 0, 0, 8}, 8); }
Bytes sentMacro(const Download& d, uint8_t n) { return blocksAfter(d, {0x11, 0, n, 3}, 3); }
int commandsOf(const Download& d, uint8_t code) {
  int n = 0;
  for (const auto& r : d) n += r.kind == kbd::Report::Feature && r.bytes[0] == code ? 1 : 0;
  return n;
}
// A macro buffer: the given start, zeros to 192 bytes.
Bytes macroBuffer(std::initializer_list<uint8_t> start) {
  Bytes b(start);
  b.resize(192, 0);
  return b;
}

// The emulated keyboard's stored state, from `dump`.
struct KeyboardState {
  std::string json;
  static KeyboardState read() {
    const std::optional<std::string> reply = control("dump");
    EXPECT_TRUE(reply.has_value());
    return {reply.value_or("")};
  }
  int number(const std::string& key) const {
    const size_t at = json.find("\"" + key + "\":");
    return at == std::string::npos ? -1 : std::atoi(json.c_str() + at + key.size() + 3);
  }
  std::string text(const std::string& key) const {
    const size_t at = json.find("\"" + key + "\":\"");
    if (at == std::string::npos) return {};
    const size_t from = at + key.size() + 4;
    return json.substr(from, json.find('"', from) - from);
  }
  // The quoted strings of an array or the values of an object.
  std::vector<std::string> strings(const std::string& key, char open, char close) const {
    std::vector<std::string> out;
    size_t at = json.find("\"" + key + "\":" + open);
    if (at == std::string::npos) return out;
    const size_t end = json.find(close, at);
    at = json.find(open, at) + 1;
    while (at < end) {
      size_t q = json.find('"', at);
      if (q >= end) break;
      size_t e = json.find('"', q + 1);
      std::string s = json.substr(q + 1, e - q - 1);
      at = e + 1;
      if (open == '{') {  // skip the key, keep the value
        q = json.find('"', at);
        e = json.find('"', q + 1);
        s = json.substr(q + 1, e - q - 1);
        at = e + 1;
      }
      out.push_back(s);
    }
    return out;
  }
  std::vector<std::string> keyTable() const { return strings("keyTable", '[', ']'); }
  std::vector<std::string> macros() const { return strings("macros", '{', '}'); }
  std::vector<std::string> keyColors() const { return strings("keyColors", '[', ']'); }
};

void makeRecorded(KeyAssignment& key, std::initializer_list<MacroStep> steps) {
  key.category = kCategoryMacro;
  key.functionCode = kFunctionRecordedMacro;
  lstrcpynA(key.macroName, "rec", sizeof key.macroName);
  key.stepCount = uint16_t(steps.size());
  int i = 0;
  for (MacroStep s : steps) key.steps[i++] = s;
}

class DownloadSystem : public MonitorHarness {
 protected:
  // The image in the block with no change flags, as Option holds it between applies.
  std::unique_ptr<SettingsImage> cleanImage() {
    std::unique_ptr<SettingsImage> image = readBlock();
    clearChangeFlags(*image);
    return image;
  }
  ProfileRecord& active(SettingsImage& image) { return image.profiles[image.currentProfile]; }

  std::vector<Download> downloadsFrom(size_t traceLine) {
    std::vector<std::string> lines;
    const std::vector<TraceLine> trace = readTrace();
    for (size_t i = traceLine; i < trace.size(); ++i)
      lines.push_back(std::to_string(trace[i].micros) + " " + trace[i].call);
    return emu::splitDownloads(emu::receivedReports(lines));
  }

  // Applies `image` and returns the one download it caused.
  Download applyAndCollect(const SettingsImage& image) {
    const size_t before = readTrace().size();
    EXPECT_TRUE(apply(image));
    const std::vector<Download> downloads = downloadsFrom(before);
    EXPECT_EQ(downloads.size(), 1u);
    return downloads.empty() ? Download{} : downloads.back();
  }

  // Writes the block and has the monitor take it in, without waiting for the download.
  void applyNoWait(const SettingsImage& image) {
    SharedBlock block;
    ASSERT_TRUE(block.open());
    ASSERT_TRUE(block.copyToBlock(image));
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(monitorWindow(), UM_APPLY, 0, 0, SMTO_NORMAL, 20000, &result), 0);
  }

  // The download against the encoder's list for the profile and flags of
  // `image`, byte for byte, and every pause against the keyboard's need.
  void expectSent(const Download& got, const SettingsImage& image, bool full = false,
                  const kbd::DownloadFlags* flags = nullptr) {
    const kbd::DownloadFlags f = flags ? *flags : kbd::readDownloadFlags(image);
    const std::vector<kbd::Report> want = kbd::encodeDownload(image.profiles[image.currentProfile], f, full);
    const emu::Comparison c = emu::compareDownload(got, want);
    EXPECT_EQ(c.firstDifference, "");
    EXPECT_EQ(c.shortPauses, 0) << "shortest pause " << c.shortestMarginMicros << " us short, before report "
                                << c.shortestAt;
    for (size_t i = 1; i < got.size(); ++i) {
      const long long gap = got[i].micros - got[i - 1].micros;
      EXPECT_GE(gap, requiredPauseMs(got, i) * 1000LL) << "before report " << i << " " << hexOf(got[i].bytes);
    }
  }

  void expectNoViolations(const KeyboardState& state) {
    EXPECT_EQ(state.number("violations"), 0) << state.json.substr(0, 400);
  }
};

TEST_F(DownloadSystem, AppliesSendWhatTheirFlagsAskForByteForByte) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;

  // Only the effect and its colour changed: the three short commands.
  std::unique_ptr<SettingsImage> image = cleanImage();
  ASSERT_EQ(image->currentProfile, 0);
  ProfileRecord& p = active(*image);
  p.lightFx = 3;
  p.waveSpeed = 1;
  p.waveMode = 1;
  p.waveColor = 0x336699;
  image->effectDirty[0] = 1;
  image->effectColorDirty[0] = 1;
  image->standardKeyDirty[0] = 1;
  image->lightSwitchDirty[0] = 1;
  Download d = applyAndCollect(*image);
  expectSent(d, *image);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(hexOf(d[0].bytes), hexOf(cmd({0x08, 0x01, 3, 0x0A, 0, 8, 1})));
  EXPECT_EQ(hexOf(d[1].bytes), hexOf(cmd({0x14, 0, 6, 0x99, 0x66, 0x33, 0})));
  EXPECT_EQ(hexOf(d[2].bytes), hexOf(cmd({0x08, 0x02, 3, 0x0A, 50, 8, 1})));

  // One key changed in profile 3 while profile 0 is active: profile 0's
  // whole key table and every macro of it.
  image = cleanImage();
  ProfileRecord& q = active(*image);
  KeyAssignment* k = q.keys;
  k[1].category = kCategoryCombination;  // F1: Ctrl+C
  k[1].functionCode = kFunctionCombination;
  k[1].stepCount = 2;
  k[1].steps[0] = MacroStep::make(224, 0, 0);
  k[1].steps[1] = MacroStep::make(6, 0, 0);
  makeRecorded(k[2], {MacroStep::make(4, kActionPress, 0x7F), MacroStep::make(4, kActionRelease, 0x80),
                      MacroStep::make(5, kActionPress, 0x1234), MacroStep::make(5, kActionRelease, 9)});
  k[2].playMode = kPlayNTimes;
  k[2].playCount = 3;
  k[2].repeatDelayMs = 0x90;
  makeRecorded(k[3], {MacroStep::make(0x2C, kActionPress, 6), MacroStep::make(0x2C, kActionRelease, 0)});
  k[3].triggerMode = 1;
  k[3].playMode = kPlayToggle;
  k[3].playCount = 0;
  k[3].repeatDelayMs = 0x10;
  k[4].functionCode = kFunctionRecordedMacro;  // left over in a default key: a buffer, no macro slot
  k[4].stepCount = 1;
  k[4].steps[0] = MacroStep::make(0x1E, kActionPress, 40);
  k[13].category = kCategoryMedia;
  k[13].functionCode = 24;
  k[47].category = kCategoryMacro;
  k[47].functionCode = kFunctionTextMacro;
  lstrcpynA(k[47].textMacroText, "hello", sizeof k[47].textMacroText);
  k[48].category = kCategoryLaunch;
  k[48].functionCode = kFunctionLaunch;
  lstrcpynA(k[48].appPath, "C:\\windows\\notepad.exe", sizeof k[48].appPath);
  k[36].category = kCategoryDisabled;
  k[36].functionCode = kFunctionDisabled;
  k[40].category = kCategoryShortcut;
  k[40].functionCode = 52;
  k[74].functionCode = kFunctionLaunch;  // category 1 keeps the Fn key
  image->profiles[3].keys[7].category = kCategoryDisabled;
  image->profiles[3].keys[7].functionCode = kFunctionDisabled;
  image->keyDirty[3][7] = 1;
  d = applyAndCollect(*image);
  expectSent(d, *image);
  EXPECT_EQ(commandsOf(d, 0x0D), 1);
  EXPECT_EQ(commandsOf(d, 0x11), 4);
  EXPECT_EQ(commandsOf(d, 0x0E) + commandsOf(d, 0x12), 0);
  const Bytes table = sentTable(d);
  ASSERT_EQ(table.size(), 512u);
  EXPECT_EQ(slotOf(table, 17), (Bytes{4, 1, 0, 0}));
  EXPECT_EQ(slotOf(table, 23), (Bytes{4, 1, 1, 0}));
  EXPECT_EQ(slotOf(table, 29), (Bytes{4, 0x83, 2, 0}));
  EXPECT_EQ(slotOf(table, 35), (Bytes{0, 0, 61, 0}));
  EXPECT_EQ(slotOf(table, 89), (Bytes{3, 0, 226, 0}));
  EXPECT_EQ(slotOf(table, 20), (Bytes{10, 0, 11, 48}));
  EXPECT_EQ(slotOf(table, 26), (Bytes{10, 0, 10, 49}));
  EXPECT_EQ(slotOf(table, 39), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(slotOf(table, 63), (Bytes{0, 224, 26, 0}));
  EXPECT_EQ(slotOf(table, 60), (Bytes{2, 0, 0, 0}));
  EXPECT_EQ(slotOf(table, 5), (Bytes{0, 0, 41, 0}));
  EXPECT_EQ(hexOf(sentMacro(d, 0)), hexOf(macroBuffer({0, 1, 0x01, 224, 0x01, 6, 0x81, 224, 0x81, 6, 0, 0})));
  EXPECT_EQ(hexOf(sentMacro(d, 1)), hexOf(macroBuffer({0, 3, 0x01, 4, 0xFF, 4, 0x7F, 5, 0x00, 0x80, 0xFF, 5,
                                                       0x12, 0x34, 0xFF, 0, 0, 0x90})));
  EXPECT_EQ(hexOf(sentMacro(d, 2)), hexOf(macroBuffer({0, 1, 0x01, 0x2C, 0x87, 0x2C, 0x91, 0})));
  EXPECT_EQ(hexOf(sentMacro(d, 3)), hexOf(macroBuffer({0, 1, 0x01, 0x1E, 0x81, 0x1E, 0, 0})));
  KeyboardState state = KeyboardState::read();
  expectNoViolations(state);
  const std::vector<std::string> stored = state.keyTable();
  ASSERT_EQ(stored.size(), 128u);
  for (int s = 0; s < 128; ++s) EXPECT_EQ(stored[s], hexOf(slotOf(table, s))) << "slot " << s;
  ASSERT_EQ(state.macros().size(), 4u);
  EXPECT_EQ(state.macros()[1], hexOf(sentMacro(d, 1)));

  // Per-key colours in custom mode 1: the global colour on all 126 LEDs.
  image = cleanImage();
  ProfileRecord& c = active(*image);
  c.lightFx = 51;
  c.ltControl = 4;
  c.customMode = 1;
  c.globalColor = 0xABCDEF;
  for (Color& led : c.customColors) led = 0x111111;
  image->customColorDirty[0] = 1;
  d = applyAndCollect(*image);
  expectSent(d, *image);
  ASSERT_EQ(d.size(), 12u);
  EXPECT_EQ(hexOf(d[0].bytes), hexOf(cmd({0x08, 0x01, 51, 0, 0, 0, 0})));
  EXPECT_EQ(hexOf(d[1].bytes), hexOf(cmd({0x14, 0, 6, 0, 0, 0, 0})));
  EXPECT_EQ(hexOf(d[2].bytes), hexOf(cmd({0x12, 0, 0, 8, 0, 0, 0})));
  EXPECT_EQ(hexOf(d[11].bytes), hexOf(cmd({0x08, 0x02, 51, 7, 20, 0, 0})));
  const Bytes colours = blocksAfter(d, {0x12, 0, 0, 8}, 8);
  ASSERT_EQ(colours.size(), 512u);
  for (int i = 0; i < 128; ++i)
    EXPECT_EQ(slotOf(colours, i), i < 126 ? (Bytes{0, 0xEF, 0xCD, 0xAB}) : (Bytes{0, 0, 0, 0}))
        << "LED " << i;
  state = KeyboardState::read();
  expectNoViolations(state);
  ASSERT_EQ(state.keyColors().size(), 128u);
  EXPECT_EQ(state.keyColors()[125], "EFCDAB");
  EXPECT_EQ(state.keyColors()[126], "000000");
  EXPECT_EQ(state.text("effectWithBrightness"), hexOf(cmd({0x08, 0x02, 51, 7, 20, 0, 0})));

  // Forty macro keys: exactly 35 buffers; from the 36th macro key on every
  // key keeps its standard slot, even a launch key, and a mouse button in
  // standardKey stays.
  image = cleanImage();
  ProfileRecord& m = active(*image);
  buildDefaultProfile(m, 0);
  for (int key = 0; key <= 40; ++key)
    if (key != 20) makeRecorded(m.keys[key], {MacroStep::make(uint8_t(key + 4), kActionPress, 0)});
  m.keys[20].category = kCategoryMacro;
  m.keys[20].functionCode = kFunctionTextMacro;
  m.keys[90].category = kCategoryLaunch;
  m.keys[90].functionCode = kFunctionLaunch;
  m.standardKey[100] = 241;
  image->keyDirty[0][5] = 1;
  d = applyAndCollect(*image);
  expectSent(d, *image);
  EXPECT_EQ(commandsOf(d, 0x11), 35);
  for (uint8_t n = 0; n < 35; ++n) EXPECT_EQ(sentMacro(d, n).size(), 192u) << "buffer " << int(n);
  EXPECT_TRUE(sentMacro(d, 35).empty());
  EXPECT_EQ(hexOf(sentMacro(d, 0)), hexOf(macroBuffer({0, 1, 0x01, 4, 0, 0})));
  EXPECT_EQ(hexOf(sentMacro(d, 34)), hexOf(macroBuffer({0, 1, 0x01, 39, 0, 0})));  // key 35
  const Bytes big = sentTable(d);
  EXPECT_EQ(slotOf(big, 5), (Bytes{4, 1, 0, 0}));      // key 0
  EXPECT_EQ(slotOf(big, 28), (Bytes{10, 0, 11, 21}));  // key 20
  EXPECT_EQ(slotOf(big, 33), (Bytes{4, 1, 34, 0}));    // key 35, the 35th macro key
  EXPECT_EQ(slotOf(big, 39), (Bytes{0, 0, 28, 0}));    // key 36, the 36th
  EXPECT_EQ(slotOf(big, 63), (Bytes{0, 0, 19, 0}));    // key 40
  EXPECT_EQ(slotOf(big, 103), (Bytes{0, 0, 89, 0}));   // launch key 90
  EXPECT_EQ(slotOf(big, 114), (Bytes{1, 0, 241, 0}));  // key 100 as a mouse button
  state = KeyboardState::read();
  expectNoViolations(state);
  EXPECT_EQ(state.macros().size(), 35u);
  exitFromTray();
}

TEST_F(DownloadSystem, ProfileSwitchesSendTheWholeNewProfile) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;

  // Option selected profile 1 and applied: everything of profile 1.
  std::unique_ptr<SettingsImage> image = cleanImage();
  image->currentProfile = 1;
  image->profileSwitched = 1;
  ProfileRecord& p = image->profiles[1];
  p.lightFx = 2;
  p.breatheSpeed = 1;
  p.breatheColor = 0x00FF80;
  p.leftWinLock = 0;
  p.customColors[0] = 0x0A0B0C;
  makeRecorded(p.keys[10], {MacroStep::make(30, kActionPress, 1000), MacroStep::make(30, kActionRelease, 0)});
  Download d = applyAndCollect(*image);
  expectSent(d, *image);
  ASSERT_EQ(d.size(), 2u + 9 + 4 + 2 + 9 + 1);
  EXPECT_EQ(hexOf(d[0].bytes), hexOf(cmd({0x08, 0x01, 2, 10, 0, 7, 0})));
  EXPECT_EQ(hexOf(d[1].bytes), hexOf(cmd({0x14, 0, 6, 0x80, 0xFF, 0, 0})));
  EXPECT_EQ(hexOf(d[2].bytes), hexOf(cmd({0x0D, 0, 0, 8, 0, 0, 0})));
  EXPECT_EQ(hexOf(d[11].bytes), hexOf(cmd({0x11, 0, 0, 3, 0, 0, 0})));
  EXPECT_EQ(hexOf(sentMacro(d, 0)), hexOf(macroBuffer({0, 1, 0x01, 30, 0xFF, 30, 0x03, 0xE8, 0, 0})));
  EXPECT_EQ(hexOf(d[15].bytes), hexOf(cmd({0x0E, 0, 0, 0x15, 0, 0, 0})));
  Bytes lock(64, 0);
  std::fill(lock.begin(), lock.begin() + 21, 0x3F);
  lock[1] = 0x3E;
  EXPECT_EQ(hexOf(d[16].bytes), hexOf(lock));
  EXPECT_EQ(hexOf(d[17].bytes), hexOf(cmd({0x12, 0, 0, 8, 0, 0, 0})));
  EXPECT_EQ(slotOf(d[18].bytes, 0), (Bytes{0, 0x0C, 0x0B, 0x0A}));
  EXPECT_EQ(hexOf(d[26].bytes), hexOf(cmd({0x08, 0x02, 2, 10, 50, 7, 0})));
  KeyboardState state = KeyboardState::read();
  expectNoViolations(state);
  EXPECT_EQ(state.text("winLock"), hexOf(lock));

  // This program is in the front; profile 2 comes to link it (blanks
  // around, other letter case), applied with no change flags: first the
  // three short commands of profile 1, then the watcher switches to
  // profile 2 and the keyboard receives all of it.
  HWND front =
      CreateWindowExA(0, "QuillonOptionStandIn", "Download test front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                      0, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(front, nullptr);
  SetForegroundWindow(front);
  if (!waitFor([&] { return GetForegroundWindow() == front; }, 3000)) {
    DestroyWindow(front);
    GTEST_SKIP() << "no foreground window here";
  }
  image = cleanImage();
  ProfileRecord& linked = image->profiles[2];
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = std::string("  ") + CharUpperA(self) + " ";
  lstrcpynA(linked.linkedApps[3], path.c_str(), sizeof linked.linkedApps[3]);
  linked.lightFx = 6;
  linked.rippleSpeed = 3;
  linked.rippleColor = 0x102030;
  makeRecorded(linked.keys[60], {MacroStep::make(7, kActionPress, 0), MacroStep::make(7, kActionRelease, 0)});
  linked.keys[60].category = kCategoryCombination;
  linked.keys[60].functionCode = kFunctionCombination;
  const size_t before = readTrace().size();
  const int doneBefore = standIn_.applyDone;
  EXPECT_TRUE(apply(*image));
  // Only the apply is answered; the switch's full download is not.
  EXPECT_TRUE(
      waitFor([&] { return standIn_.profileSwitched == 1 && downloadsFrom(before).size() >= 2; }, 20000));
  DestroyWindow(front);
  waitFor([] { return false; }, 500);  // room for a stray answer to arrive
  EXPECT_EQ(standIn_.applyDone, doneBefore + 1);
  const std::vector<Download> downloads = downloadsFrom(before);
  ASSERT_EQ(downloads.size(), 2u);
  expectSent(downloads[0], *image);
  EXPECT_EQ(downloads[0].size(), 3u);
  std::unique_ptr<SettingsImage> switched = readBlock();
  EXPECT_EQ(switched->currentProfile, 2);
  EXPECT_EQ(switched->profileSwitched, 1);
  const kbd::DownloadFlags flags{false, false, false, true};
  expectSent(downloads[1], *switched, true, &flags);
  d = downloads[1];
  EXPECT_EQ(hexOf(d[0].bytes), hexOf(cmd({0x08, 0x01, 6, 4, 0, 7, 0})));
  EXPECT_EQ(hexOf(d[1].bytes), hexOf(cmd({0x14, 0, 6, 0x30, 0x20, 0x10, 0})));
  EXPECT_EQ(commandsOf(d, 0x0D) + commandsOf(d, 0x11) + commandsOf(d, 0x0E) + commandsOf(d, 0x12), 4);
  EXPECT_EQ(slotOf(sentTable(d), 19), (Bytes{4, 1, 0, 0}));  // key 60
  EXPECT_EQ(hexOf(sentMacro(d, 0)), hexOf(macroBuffer({0, 1, 0x01, 7, 0x01, 7, 0x81, 7, 0x81, 7, 0, 0})));
  EXPECT_EQ(GetPrivateProfileIntA("Setting", "CurrentProfile", -1, (folder_ + "config.ini").c_str()), 2u);
  expectNoViolations(KeyboardState::read());
  exitFromTray();
}

// Applies that come while a download runs: each download sends one whole
// image, and every flag is sent by the download that follows its apply.
TEST_F(DownloadSystem, OverlappingAppliesLoseNothingAndNeverMixProfiles) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;

  std::unique_ptr<SettingsImage> a = cleanImage();
  ProfileRecord& p = active(*a);
  for (int key = 0; key < 20; ++key) {
    makeRecorded(p.keys[key], {MacroStep::make(uint8_t(key + 4), kActionPress, 0x200)});
    a->keyDirty[0][key] = 1;
  }
  p.staticColor = 0x0000A1;
  a->effectColorDirty[0] = 1;

  auto b = std::make_unique<SettingsImage>(*a);
  clearChangeFlags(*b);
  b->profiles[0].customColors[5] = 0x123456;
  b->profiles[0].staticColor = 0x0000B2;
  b->customColorDirty[0] = 1;
  b->effectColorDirty[0] = 1;

  auto c = std::make_unique<SettingsImage>(*b);
  clearChangeFlags(*c);
  c->profiles[0].staticColor = 0x0000C3;
  c->profiles[0].leftWinLock = 0;
  c->winLockDirty[0] = 1;
  c->effectColorDirty[0] = 1;

  const size_t before = readTrace().size();
  const int doneBefore = standIn_.applyDone;
  applyNoWait(*a);
  // The first download has taken its image once its key table goes out.
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "SetFeature 0D") >= 1; }, 10000));
  applyNoWait(*b);
  applyNoWait(*c);
  ASSERT_TRUE(waitFor([&] { return standIn_.applyDone == doneBefore + 3; }, 30000));

  const std::vector<Download> downloads = downloadsFrom(before);
  ASSERT_EQ(downloads.size(), 3u);
  expectSent(downloads[0], *a);
  EXPECT_EQ(commandsOf(downloads[0], 0x12), 0) << "a later apply's colours went with the first download";

  // The second download took B or, when C had come in already, C with both
  // applies' flags; the third sends what is left.
  ASSERT_GE(downloads[1].size(), 2u);
  const uint8_t secondColour = downloads[1][1].bytes[3];
  if (secondColour == 0xB2) {
    expectSent(downloads[1], *b);
    expectSent(downloads[2], *c);
  } else {
    EXPECT_EQ(secondColour, 0xC3);
    auto both = std::make_unique<SettingsImage>(*c);
    both->customColorDirty[0] = 1;
    expectSent(downloads[1], *both);
    clearChangeFlags(*c);
    expectSent(downloads[2], *c);
  }

  // The keyboard holds C, with B's key colour.
  const KeyboardState state = KeyboardState::read();
  expectNoViolations(state);
  ASSERT_EQ(state.keyColors().size(), 128u);
  EXPECT_EQ(state.keyColors()[5], "563412");
  EXPECT_EQ(state.text("effectColor"), hexOf(cmd({0x14, 0, 6, 0xC3, 0, 0, 0})));
  EXPECT_EQ(state.text("winLock").substr(0, 4), "3F3E");
  EXPECT_EQ(state.macros().size(), 20u);
  exitFromTray();
}

}  // namespace
