#!/usr/bin/env bash
# The package check: builds the Debian package with CPack, installs it with apt
# into a clean Debian 12 root (debootstrap, then a chroot: no container needed)
# and runs kelvane --screenshot and kelvane-cli info from the installed paths.
# Builds the Windows zip too when the Windows check has cross-built. Needs root
# (debootstrap, chroot, mounts) and Debian's package servers; installs what is
# missing. The bootstrapped base is kept in build-pkg/ and copied afresh for
# every run, so each install starts from a root that has never seen Kelvane.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

if [ "$(id -u)" -ne 0 ]; then
  echo "package-check: needs root (debootstrap, chroot and mounts)" >&2
  exit 1
fi
PACKAGES=(debootstrap dpkg-dev python3)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok: $what"
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}

echo "== the Debian package"
./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target kelvane kelvane-cli manuals
rm -f build/kelvane_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/kelvane_*.deb)
echo "$deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$'

# The package servers this machine's apt uses.
mirror=$(cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
  grep -oE '^(URIs:|deb) +[^ ]+' | awk '{print $2}' | grep -v security | head -1 || true)
[ -n "$mirror" ] || { echo "package-check: no Debian package server in apt's sources" >&2; exit 1; }
base=build-pkg/base.tar
if [ ! -s "$base" ]; then
  echo "== bootstrapping a Debian 12 base from $mirror (kept in $base)"
  rm -rf build-pkg/bootstrap
  mkdir -p build-pkg
  debootstrap --variant=minbase bookworm build-pkg/bootstrap "$mirror" >build-pkg/debootstrap.log 2>&1 || {
    tail -20 build-pkg/debootstrap.log
    exit 1
  }
  tar -C build-pkg/bootstrap -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf build-pkg/bootstrap
fi

root=$(mktemp -d "$PWD/build-pkg/root.XXXXXX")
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
  rm -rf "$root"
}
trap cleanup EXIT
tar -C "$root" -xf "$base"
for m in proc dev; do
  if [ "$m" = proc ]; then mount -t proc proc "$root/proc"; else mount --bind /dev "$root/dev"; fi
  mounted+=("$root/$m")
done
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
cp "$deb" samples/haru.eud "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

echo "== apt install ./$(basename "$deb") in the clean root (nothing but Depends)"
in_root apt-get update -q >/dev/null
check "apt installs the package and what it depends on" \
  in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")"
for f in /usr/bin/kelvane /usr/bin/kelvane-cli /usr/share/applications/kelvane.desktop \
  /usr/share/icons/hicolor/scalable/apps/kelvane.svg /usr/share/mime/packages/kelvane.xml \
  /usr/share/metainfo/org.kelvane.Kelvane.metainfo.xml /usr/share/man/man1/kelvane.1.gz \
  /usr/share/man/man1/kelvane-cli.1.gz /usr/share/doc/kelvane/copyright; do
  check "installed $f" test -s "$root$f"
done
check "the Japanese fonts came along" test -d "$root/usr/share/fonts/opentype/ipafont-gothic"
check "undo files are a MIME type of their own" grep -q "application/x-kelvane-undo" "$root/usr/share/mime/globs2"

echo "== the installed programs"
in_root /usr/bin/kelvane-cli info /tmp/haru.eud | tee "$root/tmp/info.txt"
check "kelvane-cli info from the installed path" grep -q "^ Undo:145 Redo:15 Total:160" "$root/tmp/info.txt"
check "kelvane --screenshot from the installed path" \
  in_root env QT_QPA_PLATFORM=offscreen /usr/bin/kelvane --screenshot /tmp/shot.png --size 640x480 /tmp/haru.eud
check "the screenshot shows the editor" python3 tools/check_screenshot.py "$root/tmp/shot.png" 640 480
cp "$root/tmp/shot.png" build-pkg/installed-window.png 2>/dev/null || true

if [ -x build-mingw/win32/kelvane.exe ]; then
  echo "== the Windows zip"
  rm -f build-mingw/kelvane-*.zip
  (cd build-mingw && cpack -G ZIP >/dev/null)
  zip=$(ls build-mingw/kelvane-*.zip)
  python3 -c 'import sys, zipfile; [print(n) for n in zipfile.ZipFile(sys.argv[1]).namelist()]' "$zip" | tee "$root/zip.txt"
  for f in kelvane.exe kelvane-cli.exe README.md LICENSE; do
    check "$f in $(basename "$zip")" grep -q "/$f\$" "$root/zip.txt"
  done
fi

echo "package-check: $((SECONDS - started))s"
echo "package-check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
