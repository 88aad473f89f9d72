#!/usr/bin/env bash
# The two programs as a user starts them: tabulon's command line with and
# without a display, and tabulon_screenshot, which must never wait on a box.
#   programs_test.sh TABULON TABULON_SCREENSHOT SAMPLE_FOLDER VERSION
set -uo pipefail
tabulon=$(realpath "$1") screenshot=$(realpath "$2") sample=$(realpath "$3") version=$4
source "$(dirname "$0")/program_checks.sh"

check_help_and_version "$tabulon" tabulon --choose-folder "$version"
run qt-arguments 0 "${no_display[@]}" "$tabulon" -platform offscreen -style=fusion --version
run unknown-option 2 "${no_display[@]}" "$tabulon" --tally
expect_in unknown-option unknown-option.err "Unknown option 'tally'"

# A folder that cannot be used: a message, status 2, and no window (there is
# no display to open one on, and no abort).
run missing-folder 2 "${no_display[@]}" "$tabulon" "$work/missing"
expect_in missing-folder missing-folder.err "cannot work in the folder \"$work/missing\": No such file or directory"
touch "$work/plain-file"
run not-a-folder 2 "${no_display[@]}" "$tabulon" "$work/plain-file"
expect_in not-a-folder not-a-folder.err "Not a directory"
mkdir "$work/locked"; chmod 000 "$work/locked"
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
if "${as_user[@]}" test -x "$tabulon"; then
  run denied-folder 2 "${no_display[@]}" "${as_user[@]}" "$tabulon" "$work/locked"
  expect_in denied-folder denied-folder.err "Permission denied"
else
  echo "SKIP: denied-folder: $tabulon cannot be run by an unprivileged user here"
fi

# A usable folder but no display: a plain failure, not an abort (134).
run no-display 2 "${no_display[@]}" "$tabulon" "$sample"
expect_in no-display no-display.err "cannot open the window"

# The screenshot tool answers the box of a folder without data.txt and
# finishes; erase answers yes and keeps what it keeps.
mkdir "$work/empty"
run empty-folder 0 bash -c "cd '$work/empty' && QT_QPA_PLATFORM=offscreen '$screenshot' '$work/empty.png'"
expect_in empty-folder empty-folder.err "Tabulon: ファイルが見つかりません. [OK]"
[ -s "$work/empty.png" ] || fail "empty-folder: no picture"
cp -r "$sample" "$work/copy"
run erase 0 bash -c "cd '$work/copy' && LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen '$screenshot' '$work/erase.png' tally erase"
expect_in erase erase.err "[はい(Y)]"
ls "$work/copy"/*.ans >/dev/null 2>&1 && fail "erase: answer files left"
[ -f "$work/copy/data.txt" ] && [ -f "$work/copy/集計結果.csv" ] || fail "erase: data.txt or the results file gone"
run unknown-press 2 "$screenshot" "$work/x.png" tallies
expect_in unknown-press unknown-press.err "unknown press: tallies"

checks_done program
