# Shared by ./test and ./run: dependencies, the two build trees, the private
# Wine prefix, and a session of Xvfb plus a persistent wineserver that is
# stopped again, by process id, whatever way the script ends.

QUILLON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILLON_BUILD=${QUILLON_BUILD:-$QUILLON_ROOT/build}
QUILLON_NATIVE=$QUILLON_BUILD/native
QUILLON_WIN=$QUILLON_BUILD/win
export WINEPREFIX=$QUILLON_WIN/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

quillon_log() { printf '== %s\n' "$*" >&2; }

# Debian packages that the build and the tests need, each with a file that
# shows it is there.
quillon_deps=(
  "cmake:/usr/bin/cmake"
  "ninja-build:/usr/bin/ninja"
  "g++:/usr/bin/g++"
  "googletest:/usr/src/googletest/CMakeLists.txt"
  "libgtest-dev:/usr/include/gtest/gtest.h"
  "g++-mingw-w64-x86-64-posix:/usr/bin/x86_64-w64-mingw32-g++-posix"
  "binutils-mingw-w64-x86-64:/usr/bin/x86_64-w64-mingw32-windres"
  "wine:/usr/bin/wine"
  "wine64:/usr/lib/wine/wine64"
  "xvfb:/usr/bin/Xvfb"
  "imagemagick:/usr/bin/import"
  "x11-utils:/usr/bin/xwininfo"
  "python3:/usr/bin/python3"
  "python3-pil:/usr/lib/python3/dist-packages/PIL/__init__.py"
  "fonts-play:/usr/share/fonts/truetype/play/Play-Regular.ttf"
  "clang-format:/usr/bin/clang-format"
  "xdotool:/usr/bin/xdotool"
  "clang:/usr/bin/clang"
  "libclang-rt-14-dev:/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a"
  "libfuzzer-14-dev:/usr/lib/llvm-14/lib/libFuzzer.a"
  "nsis:/usr/bin/makensis"
  "libstb-dev:/usr/include/stb/stb_image.h"
)

quillon_install_deps() {
  local missing=() entry
  for entry in "${quillon_deps[@]}"; do
    [ -e "${entry#*:}" ] || missing+=("${entry%%:*}")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  quillon_log "installing ${missing[*]}"
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq >/dev/null
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Runs a build command, hiding ninja's progress lines but keeping its errors.
quillon_quiet() {
  local status
  "$@" 2>&1 | grep -vE '^\[[0-9]+/[0-9]+\]'
  status=${PIPESTATUS[0]}
  return "$status"
}

quillon_build() {
  local jobs
  jobs=$(nproc)
  if [ ! -f "$QUILLON_NATIVE/build.ninja" ]; then
    cmake -S "$QUILLON_ROOT" -B "$QUILLON_NATIVE" -G Ninja >/dev/null
  fi
  if [ ! -f "$QUILLON_WIN/build.ninja" ]; then
    cmake -S "$QUILLON_ROOT" -B "$QUILLON_WIN" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$QUILLON_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  fi
  quillon_log "building native tree"
  quillon_quiet cmake --build "$QUILLON_NATIVE" -j "$jobs" || return 1
  quillon_log "building Windows tree"
  quillon_quiet cmake --build "$QUILLON_WIN" -j "$jobs" || return 1
}

# The fuzz tree: the portable core built with clang for libFuzzer.
quillon_build_fuzz() {
  local tree=$QUILLON_BUILD/fuzz
  if [ ! -f "$tree/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$QUILLON_ROOT" -B "$tree" -G Ninja -DQUILLON_FUZZ=ON >/dev/null || return 1
  fi
  quillon_log "building fuzz tree"
  quillon_quiet cmake --build "$tree" -j "$(nproc)" || return 1
}

quillon_pids=()

quillon_stop() {
  if [ -n "${quillon_wineserver:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  local pid
  for pid in "${quillon_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${quillon_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  quillon_pids=()
  quillon_wineserver=
}

# The prefix is made once per build tree; wineboot takes about ten seconds.
quillon_wine_prefix() {
  [ -f "$WINEPREFIX/.quillon-ready" ] && return 0
  quillon_log "initialising Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.quillon-ready"
}

# Wine hands every activated top-level window to the X window manager and,
# when such a window is hidden or destroyed, waits up to 2 s for the manager
# to confirm that it is withdrawn. A bare Xvfb has no manager: every closing
# dialog would block its program's thread for those 2 s ("wait_for_withdrawn_
# state ... wait timed out" in WINEDEBUG=fixme+event), and clicks meanwhile
# arrive late or at a window that is no longer in front. Without a manager,
# Wine places the windows itself.
quillon_window_manager_mode() {
  local managed=N
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && managed=Y
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1 </dev/null
}

# quillon_session [private]: a display (the caller's $DISPLAY unless "private"
# is asked for or there is none) and a persistent wineserver.
quillon_session() {
  trap quillon_stop EXIT
  trap 'exit 130' INT TERM
  if [ "${1:-}" = private ] || [ -z "${DISPLAY:-}" ]; then
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # QUILLON_SCREEN: another screen size (the tests of the larger scales need room).
    Xvfb -displayfd 3 -screen 0 "${QUILLON_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    quillon_pids+=($!)
    local display
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=:$display
  fi
  quillon_wine_prefix
  # Tests under Wine drive windows with real X input through this relay.
  local portFile=$QUILLON_WIN/input-relay.$$.port
  rm -f "$portFile"
  /usr/bin/python3 "$QUILLON_ROOT/tools/input_relay.py" "$portFile" >/dev/null 2>&1 &
  quillon_pids+=($!)
  local tries=0
  while [ ! -s "$portFile" ] && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done
  export QUILLON_INPUT_RELAY
  QUILLON_INPUT_RELAY=$(cat "$portFile" 2>/dev/null)
  rm -f "$portFile"
  wineserver -f -p >/dev/null 2>&1 &
  quillon_pids+=($!)
  quillon_wineserver=1
  # Start Wine's own services now, detached from the caller's output.
  wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
  quillon_window_manager_mode
}
