#!/usr/bin/env bash
# Installs the Debian packages the project needs that are missing; safe to rerun.
set -euo pipefail

packages=(
  cmake g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev zlib1g-dev
  libsodium-dev
  libjpeg62-turbo-dev qt6-base-dev libqt6opengl6-dev qt6-charts-dev
  xvfb xauth fonts-wqy-microhei fonts-wqy-zenhei clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
log=$(mktemp)
export DEBIAN_FRONTEND=noninteractive
if ! { $sudo apt-get update -q && $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "install-deps: could not install: ${missing[*]}" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"
