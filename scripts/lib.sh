# Sourced by the scripts: the steps they share. Sets $root (the source
# tree) and makes $scratch, a folder of the script's own that is removed
# when it exits, whatever the outcome.
#   configure BUILD [OPTION...]          Ninja build of this tree in BUILD
#   configure_windows BUILD [OPTION...]  the same, cross-built for Windows
#   release_build [BUILD]                prints the Linux Release build to use
#   no_display CMD...                    CMD as on a machine without a display
#   offscreen CMD...                     CMD with Qt drawing offscreen
#   quietly CMD...                       CMD's output only when it fails
#   at_exit CMD...                       CMD when the script exits

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The project's own builds (scripts/test, test-windows, fuzz) turn warnings
# into errors; a user's build does not.
project_options=(-DTABULON_WERROR=ON)

tabulon_at_exit=()
at_exit() { tabulon_at_exit+=("$(printf '%q ' "$@")"); }
tabulon_exit() {
  local i
  for ((i = ${#tabulon_at_exit[@]} - 1; i >= 0; i--)); do
    eval "${tabulon_at_exit[i]}" || true
  done
}
trap tabulon_exit EXIT

scratch="$(mktemp -d "${TMPDIR:-/tmp}/tabulon-$(basename "$0")-XXXXXX")"
at_exit rm -rf "$scratch"

quietly() {
  local output
  output=$("$@" 2>&1) || { printf '%s\n' "$output" | tail -n 40 >&2; return 1; }
}

# A folder without a cache is configured from nothing; one that has a cache
# takes the options again (keeping the compiler it was made with), so that
# it builds what the calling script needs.
configure() {
  local build=$1; shift
  if [ -f "$build/CMakeCache.txt" ]; then
    quietly cmake "$build" "$@"
  else
    quietly cmake -S "$root" -B "$build" -G Ninja "$@"
  fi
}

# Static, without Qt: tabulon.exe and the Win32 backend.
configure_windows() {
  local build=$1; shift
  configure "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DTABULON_QT=OFF "$@"
}

# The build that run-sample, screenshot, atspi-dump and the packages use:
# the given folder as it is, or build/release (Release, no tests).
release_build() {
  local build=${1:-$root/build/release}
  [ -n "${1:-}" ] || configure "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
  realpath "$build"
}

# No display of any kind; a session without a runtime folder gets one of
# the script's own (Qt wants one).
no_display() {
  [ -d "$scratch/runtime" ] || mkdir -m 700 "$scratch/runtime"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$scratch/runtime}" "$@"
}

offscreen() { no_display env QT_QPA_PLATFORM=offscreen "$@"; }
