# Both programs where the terminal is not the 80x25 screen they were made
# for, or not a terminal at all:
#   - started in terminals of 40x12 and 12x4, and in one resized twice
#     during the run: the run completes, writes the same files as on a full
#     screen, ends with status 0 on a key and restores the terminal;
#   - keys from the terminal, standard output to a file: the same;
#   - keys from a pipe, output to a file: a pipe that ends before the count
#     question ends the run with status 0 and no file; one that ends after
#     the name (kavinta20a) or the answer runs to the end.
# Every run writes what it writes completely or not at all. A screen sent to
# a file holds only the cells that changed, so a text is looked for by a word
# of it: the blanks between its words may not be there.
#
# Usage: bash terminal_e2e.sh PATH-TO-kavinta23 PATH-TO-kavinta20a
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/runs.sh"

kavinta23=$1
kavinta20a=$2
[[ $kavinta23 == /* ]] || kavinta23="$PWD/$kavinta23"
[[ $kavinta20a == /* ]] || kavinta20a="$PWD/$kavinta20a"
here=$(cd "$(dirname "$0")" && pwd)
sample23="$here/../../examples/ornek.txt"
sample20a="$here/../freq/fixtures/ornek.txt"
index_fixtures="$here/../index/fixtures"
freq_fixture="$here/../freq/fixtures/ornekDizin.txt"

# A work folder with the sample of the program's edition.
workdir_for() {
  local dir
  dir=$(e2e_workdir)
  if [[ $1 == "$kavinta23" ]]; then cp "$sample23" "$dir/ornek.txt"; else cp "$sample20a" "$dir/ornek.txt"; fi
  echo "$dir"
}

# The folder holds exactly what a complete run on the sample writes (besides
# the names in $2), byte for byte.
expect_sample_files() {
  local name=$1 dir=$2 prog=$3 extra=${4:-}
  local want="ornek.txt ornekDizin.txt"
  [[ $prog == "$kavinta23" ]] && want="MBS.txt ornek.txt ornekDizin.txt ornekSorun.txt"
  local listed
  listed=$(cd "$dir" && ls -A | grep -vxF -e "${extra:-/}" | LC_ALL=C sort | tr '\n' ' ')
  [[ $listed == "$want " ]] || e2e_fail "$name: the folder holds \"$listed\", expected \"$want\""
  if [[ $prog == "$kavinta23" ]]; then
    cmp -s "$dir/ornekDizin.txt" "$index_fixtures/ornekDizin.E.txt" &&
      cmp -s "$dir/ornekSorun.txt" "$index_fixtures/ornekSorun.txt" &&
      cmp -s "$dir/MBS.txt" "$index_fixtures/MBS.txt" || e2e_fail "$name: the files differ from the sample's"
  else
    cmp -s "$dir/ornekDizin.txt" "$freq_fixture" || e2e_fail "$name: the list differs from the sample's"
  fi
}

# Keys from a pipe, standard output to a file, no terminal at all: these run
# in the background while the terminal runs below go on.
declare -A pipe_dir pipe_pid pipe_prog
pipe_run() {
  local name=$1 prog=$2 keys=$3
  local dir
  dir=$(workdir_for "$prog")
  pipe_dir[$name]=$dir
  pipe_prog[$name]=$prog
  (cd "$dir" && printf '%b' "$keys" | "$prog" >screen.out 2>screen.err) &
  pipe_pid[$name]=$!
}
pipe_run ended23 "$kavinta23" 'ornek'          # ends at the count question
pipe_run ended20a "$kavinta20a" 'ornek'        # ends after the name
pipe_run scripted23 "$kavinta23" 'ornek\nE'    # ends after the answer

# Terminals: small, tiny, resized; and one whose screen goes to a file.
declare -A dirs progs
term_run() {
  local name=$1 prog=$2 cols=$3 rows=$4 out=${5:-}
  dirs[$name]=$(workdir_for "$prog")
  progs[$name]=$prog
  run_start "$name" "${dirs[$name]}" "$prog" "$cols" "$rows" ${out:+"${dirs[$name]}/$out"}
}
term_run small23 "$kavinta23" 40 12
term_run tiny20a "$kavinta20a" 12 4
term_run resized20a "$kavinta20a" 80 25
term_run resized23 "$kavinta23" 80 25
term_run redirected23 "$kavinta23" 80 25 screen.out

for name in small23 tiny20a resized20a resized23 redirected23; do
  run_use "$name"
  e2e_send_text ornek
  e2e_send_key Enter
  [[ ${progs[$name]} == "$kavinta23" ]] && e2e_send_text E
done
# The banner shows, then the terminals change size under the runs.
run_use resized20a && e2e_wait_for "Kavinta 2.0a" 5
e2e_tmux resize-window -t resized20a -x 30 -y 8 || e2e_fail "cannot resize"
run_use resized23 && e2e_wait_for "Kavinta 2.3" 5
e2e_tmux resize-window -t resized23 -x 120 -y 40 || e2e_fail "cannot resize"
sleep 1
e2e_tmux resize-window -t resized20a -x 100 -y 30
e2e_tmux resize-window -t resized23 -x 20 -y 5

# Each terminal run ends with "İşlem bitti." and its files; a key ends it.
for name in small23 tiny20a resized20a resized23 redirected23; do
  dir=${dirs[$name]}
  if [[ $name == redirected23 ]]; then
    # Nothing shows in the terminal; the screen goes to the file.
    tries=200
    until grep -qF "basınız." "$dir/screen.out" 2>/dev/null; do
      ((tries-- > 0)) || e2e_fail "$name: the closing prompt never reached the file"
      sleep 0.1
    done
    grep -qF "bitti." "$dir/screen.out" || e2e_fail "$name: no \"İşlem bitti.\" in the file"
  else
    tries=200
    until [[ -s $dir/ornekDizin.txt ]]; do
      ((tries-- > 0)) || e2e_fail "$name: no list or index was written"
      sleep 0.1
    done
    sleep 0.5
  fi
  expect_sample_files "$name" "$dir" "${progs[$name]}" screen.out
  run_use "$name"
  [[ -s $E2E_STATUS_FILE ]] && e2e_fail "$name: ended before its closing key: $(<"$E2E_STATUS_FILE")"
  e2e_send_text x
  run_wait_exit "$name" 5
  [[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "$name: exit status $E2E_EXIT_STATUS, expected 0"
  run_check_restored "$name"
  run_check_no_temporary "$dir"
done
run_use redirected23
e2e_screen | grep -qF "Kavinta" && e2e_fail "redirected23: the screen went to the terminal"

for name in ended23 ended20a scripted23; do
  wait "${pipe_pid[$name]}"
  status=$?
  dir=${pipe_dir[$name]}
  [[ $status == 0 ]] || e2e_fail "$name: exit status $status, expected 0"
  [[ -s $dir/screen.err ]] && e2e_fail "$name: wrote to standard error: $(<"$dir/screen.err")"
  grep -qF "dosyası:" "$dir/screen.out" || e2e_fail "$name: no name prompt in its output"
  run_check_no_temporary "$dir"
  if [[ $name == ended23 ]]; then
    grep -qF "(E/H)" "$dir/screen.out" || e2e_fail "$name: no count question in its output"
    listed=$(cd "$dir" && ls -A | LC_ALL=C sort | tr '\n' ' ')
    [[ $listed == "ornek.txt screen.err screen.out " ]] || e2e_fail "$name: files written: $listed"
  else
    grep -qF "bitti." "$dir/screen.out" || e2e_fail "$name: no \"İşlem bitti.\" in its output"
    expect_sample_files "$name" "$dir" "${pipe_prog[$name]}" "$(printf 'screen.err\nscreen.out')"
  fi
done

e2e_pass "small, tiny and resized terminals, output to a file, keys from a pipe"
