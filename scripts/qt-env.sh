# Sourced by the scripts: Qt programs need a platform without a display, and a private
# 0700 runtime folder or they print a notice.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
fi
if [[ -z "${XDG_RUNTIME_DIR:-}" || ! -d "${XDG_RUNTIME_DIR}" || "$(stat -c %a "${XDG_RUNTIME_DIR}")" != "700" ]]; then
  export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/vorelin-runtime-$(id -u)"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
