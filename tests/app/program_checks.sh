# What the scripts that start the programs share: a scratch folder, a run
# under a time limit whose output is kept, and checks that count failures
# and let the script go on. Sourced; sets $work.
#   program_checks_name=NAME; source program_checks.sh; ...; checks_done WHAT
work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-${program_checks_name:-programs}-XXXXXX")
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run NAME EXPECTED_STATUS COMMAND...: runs with a time limit, keeps stdout
# and stderr in $work/NAME.out and .err.
run() {
  local name=$1 expected=$2; shift 2
  timeout 60 "$@" >"$work/$name.out" 2>"$work/$name.err" </dev/null
  local status=$?
  [ "$status" -eq "$expected" ] ||
    fail "$name: exit status $status, expected $expected; stderr: $(head -c 400 "$work/$name.err")"
}
expect_in() {  # NAME FILE TEXT
  grep -qF -- "$3" "$work/$2" || fail "$1: '$3' not in $2: $(head -c 400 "$work/$2")"
}
# A program's --help names it and its own option, and --version its version,
# without a display.
check_help_and_version() {  # PROGRAM NAME ITS_OPTION VERSION
  run help 0 "${no_display[@]}" "$1" --help
  expect_in help help.out "Usage: $2 [options] [FOLDER]"
  expect_in help help.out "$3"
  run version 0 "${no_display[@]}" "$1" --version
  [ "$(cat "$work/version.out")" = "$2 $4" ] || fail "version: $(cat "$work/version.out")"
}
# The end of a script: its verdict and exit status.
checks_done() {  # WHAT
  [ "$failures" -eq 0 ] && echo "all $1 checks passed"
  exit $((failures > 0))
}
