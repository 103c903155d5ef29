#!/usr/bin/env bash
# Builds the Debian packages of a build (zentrova, zentrova-sim,
# python3-zentrova), lists them, lints them with lintian, and checks what
# they install: the files, the dependencies of each, the desktop entry and
# AppStream data against their validators, the manual pages, and that the
# packaged simulator and Python module run, agree, and say nothing on
# standard error but their own messages.
# usage: check_package.sh BUILD_DIR [PYTHON]
set -euo pipefail
build=$(cd "$1" && pwd)
python=${2:-/usr/bin/python3}
work=$(mktemp -d /tmp/zentrova-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack"; }
declare -A deb
for name in zentrova zentrova-sim python3-zentrova; do
  found=("$work/${name}_"*_amd64.deb)
  [ ${#found[@]} -eq 1 ] && [ -f "${found[0]}" ] || fail "no ${name}_<version>_amd64.deb"
  deb[$name]=${found[0]}
  echo "== $(basename "${found[0]}")"
  dpkg-deb --field "${found[0]}" Package Version Architecture Maintainer Depends Recommends Breaks Replaces
  dpkg-deb --contents "${found[0]}"
done
[ "$(find "$work" -maxdepth 1 -name '*.deb' | wc -l)" -eq 3 ] || fail "cpack made other packages too"

depends() { dpkg-deb --field "${deb[$1]}" Depends; }
has() { [[ ", $(depends "$1")," == *", $2"[\ ,]* ]]; }
for d in zentrova-sim libqt6widgets6 qt6-translations-l10n; do has zentrova "$d" || fail "zentrova does not depend on $d"; done
for d in libc6 libstdc++6 libqt6gui6; do has zentrova-sim "$d" || fail "zentrova-sim does not depend on $d"; done
for d in python3 python3-numpy; do has python3-zentrova "$d" || fail "python3-zentrova does not depend on $d"; done
# A compute node installs the simulator without the window's libraries.
[[ $(depends zentrova-sim) != *libqt6widgets* && $(depends zentrova-sim) != *libqt6charts* ]] \
  || fail "zentrova-sim depends on Qt Widgets or Qt Charts"
# The module's render draws with Qt's GUI library, as the simulator's does.
[[ $(depends python3-zentrova) != *libqt6widgets* && $(depends python3-zentrova) != *libqt6charts* ]] \
  || fail "python3-zentrova depends on Qt Widgets or Qt Charts"

# Errors and warnings fail; the packages' own overrides say why a tag is accepted.
lintian --fail-on error,warning --display-level '>=warning' "${deb[@]}" >"$work/lintian.log" 2>&1 \
  || { cat "$work/lintian.log" >&2; fail "lintian"; }
cat "$work/lintian.log"
# The hardening tags are only informational; the binaries must carry none.
# (As root lintian warns of that on standard error; that line is no finding.)
hardening=$(lintian --tags hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-relro "${deb[@]}" 2>&1 |
  grep -v '^running with root privileges is not recommended!$' || true)
[ -z "$hardening" ] || { echo "$hardening" >&2; fail "binaries built without hardening"; }

root=$work/root
for name in "${!deb[@]}"; do
  dpkg-deb --extract "${deb[$name]}" "$root"
  [ -s "$root/usr/share/doc/$name/copyright" ] || fail "$name has no copyright file"
  gzip -t "$root/usr/share/doc/$name/changelog.Debian.gz" || fail "$name has no changelog.Debian.gz"
done
for f in usr/bin/zentrova usr/bin/zentrova-sim; do [ -x "$root/$f" ] || fail "$f missing"; done
# The packaged program looks for its manuals where the package puts them.
# Qt keeps its string literals as UTF-16, so the text is looked for in both forms.
holds() { "$python" -c 'import sys; d = open(sys.argv[1], "rb").read(); t = sys.argv[2]
sys.exit(0 if t.encode() in d or t.encode("utf-16-le") in d else 1)' "$@"; }
holds "$root/usr/bin/zentrova" /usr/share/zentrova/help || fail "zentrova does not look in /usr/share/zentrova/help"
! holds "$root/usr/bin/zentrova" /usr/local/share/zentrova || fail "zentrova looks in /usr/local for its manuals"
for f in usr/share/zentrova/help/HlpArtEn.hlp usr/share/zentrova/help/HlpArtRu.hlp \
         usr/share/zentrova/help/HlpArtPl.hlp usr/share/applications/zentrova.desktop \
         usr/share/icons/hicolor/scalable/apps/zentrova.svg usr/share/icons/hicolor/64x64/apps/zentrova.png \
         usr/share/metainfo/org.zentrova.Zentrova.metainfo.xml \
         usr/share/man/man1/zentrova.1.gz usr/share/man/man1/zentrova-sim.1.gz; do
  [ -s "$root/$f" ] || fail "$f missing"
done
dpkg-deb --contents "${deb[zentrova-sim]}" | grep -q 'usr/share/man/man1/zentrova-sim.1.gz$' \
  || fail "the simulator's manual page is not in zentrova-sim"
sitedir=$root/usr/lib/python3/dist-packages
modules=("$sitedir"/zentrova.cpython-*.so)
[ -f "${modules[0]}" ] || fail "Python module missing from usr/lib/python3/dist-packages"
for f in zentrova.pyi zentrova-stubs/__init__.pyi zentrova-stubs/py.typed; do
  [ -f "$sitedir/$f" ] || fail "$f not packaged"
done

desktop=$root/usr/share/applications/zentrova.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || { echo "$report" >&2; fail "desktop entry does not validate"; }
! grep -E ': (error|warning): ' <<<"$report" || fail "desktop entry has warnings"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.zentrova.Zentrova.metainfo.xml" \
  || fail "AppStream data does not validate"

for exe in usr/bin/zentrova usr/bin/zentrova-sim "${modules[0]#"$root"/}"; do
  ! ldd "$root/$exe" | grep 'not found' || fail "$exe has unresolved libraries"
done

# Both manual pages read without a warning, and the simulator's names every
# command and option that its usage lists.
for page in zentrova zentrova-sim; do
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$page.1.gz" \
    >"$work/$page.txt" 2>"$work/$page.warnings" || fail "man -l $page.1.gz"
  [ ! -s "$work/$page.warnings" ] || { cat "$work/$page.warnings" >&2; fail "$page(1) has warnings"; }
done
sim=$root/usr/bin/zentrova-sim
usage=$("$sim" --help)
words=$(grep -oE -- '(^|[ [|])--?[a-z][a-z0-9-]*' <<<"$usage" | tr -d ' [|'
        grep -oE '^ +zentrova-sim [a-z]+' <<<"$usage" | awk '{print $2}')
for word in $(sort -u <<<"$words"); do
  grep -qE -- "(^|[^-a-z0-9])$word([^-a-z0-9]|\$)" "$work/zentrova-sim.txt" \
    || fail "zentrova-sim(1) does not mention $word"
done

# The packaged simulator and module step an installed example alike.
example=$root/usr/share/zentrova/examples/three-groups.lis1
"$sim" run "$example" -n 20 --taoscope -o "$work/sim.lis1" >/dev/null
PYTHONPATH=$sitedir "$python" -c '
import sys, zentrova
s = zentrova.load(sys.argv[1])
zentrova.step(s, 20, taoscope=True)
s.save(sys.argv[2])' "$example" "$work/py.lis1"
cmp "$work/sim.lis1" "$work/py.lis1" || fail "packaged module and simulator disagree"

# pip and importlib.metadata see the module at the packaged version.
version=$(dpkg-deb --field "${deb[python3-zentrova]}" Version)
seen=$(PYTHONPATH=$sitedir "$python" -c 'import importlib.metadata as m; print(m.version("zentrova"))')
[ "$seen" = "${version%-*}" ] || fail "importlib.metadata sees zentrova ${seen:-nowhere}, not ${version%-*}"
if "$python" -m pip --version >/dev/null 2>&1; then
  "$python" -m pip list --path "$sitedir" 2>/dev/null | grep -qE "^zentrova +${version%-*}" \
    || fail "pip list does not show zentrova"
fi

# Standard error carries the simulator's own messages only, without a
# display, a runtime folder or a writable home.
env -u XDG_RUNTIME_DIR -u DISPLAY -u WAYLAND_DISPLAY HOME=/nonexistent \
  "$sim" render "$example" -o "$work/set.png" --numbers --trails 5 2>"$work/render.err" \
  || { cat "$work/render.err" >&2; fail "packaged render failed"; }
[ ! -s "$work/render.err" ] || { cat "$work/render.err" >&2; fail "render wrote to standard error"; }
env -u XDG_RUNTIME_DIR "$sim" render "$work/none.lis1" -o "$work/none.png" 2>"$work/render.err" && fail "render of a missing set succeeded"
grep -qv '^zentrova-sim' "$work/render.err" && { cat "$work/render.err" >&2; fail "a message not the simulator's"; }
echo "packages OK"
