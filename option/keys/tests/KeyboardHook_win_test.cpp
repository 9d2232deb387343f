#include "KeyboardHook_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeyMessages.h"

// Real key input reaches the hook the way the user's keys do: xdotool types
// into the X display of the session, focused on a window of this test.
namespace {

constexpr char kFocusTitle[] = "Quillon keys hook test";
constexpr char kFocusClass[] = "QuillonKeysHookFocus";
constexpr char kReceiverClass[] = "QuillonKeysHookReceiver";
constexpr DWORD kSettleMs = 300;
constexpr DWORD kXdotoolTimeoutMs = 20000;

struct HookKey {
  WPARAM virtualKey;
  LPARAM flags;
};
std::vector<HookKey> g_received;
HWND g_edit = nullptr;

LRESULT CALLBACK receiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UM_HOOK_KEY) {
    g_received.push_back({wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Keeps the keyboard focus on its edit, as a dialog does.
LRESULT CALLBACK focusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFOCUS && g_edit) {
    SetFocus(g_edit);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void registerClasses() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc = {};
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpfnWndProc = receiverProc;
  wc.lpszClassName = kReceiverClass;
  RegisterClassA(&wc);
  wc.lpfnWndProc = focusProc;
  wc.lpszClassName = kFocusClass;
  wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  done = true;
}

HWND makeReceiver() {
  return CreateWindowExA(0, kReceiverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

std::string editText() {
  char text[64] = {};
  GetWindowTextA(g_edit, text, sizeof text);
  return text;
}

// Starts xdotool on the session's display. Wine cannot wait for a program
// of the host, so the tests wait for what its keys do, pumping meanwhile:
// the hook runs on this thread and must be called in time.
bool typeIntoFocusWindow(const char* keys) {
  std::string command = std::string("Z:\\usr\\bin\\xdotool search --limit 1 --name \"") + kFocusTitle +
                        "\" windowfocus --sync key " + keys;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

template <typename Done>
bool pumpUntil(Done done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > kXdotoolTimeoutMs) return false;
    pump(20);
  }
  return true;
}

class KeyboardHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerClasses();
    g_received.clear();
    focus_ = CreateWindowExA(0, kFocusClass, kFocusTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 120,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, focus_,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(focus_);
    SetFocus(g_edit);
    pump(kSettleMs);
  }
  void TearDown() override {
    StopKeyCapture();
    DestroyWindow(focus_);
    g_edit = nullptr;
    pump(50);
  }
  HWND focus_ = nullptr;
};

}  // namespace

TEST_F(KeyboardHookTest, StartStopAndReplaceTheReceiver) {
  HWND first = makeReceiver();
  HWND second = makeReceiver();
  EXPECT_FALSE(KeyCaptureRunning());
  StopKeyCapture();  // idle stop does no harm
  EXPECT_FALSE(StartKeyCapture(nullptr));
  EXPECT_FALSE(KeyCaptureRunning());

  ASSERT_TRUE(StartKeyCapture(first));
  EXPECT_EQ(KeyCaptureReceiver(), first);
  ASSERT_TRUE(StartKeyCapture(second));  // the same hook, a new receiver
  EXPECT_EQ(KeyCaptureReceiver(), second);
  StopKeyCapture();
  EXPECT_FALSE(KeyCaptureRunning());
  EXPECT_EQ(KeyCaptureReceiver(), nullptr);

  {
    KeyCaptureOwner owner;
    ASSERT_TRUE(owner.Start(first));
    EXPECT_TRUE(owner.running());
  }
  EXPECT_FALSE(KeyCaptureRunning());

  // An owner whose recorder was taken over leaves the new capture alone.
  {
    KeyCaptureOwner owner;
    ASSERT_TRUE(owner.Start(first));
    ASSERT_TRUE(StartKeyCapture(second));
    EXPECT_FALSE(owner.running());
  }
  EXPECT_EQ(KeyCaptureReceiver(), second);
  StopKeyCapture();
  DestroyWindow(first);
  DestroyWindow(second);
}

TEST_F(KeyboardHookTest, TypedKeysReachTheReceiverNotTheFocusedEdit) {
  HWND receiver = makeReceiver();
  ASSERT_TRUE(StartKeyCapture(receiver));
  ASSERT_TRUE(typeIntoFocusWindow("a shift+b Return KP_Enter"));
  EXPECT_TRUE(pumpUntil([] { return g_received.size() >= 10; }));
  pump(kSettleMs);
  StopKeyCapture();
  EXPECT_EQ(editText(), "");

  std::vector<HookKey> presses;
  for (const HookKey& k : g_received)
    if (!(k.flags & kHookKeyReleased)) presses.push_back(k);
  ASSERT_EQ(presses.size(), 5u);
  EXPECT_EQ(presses[0].virtualKey, WPARAM('A'));
  EXPECT_EQ(presses[1].virtualKey, WPARAM(VK_LSHIFT));
  EXPECT_EQ(presses[2].virtualKey, WPARAM('B'));
  EXPECT_EQ(presses[3].virtualKey, WPARAM(VK_RETURN));
  EXPECT_EQ(presses[3].flags, 0);
  EXPECT_EQ(presses[4].virtualKey, WPARAM(VK_RETURN));
  EXPECT_EQ(presses[4].flags, LPARAM(kHookKeyExtended));
  EXPECT_EQ(g_received.size(), 10u);  // every press has its release
  for (const HookKey& k : g_received) EXPECT_EQ(k.flags & ~LPARAM(kHookKeyFlagsMask), 0);

  // After stop the keys are typed again.
  ASSERT_TRUE(typeIntoFocusWindow("c"));
  EXPECT_TRUE(pumpUntil([] { return !editText().empty(); }));
  EXPECT_EQ(editText(), "c");
  DestroyWindow(receiver);
}

TEST_F(KeyboardHookTest, ADestroyedReceiverReleasesTheKeyboard) {
  HWND receiver = makeReceiver();
  ASSERT_TRUE(StartKeyCapture(receiver));
  ASSERT_TRUE(typeIntoFocusWindow("x"));
  EXPECT_TRUE(pumpUntil([] { return g_received.size() >= 2; }));
  pump(kSettleMs);
  EXPECT_EQ(editText(), "");
  EXPECT_FALSE(g_received.empty());

  DestroyWindow(receiver);  // without stopping the capture
  g_received.clear();
  ASSERT_TRUE(typeIntoFocusWindow("y z"));
  EXPECT_TRUE(pumpUntil([] { return editText().size() >= 2; }));
  EXPECT_FALSE(KeyCaptureRunning());
  EXPECT_TRUE(g_received.empty());
  // The first key after the receiver went may only end the hook; the next is typed for sure.
  EXPECT_EQ(editText(), "yz");
}
