#!/usr/bin/env bash
# The setup program in a fresh Wine prefix of its own, with its own
# wineserver: silent install, the monitor started from the installed folder,
# an upgrade while the monitor and the configuration window run, silent
# uninstall keeping the settings, and an uninstall with /PURGE.
#
# usage: installer_test.sh SETUP.exe setup_probe.exe WORK_DIR VERSION PRODUCT COMPANY
set -uo pipefail

setup=$1 probe=$2 work=$3 version=$4 product=$5 company=$6
stage="$(dirname "$setup")/$product"

export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

uninstall_key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
monitor_class=VarnelQuillonMonitor
option_title="Varnel Quillon Option"
wait_ms=30000

log() { printf '%s\n' "$*"; }
fail() {
  log "FAIL: $*"
  exit 1
}
# The prefix takes some 700 MB: kept only when a check failed, to look into.
passed=0
finish() {
  wineserver -k >/dev/null 2>&1 || true
  if [ $passed = 1 ]; then
    wineserver -w >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
  fi
}
trap finish EXIT

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f s", b - a }'; }

w() { wine "$@" 2>/dev/null </dev/null | tr -d '\r'; }
probe() { w "$probe" "$@"; }
# The setup program may start the monitor: no pipe that the monitor would hold.
run_setup() { wine "$setup" "$@" >/dev/null 2>&1 </dev/null; }
winpath() { winepath -w "$1" 2>/dev/null; }

# Polls a Linux path until the test says yes; no fixed sleeps.
wait_for() {
  local tries=$((wait_ms / 100))
  while ! "$@"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.1
  done
}

sha() { sha256sum "$1" | cut -d' ' -f1; }

# --- a fresh prefix with its own server --------------------------------------
start=$(now)
rm -rf "$work"
mkdir -p "$WINEPREFIX"
wineserver -p || fail "wineserver did not start"
wineboot -i >/dev/null 2>&1 </dev/null || fail "wineboot failed"
log "prefix ready in $(since "$start")"

win_local_app=$(w cmd /c echo %LOCALAPPDATA%)
local_app=$(winepath -u "$win_local_app" 2>/dev/null)
roaming=$(winepath -u "$(w cmd /c echo %APPDATA%)" 2>/dev/null)
[ -d "$local_app" ] || fail "no LOCALAPPDATA folder ($local_app)"
instdir="$local_app/Programs/$product"
win_instdir="$win_local_app\\Programs\\$product"
shortcut="$roaming/Microsoft/Windows/Start Menu/Programs/$product.lnk"

check_installed() {
  local f
  for f in Monitor.exe Option.exe hiddriver.dll lan.dll Play-Regular.ttf Play-Bold.ttf Uninstall.exe \
    skins/skin_Config.ini skins/200/Config_Normal.jpg skins/200/enter_mask.bmp; do
    [ -f "$instdir/$f" ] || fail "$f not installed"
  done
  [ -d "$instdir/config" ] || fail "config folder not made"
  [ ! -e "$instdir/emulated" ] || fail "the emulated keyboard was installed"
  [ ! -e "$instdir/kbdctl.exe" ] || fail "kbdctl.exe was installed"
  [ -f "$shortcut" ] || fail "no Start menu shortcut"
  local link
  link=$(probe shortcut "$(winpath "$shortcut")")
  grep -qxF "Target=$win_instdir\\Monitor.exe" <<<"$link" || fail "shortcut target: $link"
  grep -qxF "Arguments=1" <<<"$link" || fail "shortcut arguments: $link"
  w reg query "$run_key" /v "$product" | grep -qF "\"$win_instdir\\Monitor.exe\"" || fail "no Run value"
  local entry value
  entry=$(w reg query "$uninstall_key") || fail "no Uninstall entry"
  for value in DisplayName DisplayVersion Publisher DisplayIcon InstallLocation UninstallString \
    QuietUninstallString EstimatedSize NoModify NoRepair; do
    grep -qE "^ +$value +REG_" <<<"$entry" || fail "Uninstall entry lacks $value"
  done
  grep -qE "DisplayVersion +REG_SZ +$version\$" <<<"$entry" || fail "DisplayVersion is not $version"
  grep -qE "Publisher +REG_SZ +$company\$" <<<"$entry" || fail "Publisher is not $company"
  grep -qF "\"$win_instdir\\Uninstall.exe\" /S" <<<"$entry" || fail "QuietUninstallString"
}

check_version() {
  local file=$1 info major minor
  info=$(probe version "$(winpath "$file")") || fail "no version resource in $file"
  IFS=. read -r major minor <<<"$version"
  for line in "FileVersion=$version" "ProductVersion=$version" "ProductName=$product" "CompanyName=$company" \
    "FileVersionNumbers=$((10#$major)).$((10#$minor)).0.0"; do
    grep -qxF "$line" <<<"$info" || fail "$(basename "$file"): expected $line in: $info"
  done
  grep -qE '^FileDescription=.+' <<<"$info" || fail "$(basename "$file") has no FileDescription"
  grep -qE '^LegalCopyright=.+' <<<"$info" || fail "$(basename "$file") has no LegalCopyright"
}

