#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (if needed), builds the three programs and starts Korvane with
# a simulated radio attached as COM1, so that reading and writing work without a cable. The radio
# holds a few sample channels. Builds in build-run/, apart from the test command's folders.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
build=build-run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_BUILD_TESTS=OFF \
  -DKORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target korvane korvane-cli korvane-radio-sim

run_dir=$(mktemp -d)
sim_log="$run_dir/radio.log"
"$build/cli/korvane-cli" import-csv scripts/sample-channels.csv --model 0 -o "$run_dir/sample.rdw" >/dev/null
"$build/sim/korvane-radio-sim" --file "$run_dir/sample.rdw" --link "$run_dir/com1" --log "$sim_log" \
  > "$run_dir/sim.out" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true; rm -rf "$run_dir"' EXIT
for _ in $(seq 50); do [ -e "$run_dir/com1" ] && break; sleep 0.1; done
export KORVANE_COM1="$run_dir/com1"
echo "Simulated radio (model MX-310(1), six sample channels) on $(head -n1 "$run_dir/sim.out"), used as COM1;" \
  "its log: $sim_log"

"$build/app/korvane" "$@"
