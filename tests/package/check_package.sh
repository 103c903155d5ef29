#!/usr/bin/env bash
# Builds the Debian package of a build, lists it, and checks what it would
# install: the files, the computed dependencies, the desktop entry and
# AppStream data against their validators, and that the packaged simulator
# and Python module run and agree.
# usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/zentrova-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$work"/zentrova_*_amd64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no zentrova_<version>_amd64.deb"
deb=${debs[0]}
echo "== $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
dpkg-deb --contents "$deb"

depends=$(dpkg-deb --field "$deb" Depends)
for d in libc6 libstdc++6 libqt6widgets6 python3-numpy; do
  [[ $depends == *"$d"* ]] || fail "Depends lacks $d"
done

root=$work/root
dpkg-deb --extract "$deb" "$root"
for f in usr/bin/zentrova usr/bin/zentrova-sim; do [ -x "$root/$f" ] || fail "$f missing"; done
for f in usr/share/zentrova/help/HlpArtEn.hlp usr/share/zentrova/help/HlpArtRu.hlp \
         usr/share/zentrova/help/HlpArtPl.hlp usr/share/applications/zentrova.desktop \
         usr/share/icons/hicolor/scalable/apps/zentrova.svg usr/share/icons/hicolor/64x64/apps/zentrova.png \
         usr/share/metainfo/org.zentrova.Zentrova.metainfo.xml; do
  [ -s "$root/$f" ] || fail "$f missing"
done
modules=("$root"/usr/lib/python3/dist-packages/zentrova.cpython-*.so)
[ -f "${modules[0]}" ] || fail "Python module missing from usr/lib/python3/dist-packages"

desktop=$root/usr/share/applications/zentrova.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || { echo "$report" >&2; fail "desktop entry does not validate"; }
! grep -E ': (error|warning): ' <<<"$report" || fail "desktop entry has warnings"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.zentrova.Zentrova.metainfo.xml" \
  || fail "AppStream data does not validate"

for exe in usr/bin/zentrova usr/bin/zentrova-sim "${modules[0]#"$root"/}"; do
  ! ldd "$root/$exe" | grep 'not found' || fail "$exe has unresolved libraries"
done

# The packaged simulator and module step an installed example alike.
example=$root/usr/share/zentrova/examples/three-groups.lis1
"$root/usr/bin/zentrova-sim" run "$example" -n 20 --taoscope -o "$work/sim.lis1" >/dev/null
PYTHONPATH=$root/usr/lib/python3/dist-packages /usr/bin/python3 -c '
import sys, zentrova
s = zentrova.load(sys.argv[1])
zentrova.step(s, 20, taoscope=True)
s.save(sys.argv[2])' "$example" "$work/py.lis1"
cmp "$work/sim.lis1" "$work/py.lis1" || fail "packaged module and simulator disagree"
echo "package OK"
