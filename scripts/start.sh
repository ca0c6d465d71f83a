#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (if needed), builds Korvane and starts it with a simulated
# radio attached as COM1, so that reading and writing work without a cable.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

run_dir=$(mktemp -d)
sim_log="$run_dir/radio.log"
./build/sim/korvane-radio-sim --model 0 --link "$run_dir/com1" --log "$sim_log" > "$run_dir/sim.out" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true; rm -rf "$run_dir"' EXIT
for _ in $(seq 50); do [ -e "$run_dir/com1" ] && break; sleep 0.1; done
export KORVANE_COM1="$run_dir/com1"
echo "Simulated radio (model MX-310(1)) on $(head -n1 "$run_dir/sim.out"), used as COM1; its log: $sim_log"

if [ -x build/app/korvane ]; then
  ./build/app/korvane "$@"
else
  # Until the window arrives, show the round trip with the command-line companion.
  example="$run_dir/example.rdw"
  ./build/cli/korvane-cli read --port COM1 -o "$example"
  ./build/cli/korvane-cli dump "$example"
  ./build/cli/korvane-cli write --port COM1 --yes "$example"
fi
