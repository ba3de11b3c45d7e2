#!/usr/bin/env bash
# Installs what is missing, builds, prepares the data root with the sample market, the demo
# user and the quote server, and starts the trainer. Pass --root DIR to use another data root.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
no_display=""
[[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]] && no_display=1
source scripts/qt-env.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

root="${VORELIN_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/vorelin}"
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  [[ "${args[$i]}" == "--root" && $((i + 1)) -lt ${#args[@]} ]] && root="${args[$((i + 1))]}"
done
mkdir -p "$root"
if [[ ! -d "$root/DayData" && ! -d "$root/MinData" ]]; then
  build/bin/vorelin-sample --root "$root"
fi
# The demo account of the bundled login server (the trainer starts that server itself).
build/bin/vorelin-login-server --db "$root/users.db" --add-user demo demo >/dev/null 2>&1 || true

if [[ -n "$no_display" ]]; then
  echo "run.sh: no display (DISPLAY is not set); start it as: xvfb-run -a ./run.sh" >&2
  exit 1
fi

# The reference quote server on the sample data, for the intraday view, unless one answers.
quote_pid=""
if ! (exec 3<>/dev/tcp/127.0.0.1/7709) 2>/dev/null; then
  build/bin/vorelin-quote-server --root "$root" --port 7709 >/dev/null 2>&1 &
  quote_pid=$!
fi
trap '[[ -n "$quote_pid" ]] && kill "$quote_pid" 2>/dev/null || true' EXIT
# The trainer resolves the same root by itself ($VORELIN_ROOT, the XDG folder or --root).
build/bin/vorelin "$@"
