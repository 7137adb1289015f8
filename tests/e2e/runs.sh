# Several runs side by side on the tmux server of lib.sh, for scripts that
# need many: every run costs the banner's six seconds, so they overlap. Each
# run has a name, its own session (an 80x25 terminal unless told otherwise)
# and its own notes: the terminal settings before and after the program,
# its process id and its exit status. After the program the shell prints
# AFTER-RUN, so that the colours it is left with can be read off the screen.
# Source after lib.sh.
#
#   run_start NAME DIR PROG [COLS ROWS [OUT]]
#                                start PROG in DIR as run NAME; with OUT, its
#                                standard output goes to the file OUT
#   run_use NAME                 point the e2e_* functions of lib.sh at run NAME
#   run_pid NAME                 the program's process id (once it has started)
#   run_wait_exit NAME [SECS]    wait for its end; status in E2E_EXIT_STATUS
#   run_check_restored NAME      fail unless the terminal is as before the run:
#                                the same settings (stty -g), the cursor shown,
#                                and AFTER-RUN in the default colours
#   run_check_no_temporary DIR   fail if a temporary output file is left in DIR

run_dir() { echo "$E2E_TMP/run-$1"; }

run_start() {
  local name=$1 dir=$2 prog=$3 cols=${4:-80} rows=${5:-25} out=${6:-}
  [[ -d $dir ]] || e2e_fail "no folder \"$dir\" to run in"
  [[ -x $prog ]] || e2e_fail "no program at \"$prog\""
  [[ $prog == /* ]] || prog="$PWD/$prog"
  local notes
  notes=$(run_dir "$name")
  mkdir -p "$notes" || e2e_fail "cannot make $notes"
  local q
  q=$(printf '%q' "$notes")
  # The inner shell notes its process id and becomes the program; the outer
  # one must outlive a Ctrl-C meant for the program.
  local inner="echo \$\$ > $q/pid; exec env TERM=xterm-256color LC_ALL=C.UTF-8 $(printf '%q' "$prog")"
  [[ -n $out ]] && inner+=" > $(printf '%q' "$out")"
  local cmd="trap : INT; stty -g > $q/stty-before; sh -c $(printf '%q' "$inner"); rc=\$?;"
  cmd+=" stty -g > $q/stty-after; echo \"EXIT=\$rc\" > $q/exit-status; printf AFTER-RUN;"
  cmd+=" exec sleep 86400"
  e2e_tmux new-session -d -s "$name" -x "$cols" -y "$rows" -c "$dir" "$cmd" ||
    e2e_fail "tmux could not start $prog as $name"
}

run_use() {
  E2E_SESSION=$1
  E2E_STATUS_FILE="$(run_dir "$1")/exit-status"
}

run_pid() {
  local file
  file="$(run_dir "$1")/pid"
  local tries=50
  while [[ ! -s $file ]] && ((tries-- > 0)); do sleep 0.1; done
  [[ -s $file ]] || e2e_fail "run $1 has no process id"
  cat "$file"
}

run_wait_exit() {
  run_use "$1"
  e2e_wait_exit "${2:-10}"
}

run_check_restored() {
  run_use "$1"
  local notes
  notes=$(run_dir "$1")
  [[ -s $notes/stty-before ]] && cmp -s "$notes/stty-before" "$notes/stty-after" ||
    e2e_fail "$1: the terminal settings differ from those before the run"
  e2e_cursor_visible || e2e_fail "$1: the cursor is still hidden after the run"
  e2e_wait_for AFTER-RUN 3
  local row col line
  row=$(e2e_screen | grep -n AFTER-RUN | tail -n 1 | cut -d: -f1)
  line=$(e2e_row "$row")
  line=${line%%AFTER-RUN*}
  col=$((${#line} + 1))
  e2e_read_colours
  e2e_expect_colours "$row" "$col" 9 39 49
}

run_check_no_temporary() {
  local left
  left=$(find "$1" -name '.kavinta-*' 2>/dev/null)
  [[ -z $left ]] || e2e_fail "temporary files left: $left"
}
