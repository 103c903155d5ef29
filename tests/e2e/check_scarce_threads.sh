#!/usr/bin/env bash
# The window as an unprivileged user under a small limit on threads: with
# three besides its own it is drawn and answers events; with fewer it says so
# and ends instead of hanging unseen. SIGTERM ends it through its event loop
# with 128 + 15, leaving no temporary file. Skips (77) without root (to act as
# another user), Xvfb, xdotool or ImageMagick.
set -u
program=$1
set_file=$2
[ "$(id -u)" -eq 0 ] || { echo "skipped: acting as another user needs root"; exit 77; }
for tool in Xvfb xdotool import convert setpriv prlimit; do
  command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }
done

work=$(mktemp -d /tmp/zentrova-threads-XXXXXX)
uid=$((60000 + $$ % 5000))  # a user of its own: the limit counts that user's threads
xvfb=""
pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  cat "$work/log" 2>/dev/null
  exit 1
}

display=""
for n in $(seq 80 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "skipped: no free display"; exit 77; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

mkdir -p "$work/cfg/zentrova"
# The other user cannot enter a checkout in a private folder (root's home):
# it runs a copy of the program from the work folder.
cp "$program" "$work/zentrova"
program=$work/zentrova
cp "$set_file" "$work/a.lis1"
printf '%s' "$work/a.lis1" >"$work/cfg/zentrova/Start.zent"
chown -R "$uid:$uid" "$work"
chmod 700 "$work"

start() {
  setpriv --reuid="$uid" --regid="$uid" --clear-groups prlimit --nproc="$1" \
    env -i DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/cfg" XDG_RUNTIME_DIR="$work" \
    "$program" >"$work/log" 2>&1 &
  pid=$!
}
# The exit status, or 255 when the program is still there after 30 s.
finish() {
  for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && { kill -9 "$pid"; wait "$pid" 2>/dev/null; pid=""; return 255; }
  wait "$pid"
  local status=$?
  pid=""
  return $status
}

# Four: the process itself, the D-Bus manager, a worker for painting and the
# X11 reader.
for n in 4; do
  start $n
  window=$(DISPLAY=$display timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -1)
  [ -n "$window" ] || fail "no window with $n threads"
  lit=0
  for _ in $(seq 50); do
    # The listing and the fields make the window far from black once drawn.
    mean=$(DISPLAY=$display import -window "$window" png:- 2>/dev/null | convert - -format '%[fx:int(100*mean)]' info: 2>/dev/null)
    [ "${mean:-0}" -ge 20 ] && { lit=1; break; }
    sleep 0.2
  done
  [ "$lit" = 1 ] || fail "the window with $n threads was never drawn"
  kill -TERM "$pid"
  finish
  status=$?
  [ "$status" = 143 ] || fail "SIGTERM ended the window with $status, not 143 ($n threads)"
  leftovers=$(find "$work" -name '*.??????' -newer "$work/a.lis1" | grep -v '/log$')
  [ -z "$leftovers" ] || fail "temporary files left: $leftovers"
done

# Too few: a message and an end, not a window that never shows.
for n in 3 2 1; do
  start $n
  finish
  status=$?
  [ "$status" = 1 ] || fail "with $n threads the program ended with $status, not 1"
  grep -q "too few threads: the window needs three besides its own" "$work/log" ||
    fail "no message about threads with $n"
done
echo "ok"
