# Helpers for end-to-end runs of the programs in a real terminal: tmux gives
# each run a detached 80x25 terminal on a private server, keys are sent to it
# and its screen is read back, text and colours.
#
# A script sources this file, calls e2e_start with a folder and a program,
# then drives the run; any failed check ends the script with status 1 and a
# message plus the screen on stderr. The tmux server and the temporary
# folders go away when the script exits.
#
#   e2e_start DIR PROG        start PROG in DIR on an 80x25 terminal
#   e2e_workdir               a fresh empty folder (path on stdout)
#   e2e_send_text TEXT        type TEXT literally
#   e2e_send_key KEY...       press keys by tmux name (Enter, Escape, Up, F1)
#   e2e_screen                the screen as text, one line per row
#   e2e_row N                 row N (1-based) as text
#   e2e_wait_for TEXT [SECS]  wait until TEXT shows anywhere on the screen
#   e2e_expect_text ROW COL TEXT        TEXT stands at (COL, ROW)
#   e2e_read_colours          take the screen's colours for the checks below
#   e2e_colours_at ROW COL    "FG BG" SGR numbers of a cell (39/49: default)
#   e2e_expect_colours ROW COL LEN FG BG  LEN cells from (COL, ROW) are FG on BG
#   e2e_wait_exit [SECS]      wait for the program's end; its status in E2E_EXIT_STATUS
#   e2e_cursor_visible        true when the terminal shows its cursor
#   e2e_terminal_restored     true when the terminal settings after the run
#                             are those before it
#   e2e_cursor_position       "COL ROW" of the terminal's cursor (1-based)
#   e2e_expect_final_screen TITLE  the screen of a complete run for input `ornek`
#   e2e_fail MESSAGE          fail with MESSAGE and the screen
#   e2e_pass [MESSAGE]        end the script successfully

set -u
export LC_ALL=C.UTF-8
unset TMUX

E2E_SOCKET="kavinta-$$"
E2E_SESSION=run
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kavinta-e2e.XXXXXX")
E2E_STATUS_FILE="$E2E_TMP/exit-status"
E2E_SCRIPT=$(basename "$0")

