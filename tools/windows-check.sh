#!/usr/bin/env bash
# The Windows check: cross-builds kelvane-cli.exe, kelvane.exe and the logic's
# tests with mingw-w64, runs the tests under wine, compares kelvane-cli.exe
# with the Linux build byte for byte, and screenshots kelvane.exe on a virtual
# display. Installs what is missing (as root, or through sudo). Run after
# ./test.sh, whose Linux build (build/) it compares against.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine wine64 xvfb fonts-ipafont-gothic python3)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then as_root=(); elif command -v sudo >/dev/null; then as_root=(sudo); else
    echo "windows-check: missing packages (${missing[*]}) and no way to become root" >&2
    exit 1
  fi
  echo "windows-check: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
echo "== the Linux kelvane-cli to compare with"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs" --target kelvane-cli
linux_cli=$PWD/build/cli/kelvane-cli

echo "== cross-building for Windows"
cmake -S . -B build-mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-mingw -j "$jobs"
win_cli=$PWD/build-mingw/cli/kelvane-cli.exe
win_gui=$PWD/build-mingw/win32/kelvane.exe

echo "== a virtual display for wine: its desktop, the window tests and the screenshot"
# A display number no one uses: Xvfb picks it and says which.
display_file=$work/display
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$display_file")

echo "== a wine prefix of the check's own, the Japanese font names mapped to the IPA fonts"
export WINEPREFIX=$PWD/build-mingw/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
wineserver -k 2>/dev/null || true  # a server of an earlier run may hold a desktop on a display now gone
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true
wineserver -w  # the one wineboot left must end before a lasting one can start
wineserver -p  # one server for the whole check: each wine start is then quick
for pair in "ＭＳ Ｐゴシック=IPAPGothic" "ＭＳ ゴシック=IPAGothic"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null
done

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAILED: $*"
}

echo "== the tests under wine (the logic's and the Windows port's)"
if ctest --test-dir build-mingw --output-on-failure -j "$jobs"; then pass; else fail "tests under wine"; fi

echo "== kelvane-cli.exe against the Linux build, byte for byte"
# One run on both: stdout, the exit code, and the file written by -o if any;
# standard input from $stdin.
stdin=/dev/null
compare() {
  local out_linux="" out_windows=""
  local args=("$@")
  local a
  for a in "${args[@]}"; do
    [ "$a" = "-o" ] && out_linux=$work/linux.eud out_windows=$work/windows.eud
  done
  local la=() wa=()
  for a in "${args[@]}"; do
    la+=("${a/@OUT@/$work/linux.eud}")
    wa+=("${a/@OUT@/$work/windows.eud}")
  done
  rm -f "$work"/linux.eud "$work"/windows.eud
  local lc=0 wc=0
  "$linux_cli" "${la[@]}" >"$work/linux.out" 2>/dev/null <"$stdin" || lc=$?
  wine "$win_cli" "${wa[@]}" >"$work/windows.out" 2>/dev/null <"$stdin" || wc=$?
  if [ "$lc" != "$wc" ] || ! cmp -s "$work/linux.out" "$work/windows.out"; then
    fail "kelvane-cli ${args[*]} (exit $lc on Linux, $wc on Windows)"
    return
  fi
  if [ -n "$out_linux" ] && [ -e "$out_linux" ] && ! cmp -s "$out_linux" "$out_windows"; then
    fail "kelvane-cli ${args[*]}: the files written differ"
    return
  fi
  pass
}
for file in samples/*.eud tests/data/*.eud; do
  compare text "$file"
  compare text "$file" --utf8
  compare text "$file" --at 0
  compare text "$file" --at 3 --utf8
  compare info "$file"
  compare info "$file" --at 1
  compare save "$file" -o @OUT@
  compare save "$file" --at 2 -o @OUT@
  compare scan "$file"
  compare scan "$file" --numref --nameref --keyword 1=the --keyword 2=桜
  for verb in log timeline check blame stats; do compare "$verb" "$file"; done
  compare timeline "$file" --csv
  compare diff "$file" --from 0 --to 99
  compare find "$file" の
done
for script in tests/scenarios/*.script; do
  compare edit --script "$script"
  compare edit samples/haru.eud --at 5 --script "$script" -o @OUT@
done
printf 'type 春の\\r\\n\\tx\nkey left +shift\ncopy\nkey end\npaste\ndump\nrecords\n' >"$work/typed.script"
compare edit samples/haru.eud --script "$work/typed.script"
stdin=$work/typed.script compare edit --script -
compare --help
compare text samples/missing.eud
compare text samples/haru.txt

# A Japanese file name reaches the program whole.
cp samples/haru.eud "$work/春.eud"
if [ "$(wine "$win_cli" info "$work/春.eud" 2>/dev/null | sed -n 2p)" = "$(printf 'FileName\t春.eud')" ]; then pass; else
  fail "a Japanese file name"
fi

# A Windows path: the statistics name the file, not its folders or drive.
windows_path="Z:$(printf '%s' "$work/春.eud" | tr / '\\')"
if [ "$(wine "$win_cli" info "$windows_path" 2>/dev/null | sed -n 2p)" = "$(printf 'FileName\t春.eud')" ]; then pass; else
  fail "a Windows path in the statistics ($windows_path)"
fi

echo "== kelvane.exe on a virtual display"
for at in "" 0; do
  shot=$work/shot${at}.png
  args=(--screenshot "$shot" --size 640x480)
  [ -n "$at" ] && args+=(--at "$at")
  if timeout 120 wine "$win_gui" "${args[@]}" samples/haru.eud &&
    python3 tools/check_screenshot.py "$shot" 640 480 $([ -n "$at" ] && echo 1 || echo 100); then
    pass
  else
    fail "kelvane.exe --screenshot ${args[*]}"
  fi
done
cp "$work/shot.png" build-mingw/kelvane-window.png

echo "== the Windows zip"
rm -f build-mingw/kelvane-*.zip
if (cd build-mingw && cpack -G ZIP >/dev/null) && zip=$(ls build-mingw/kelvane-*.zip) &&
  python3 -c 'import sys, zipfile; names = zipfile.ZipFile(sys.argv[1]).namelist(); print(*names, sep="\n")
sys.exit(not all(any(n.endswith("/" + f) for n in names) for f in ("kelvane.exe", "kelvane-cli.exe", "README.md", "LICENSE")))' "$zip"; then
  pass
else
  fail "the Windows zip"
fi

elapsed=$((SECONDS - started))
echo "windows-check: ${elapsed}s; the window's screenshot is build-mingw/kelvane-window.png, the zip ${zip:-missing}"
echo "windows-check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
