#!/usr/bin/env bash
# tabulon-answer as a pupil starts it: its command line without a display;
# on the sample under a virtual display (Xvfb, Qt's X11 platform, no window
# manager) the program itself, clicked and typed into from outside, saves a
# file that the tally program counts; and the form filled in through the
# screenshot tool, saved by its button's widget, tallies to the expected
# results row.
#   answer_program_test.sh TABULON-ANSWER ANSWER_SCREENSHOT TABULON_SCREENSHOT SAMPLE VERSION
set -uo pipefail
answer=$(realpath "$1") answer_shot=$(realpath "$2") tally_shot=$(realpath "$3")
sample=$(realpath "$4") version=$5
program_checks_name=answer
source "$(dirname "$0")/program_checks.sh"

check_help_and_version "$answer" tabulon-answer --each-pupil "$version"
run choose 2 "${no_display[@]}" "$answer" --choose-folder
expect_in choose choose.err "Unknown option 'choose-folder'"
run missing-folder 2 "${no_display[@]}" "$answer" "$work/missing"
expect_in missing-folder missing-folder.err "tabulon-answer: cannot work in the folder"

mkdir "$work/room" && cp "$sample/data.txt" "$work/room/"
if command -v xvfb-run >/dev/null; then
  # The window's client area lies at (40, 20): the name field at (112, 80)
  # in it, the first choice at (32, 178); the wheel scrolls to the end,
  # where the save button lies at the bottom left; Return closes the box.
  cat >"$work/pupil.sh" <<PUPIL
cd '$work/room' && QT_QPA_PLATFORM=xcb '$answer' . & pid=\$!
sleep 5
python3 '$(dirname "$0")/x_input.py' click:202,110 t a r o click:78,176 \
  wheel:300,400,80 click:130,675 "wait:$work/room/\$(hostname | cut -d. -f1).ans" sleep:1 Return
for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 \$pid 2>/dev/null || break; sleep 0.5; done
kill \$pid 2>/dev/null && { echo "still running after the save" >&2; exit 1; }
wait \$pid
PUPIL
  run pupil 0 xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/pupil.sh"
  run pupil-tally 0 bash -c "cd '$work/room' && QT_QPA_PLATFORM=offscreen '$tally_shot' '$work/pupil.png' tally"
  iconv -f CP932 -t UTF-8 "$work/room/集計結果.csv" >"$work/pupil.csv" ||
    fail "pupil: no readable results file"
  host=$(hostname); host=${host%%.*}
  expect_in pupil-tally pupil.csv "$host,taro,1,0,0,0,0,0,0,0,0,"
  rm "$work/room/$host.ans"

  run form 0 bash -c "cd '$work/room' && QT_QPA_PLATFORM=xcb xvfb-run -a '$answer_shot' '$work/form.png' filled save"
  expect_in form form.err "回答を保存しました。"
  [ -f "$work/room/$host.ans" ] || fail "form: no $host.ans in $(ls "$work/room")"
  run tally 0 bash -c "cd '$work/room' && QT_QPA_PLATFORM=offscreen '$tally_shot' '$work/tally.png' tally"
  iconv -f CP932 -t UTF-8 "$work/room/集計結果.csv" >"$work/results.csv" ||
    fail "tally: no readable results file"
  expect_in tally results.csv "$host,山田 花子,1,0,0,0,1,0,0,0,0,1,1,0,0,0,合唱コンクールで歌ったこと,1,0,0,0,1,1,0,0,0,合唱コンクールで歌ったこと,"
else
  echo "SKIP: form: no xvfb-run"
fi

checks_done "answer program"