e2e_cleanup() {
  tmux -L "$E2E_SOCKET" kill-server >/dev/null 2>&1
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

e2e_tmux() { SHELL=/bin/sh tmux -L "$E2E_SOCKET" -f /dev/null "$@"; }

e2e_fail() {
  {
    echo "FAIL ($E2E_SCRIPT): $*"
    echo "--- screen ---"
    e2e_screen 2>/dev/null | cat -n
    echo "--------------"
  } >&2
  exit 1
}

e2e_pass() {
  echo "PASS ($E2E_SCRIPT)${1:+: $1}"
  exit 0
}

if ! command -v tmux >/dev/null 2>&1; then
  echo "FAIL ($E2E_SCRIPT): tmux is not installed; the end-to-end tests need it" >&2
  exit 1
fi

e2e_workdir() {
  local dir
  dir=$(mktemp -d "$E2E_TMP/work.XXXXXX") || e2e_fail "cannot make a work folder"
  echo "$dir"
}

# The program runs under a shell that notes the terminal settings before and
# after it and its exit status, and then sleeps, so that the pane, with the
# cursor as the program left it, outlives the program.
e2e_start() {
  local dir=$1 prog=$2
  [[ -d $dir ]] || e2e_fail "no folder \"$dir\" to run in"
  [[ -x $prog ]] || e2e_fail "no program at \"$prog\""
  [[ $prog == /* ]] || prog="$PWD/$prog"  # the program runs in another folder
  local tmp
  tmp=$(printf '%q' "$E2E_TMP")
  # The shell must outlive a Ctrl-C meant for the program.
  local cmd="trap : INT; stty -g > $tmp/stty-before;"
  cmd+=" env TERM=xterm-256color LC_ALL=C.UTF-8 $(printf '%q' "$prog"); e2e_rc=\$?;"
  cmd+=" stty -g > $tmp/stty-after; echo \"EXIT=\$e2e_rc\" > $tmp/exit-status;"
  cmd+=" exec sleep 86400"
  rm -f "$E2E_STATUS_FILE" "$E2E_TMP/stty-before" "$E2E_TMP/stty-after"
  e2e_tmux new-session -d -s "$E2E_SESSION" -x 80 -y 25 -c "$dir" "$cmd" ||
    e2e_fail "tmux could not start $prog"
}

e2e_send_text() { e2e_tmux send-keys -t "$E2E_SESSION" -l -- "$1"; }

e2e_send_key() { e2e_tmux send-keys -t "$E2E_SESSION" "$@"; }

e2e_screen() { e2e_tmux capture-pane -p -t "$E2E_SESSION"; }

e2e_row() { e2e_screen | sed -n "${1}p"; }

e2e_wait_for() {
  local text=$1 secs=${2:-10}
  local tries=$((secs * 10))
  while ((tries-- > 0)); do
    e2e_screen | grep -qF -- "$text" && return 0
    sleep 0.1
  done
  e2e_fail "\"$text\" did not show within $secs s"
}

e2e_expect_text() {
  local row=$1 col=$2 text=$3 line
  line=$(e2e_row "$row")
  local actual=${line:col-1:${#text}}
  [[ $actual == "$text" ]] ||
    e2e_fail "row $row, column $col: expected \"$text\", found \"$actual\""
}

# capture-pane -e writes an SGR sequence only where the attributes change, the
# first one on the first row, so the whole screen is walked from the top.
declare -gA E2E_COLOURS=()
e2e_read_colours() {
  E2E_COLOURS=()
  local fg=39 bg=49 row=0 line
  while IFS= read -r line; do
    row=$((row + 1))
    local i=0 col=0 n=${#line} ch seq
    while ((i < n)); do
      ch=${line:i:1}
      if [[ $ch == $'\e' ]]; then
        seq=${line:i}
        seq=${seq%%m*}
        i=$((i + ${#seq} + 1))
        local params=${seq#$'\e['} p
        local -a list
        IFS=';' read -ra list <<<"$params"
        ((${#list[@]} == 0)) && list=(0)
        local k=0
        while ((k < ${#list[@]})); do
          p=${list[k]:-0}
          if ((p == 0)); then fg=39 bg=49
          elif ((p >= 30 && p <= 37 || p >= 90 && p <= 97 || p == 39)); then fg=$p
          elif ((p >= 40 && p <= 47 || p >= 100 && p <= 107 || p == 49)); then bg=$p
          elif ((p == 38 || p == 48)); then
            local value="$p;${list[k + 1]:-};${list[k + 2]:-}"
            ((p == 38)) && fg=$value || bg=$value
            k=$((k + 2))
          fi
          k=$((k + 1))
        done
        continue
      fi
      col=$((col + 1))
      E2E_COLOURS[$row,$col]="$fg $bg"
      i=$((i + 1))
    done
  done < <(e2e_tmux capture-pane -e -p -t "$E2E_SESSION")
}

e2e_colours_at() { echo "${E2E_COLOURS[$1,$2]:-none}"; }

e2e_expect_colours() {
  local row=$1 col=$2 len=$3 fg=$4 bg=$5 c
  for ((c = col; c < col + len; c++)); do
    local got=${E2E_COLOURS[$row,$c]:-none}
    [[ $got == "$fg $bg" ]] ||
      e2e_fail "row $row, column $c: expected colours \"$fg $bg\", found \"$got\""
  done
}

E2E_EXIT_STATUS=
e2e_wait_exit() {
  local secs=${1:-10}
  local tries=$((secs * 10))
  while ((tries-- > 0)); do
    if [[ -s $E2E_STATUS_FILE ]]; then
      E2E_EXIT_STATUS=$(<"$E2E_STATUS_FILE")
      E2E_EXIT_STATUS=${E2E_EXIT_STATUS#EXIT=}
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "the program did not end within $secs s"
}

e2e_cursor_visible() {
  [[ $(e2e_tmux display-message -p -t "$E2E_SESSION" '#{cursor_flag}') == 1 ]]
}

e2e_terminal_restored() {
  [[ -s $E2E_TMP/stty-before ]] && cmp -s "$E2E_TMP/stty-before" "$E2E_TMP/stty-after"
}

e2e_cursor_position() {
  local pos
  pos=$(e2e_tmux display-message -p -t "$E2E_SESSION" '#{cursor_x} #{cursor_y}')
  echo "$((${pos% *} + 1)) $((${pos#* } + 1))"
}

# The screen after a complete run on the input "ornek": TITLE, the input and
# output lines yellow, "İşlem bitti." and the closing prompt blue, all from
# column 25 on cyan; every other cell blank; the cursor hidden.
e2e_expect_final_screen() {
  local title=$1 yellow=93 blue=34 cyan=46 entry row fg text line rest
  local texts=(
    "9 $yellow $title"
    "11 $yellow Giriş dosyası: ornek"
    "12 $yellow Çıkış dosyası: ornekDizin"
    "17 $blue İşlem bitti."
    "21 $blue Çıkmak için her hangi bir tuşa basınız."
  )
  e2e_read_colours
  for entry in "${texts[@]}"; do
    read -r row fg text <<<"$entry"
    e2e_expect_text "$row" 25 "$text"
    e2e_expect_colours "$row" 25 "${#text}" "$fg" "$cyan"
    line=$(e2e_row "$row")
    [[ -z ${line:0:24} || ${line:0:24} =~ ^\ +$ ]] || e2e_fail "row $row has text before column 25"
    rest=${line:24+${#text}}
    [[ -z ${rest// /} ]] || e2e_fail "row $row has text after \"$text\": \"$rest\""
  done
  for row in 1 2 3 4 5 6 7 8 10 13 14 15 16 18 19 20 22 23 24 25; do
    [[ -z $(e2e_row "$row" | tr -d ' ') ]] || e2e_fail "row $row should be blank"
  done
  ! e2e_cursor_visible || e2e_fail "the cursor shows during the closing wait"
}
