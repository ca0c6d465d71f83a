#!/usr/bin/env bash
# Takes a picture of the main window on a virtual X screen, into the PNG file given. Builds the
# window program first when it is missing or stale.
#
#   scripts/screenshot.sh [--build DIR] [--size WIDTHxHEIGHT] [--demo | --open FILE] OUTPUT.png
#
#   --build DIR   the build folder to use (default: build-shot beside the sources)
#   --size WxH    resize the window before the picture (the program starts it at 800 x 600)
#   --demo        open a data file whose channels show every kind of cell: open and closed
#                 channels, an inhibited transmitter, both steps, each signalling kind, options
#                 on and off, Wide and Narrow
#   --open FILE   open this data file through the File menu first
#
# Without --demo or --open the picture shows a first start: every channel closed.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-shot"
size=""
open_file=""
demo=0
out=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build="$2"; shift 2 ;;
    --size) size="$2"; shift 2 ;;
    --open) open_file="$2"; shift 2 ;;
    --demo) demo=1; shift ;;
    -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
    *) out="$1"; shift ;;
  esac
done
[ -n "$out" ] || { echo "usage: scripts/screenshot.sh [--build DIR] [--size WxH] [--demo | --open FILE] OUTPUT.png" >&2; exit 2; }
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
ninja -C "$build" korvane >/dev/null

run_dir=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$run_dir"
}
trap cleanup EXIT

if [ "$demo" = 1 ]; then
  open_file="$run_dir/demo.rdw"
  # The default file of the first model with its channel table changed in place. Byte k of
  # channel i lies at 87 + i + 16 k: after the header (63 bytes), the integer item (4) and the
  # table item's own head (20).
  python3 - "$here/tests/data/files/default_model0.rdw" "$open_file" <<'EOF'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
def put(channel, byte, value):
    data[87 + (channel - 1) + 16 * byte] = value
def frequency(channel, side, count, step625=False):
    base = 5 * side
    put(channel, base, count & 0xFF)
    put(channel, base + 1, (count >> 8) & 0xFF)
    flags = data[87 + (channel - 1) + 16 * (base + 2)]
    put(channel, base + 2, (flags & 0xF8) | (0x04 if step625 else 0) | (count >> 16))
for ch in (1, 2, 4, 5, 6, 7, 9, 10):
    put(ch, 2, 0x08)                                    # open
frequency(1, 0, 58400); frequency(1, 1, 58400)         # 146.00000
put(1, 2, 0x38); put(1, 3, 0x85); put(1, 4, 0x08)      # receive CTCSS 88.5
put(1, 10, 0x15)                                       # DEL, busy lock, Narrow
frequency(2, 0, 58405); frequency(2, 1, 58405)         # 146.01250
put(2, 7, 0x00)                                        # transmit inhibited
frequency(4, 0, 22880, True); frequency(4, 1, 22880, True)  # 143.00000 in 6.25 kHz steps
put(4, 7, 0x5C); put(4, 8, 0x13); put(4, 9, 0x00)      # transmit CDCSS 023
put(4, 10, 0x02)                                       # clock shift
put(5, 2, 0x78); put(5, 3, 0xEC); put(5, 4, 0x01)      # receive inverted CDCSS 754
put(5, 7, 0x88); put(5, 12, 3)                         # transmit 2-Tone 3
put(6, 10, 0x06)                                       # busy lock, clock shift
open(sys.argv[2], 'wb').write(data)
EOF
fi

# The first free display number from 99 up.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$run_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"

# A settings folder of its own, so that the picture shows a first start and no user file changes.
XDG_CONFIG_HOME="$run_dir/config" XDG_RUNTIME_DIR="$run_dir" "$build/app/korvane" >"$run_dir/app.log" 2>&1 &
app_pid=$!

find_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  echo "$id"
}

window=$(find_window '^Korvane PC')
if [ -z "$window" ]; then
  echo "screenshot.sh: the main window did not show" >&2
  cat "$run_dir/app.log" >&2
  exit 1
fi
xdotool windowmove --sync "$window" 0 0 2>/dev/null || true
xdotool windowfocus --sync "$window" 2>/dev/null || true

if [ -n "$open_file" ]; then
  case "$open_file" in /*) ;; *) open_file="$PWD/$open_file" ;; esac
  xdotool key --window "$window" alt+f
  sleep 0.3
  xdotool key o
  dialog=$(find_window '^打开$')
  [ -n "$dialog" ] || { echo "screenshot.sh: the open dialog did not show" >&2; exit 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.3
  xdotool type --delay 5 "$open_file"
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^$(basename "$open_file") - " >/dev/null 2>&1 && break
    sleep 0.1
  done
fi

if [ -n "$size" ]; then
  xdotool windowsize --sync "$window" "${size%x*}" "${size#*x}" 2>/dev/null || true
fi
sleep 1 # let the window finish painting
import -window "$window" "$out"
echo "$out"
