#!/usr/bin/env bash
# Starts the program offscreen against the sandbox server, waits until the welcome page has
# loaded, and reports the resident memory of the program and all its helper processes. While
# playing: bench/soak.py.
set -euo pipefail
build=${1:-build-bench}
folder=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$folder"' EXIT

cp "$build/zekorama2" "$build/MAP.DAT" "$folder/"
port=$(sed -n 's/^ZEKO_SANDBOX_PORT:STRING=//p' "$build/CMakeCache.txt")
"$build/sandbox_server" --port "${port:-18080}" --map "$folder/MAP.DAT" >/dev/null 2>&1 &
sleep 0.5

QT_QPA_PLATFORM=offscreen "$folder/zekorama2" >/dev/null 2>&1 &
app=$!
sleep "${ZEKO_MEMORY_WAIT:-8}"

# The program and every process below it (the browser engine runs in helpers).
pids=$(ps -e -o pid=,ppid= | awk -v root="$app" '
  { parent[$1] = $2 }
  END {
    keep[root] = 1; changed = 1
    while (changed) { changed = 0
      for (p in parent) if (!(p in keep) && (parent[p] in keep)) { keep[p] = 1; changed = 1 } }
    for (p in keep) print p }')
total=0
shared=0
for p in $pids; do
  kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$p/status" 2>/dev/null || echo 0)
  total=$((total + ${kb:-0}))
  # PSS splits the pages the engine's processes share among them.
  kb=$(awk '/^Pss:/ { print $2 }' "/proc/$p/smaps_rollup" 2>/dev/null || echo 0)
  shared=$((shared + ${kb:-0}))
done
echo "memory: $(echo "$pids" | wc -w) processes, RSS $((total / 1024)) MiB (PSS $((shared / 1024)) MiB)" \
  "with the welcome page loaded"
kill "$app" 2>/dev/null || true
