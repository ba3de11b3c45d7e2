#!/usr/bin/env bash
# Installs what is missing, builds, prepares the data root with the sample market and starts
# the trainer. Pass --root DIR to use another data root.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
source scripts/qt-env.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

root="${VORELIN_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/vorelin}"
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  [[ "${args[$i]}" == "--root" && $((i + 1)) -lt ${#args[@]} ]] && root="${args[$((i + 1))]}"
done
if [[ ! -d "$root/DayData" ]]; then
  build/bin/vorelin-sample --root "$root"
fi
exec build/bin/vorelin-demo --root "$root" "$@"
