#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the installed layout:
# programs, manuals, manual pages, desktop entry, icons, AppStream data,
# example sets and the Python module with its metadata (when built), and that the
# installed simulator runs each installed example.
# usage: check_install.sh BUILD_DIR [PYTHON]
set -euo pipefail
build=$1
python=${2:-/usr/bin/python3}
prefix=$(mktemp -d /tmp/zentrova-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for f in bin/zentrova bin/zentrova-sim; do [ -x "$prefix/$f" ] || fail "$f missing"; done
for f in share/zentrova/help/HlpArtEn.hlp share/zentrova/help/HlpArtRu.hlp share/zentrova/help/HlpArtPl.hlp \
         share/applications/zentrova.desktop share/icons/hicolor/scalable/apps/zentrova.svg \
         share/icons/hicolor/64x64/apps/zentrova.png share/man/man1/zentrova.1.gz \
         share/man/man1/zentrova-sim.1.gz; do
  [ -s "$prefix/$f" ] || fail "$f missing"
done
grep -q '^Exec=zentrova' "$prefix/share/applications/zentrova.desktop" || fail "desktop entry has no Exec"
grep -q '^Icon=zentrova' "$prefix/share/applications/zentrova.desktop" || fail "desktop entry has no Icon"

examples=("$prefix"/share/zentrova/examples/*.lis1)
[ ${#examples[@]} -eq 5 ] || fail "expected 5 example sets, found ${#examples[@]}"
for set in "${examples[@]}"; do
  [ "$(stat -c %s "$set")" -eq 3784 ] || fail "$set is not 3784 bytes"
  [ -s "${set%????}.txt" ] || fail "no commentary beside $set"
  "$prefix/bin/zentrova-sim" run "$set" -n 50 -o "$prefix/out.lis1" >/dev/null 2>&1 || fail "installed simulator failed on $set"
done
# Nothing but the sets and their commentaries goes into the examples folder.
[ -z "$(find "$prefix/share/zentrova/examples" -type f ! -name '*.lis1' ! -name '*.txt')" ] || fail "stray files among the examples"
[ -s "$prefix/share/metainfo/org.zentrova.Zentrova.metainfo.xml" ] || fail "AppStream data missing"
# The Python module, when this build has one, goes where the interpreter of
# this prefix looks.
if compgen -G "$build/python/zentrova.*.so" >/dev/null; then
  modules=("$prefix"/lib/python3*/dist-packages/zentrova.*.so)
  [ -f "${modules[0]}" ] || fail "Python module not installed"
  PYTHONPATH=$(dirname "${modules[0]}") "$python" -c 'import importlib.metadata, zentrova
assert importlib.metadata.version("zentrova") == zentrova.__version__' || fail "installed module does not import or has no metadata"
fi
echo "install layout OK in $prefix"