# --- silent install ----------------------------------------------------------
log "setup program: $(basename "$setup"), $(stat -c %s "$setup") bytes"
# The 100 and 200 % skin sets ship; the setup program stays a small download.
[ "$(stat -c %s "$setup")" -lt $((12 * 1024 * 1024)) ] || fail "the setup program is 12 MB or more"
start=$(now)
run_setup /S || fail "silent install failed"
log "install: $(since "$start")"
check_installed
for f in Monitor.exe Option.exe hiddriver.dll lan.dll; do check_version "$instdir/$f"; done
check_version "$setup"

# --- the installed monitor starts (no keyboard: the real driver finds none) --
wine "$instdir/Monitor.exe" >/dev/null 2>&1 </dev/null &
first_pid=$(probe wait-window class "$monitor_class" $wait_ms) || fail "the installed monitor did not start"
# Its start-up writes config.ini; the test's own changes come after that.
wait_for test -s "$instdir/config.ini" || fail "the monitor wrote no config.ini"
printf '[Setting]\r\nProFileName=changed by the test\r\n' >"$instdir/config/Default0.gkp"
printf '[Macros]\r\nnumber=0\r\n' >"$instdir/config/sequence.dat"
printf '[InstallerTest]\r\nMarker=kept\r\n' >>"$instdir/config.ini"
profile_sha=$(sha "$instdir/config/Default0.gkp")
list_sha=$(sha "$instdir/config/sequence.dat")
wine "$instdir/Option.exe" >/dev/null 2>&1 </dev/null &
probe wait-window title "$option_title" $wait_ms >/dev/null || fail "Option did not start"
# A file the upgrade must replace (a new file, as the running program keeps its own).
printf 'old' >"$instdir/Option.exe.old" && mv "$instdir/Option.exe.old" "$instdir/Option.exe"

# --- upgrade in place while both run ------------------------------------------
start=$(now)
run_setup /S || fail "silent upgrade failed"
log "upgrade with both programs running: $(since "$start")"
probe wait-no-window title "$option_title" 1000 || fail "Option still runs after the upgrade"
second_pid=$(probe wait-window class "$monitor_class" $wait_ms) || fail "the monitor was not started again"
[ "$second_pid" != "$first_pid" ] || fail "the monitor was not ended (process $first_pid still runs)"
cmp -s "$stage/Option.exe" "$instdir/Option.exe" || fail "Option.exe was not replaced"
[ "$(sha "$instdir/config/Default0.gkp")" = "$profile_sha" ] || fail "the upgrade changed the profile file"
[ "$(sha "$instdir/config/sequence.dat")" = "$list_sha" ] || fail "the upgrade changed the list file"
grep -q '^Marker=kept' "$instdir/config.ini" || fail "the upgrade lost config.ini's contents"
check_installed

# --- silent uninstall: the settings stay --------------------------------------
start=$(now)
probe run-wait $wait_ms "$win_instdir\\Uninstall.exe" /S || fail "silent uninstall failed"
log "uninstall with the monitor running: $(since "$start")"
probe wait-no-window class "$monitor_class" 1000 || fail "the monitor still runs after the uninstall"
for f in Monitor.exe Option.exe hiddriver.dll lan.dll Play-Regular.ttf Uninstall.exe skins; do
  [ ! -e "$instdir/$f" ] || fail "$f left behind"
done
[ ! -e "$shortcut" ] || fail "shortcut left behind"
w reg query "$run_key" /v "$product" | grep -q Monitor.exe && fail "Run value left behind"
w reg query "$uninstall_key" | grep -q DisplayName && fail "Uninstall entry left behind"
[ "$(sha "$instdir/config/Default0.gkp")" = "$profile_sha" ] || fail "the uninstall changed the profile file"
grep -q '^Marker=kept' "$instdir/config.ini" || fail "the uninstall removed config.ini"

# --- install again, uninstall with /PURGE: the folder goes -------------------
run_setup /S || fail "second install failed"
[ "$(sha "$instdir/config/Default0.gkp")" = "$profile_sha" ] || fail "reinstall changed the profile file"
probe run-wait $wait_ms "$win_instdir\\Uninstall.exe" /S /PURGE || fail "uninstall with /PURGE failed"
[ ! -e "$instdir" ] || fail "/PURGE left $(find "$instdir" -mindepth 1 | tr '\n' ' ')"

# --- a monitor that does not end: the setup program stops and changes nothing -
run_setup /S || fail "third install failed"
wine "$probe" stubborn-window "$monitor_class" "Varnel Quillon Monitor" >/dev/null 2>&1 </dev/null &
probe wait-window class "$monitor_class" $wait_ms >/dev/null || fail "the stubborn window did not show"
printf 'old' >"$instdir/Option.exe"
start=$(now)
run_setup /S && fail "the setup program went on while the monitor still ran"
log "setup with a monitor that does not end gave up after $(since "$start")"
[ "$(cat "$instdir/Option.exe")" = old ] || fail "the setup program replaced files while the monitor ran"
probe close-window class "$monitor_class" || fail "could not close the stubborn window"
probe wait-no-window class "$monitor_class" $wait_ms || fail "the stubborn window did not close"

passed=1
log "PASS"
