#!/usr/bin/env bash
# tabulon-answer as a pupil starts it: its command line without a display,
# and on the sample under a virtual display (Xvfb, Qt's X11 platform) the
# form filled in and saved by pressing its save button, after which the
# tally program counts the file it wrote.
#   answer_program_test.sh TABULON-ANSWER ANSWER_SCREENSHOT TABULON_SCREENSHOT SAMPLE VERSION
set -uo pipefail
answer=$(realpath "$1") answer_shot=$(realpath "$2") tally_shot=$(realpath "$3")
sample=$(realpath "$4") version=$5
work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-answer-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() {  # NAME EXPECTED_STATUS COMMAND...
  local name=$1 expected=$2; shift 2
  timeout 60 "$@" >"$work/$name.out" 2>"$work/$name.err" </dev/null
  local status=$?
  [ "$status" -eq "$expected" ] ||
    fail "$name: exit status $status, expected $expected; stderr: $(head -c 400 "$work/$name.err")"
}
expect_in() {  # NAME FILE TEXT
  grep -qF -- "$3" "$work/$2" || fail "$1: '$3' not in $2: $(head -c 400 "$work/$2")"
}
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

run help 0 "${no_display[@]}" "$answer" --help
expect_in help help.out "Usage: tabulon-answer [options] [FOLDER]"
expect_in help help.out "--each-pupil"
run version 0 "${no_display[@]}" "$answer" --version
[ "$(cat "$work/version.out")" = "tabulon-answer $version" ] || fail "version: $(cat "$work/version.out")"
run choose 2 "${no_display[@]}" "$answer" --choose-folder
expect_in choose choose.err "Unknown option 'choose-folder'"
run missing-folder 2 "${no_display[@]}" "$answer" "$work/missing"
expect_in missing-folder missing-folder.err "tabulon-answer: cannot work in the folder"

mkdir "$work/room" && cp "$sample/data.txt" "$work/room/"
if command -v xvfb-run >/dev/null; then
  run form 0 bash -c "cd '$work/room' && QT_QPA_PLATFORM=xcb xvfb-run -a '$answer_shot' '$work/form.png' filled save"
  expect_in form form.err "回答を保存しました。"
  host=$(hostname); host=${host%%.*}
  [ -f "$work/room/$host.ans" ] || fail "form: no $host.ans in $(ls "$work/room")"
  run tally 0 bash -c "cd '$work/room' && QT_QPA_PLATFORM=offscreen '$tally_shot' '$work/tally.png' tally"
  iconv -f CP932 -t UTF-8 "$work/room/集計結果.csv" >"$work/results.csv" ||
    fail "tally: no readable results file"
  expect_in tally results.csv "$host,山田 花子,1,0,0,0,1,0,0,0,0,1,1,0,0,0,合唱コンクールで歌ったこと,1,0,0,0,1,1,0,0,0,合唱コンクールで歌ったこと,"
else
  echo "SKIP: form: no xvfb-run"
fi

[ "$failures" -eq 0 ] && echo "all answer program checks passed"
exit $((failures > 0))
