# Ctrl-C and SIGTERM in every phase of a run, across both programs: the
# banner, the name prompt, the count question, the reading of a large input
# and the closing prompt. Each run must end promptly with 128 + the signal's
# number, still showing the screen of the phase it was in, and leave the
# terminal as it found it (settings, cursor, colours). A run stopped before
# its write phase leaves only its input in the folder; one stopped at its
# closing prompt keeps its complete files; none leaves a temporary file.
#
# The ten runs go side by side, each in its own terminal. The large inputs
# keep the reading phase going until the signal comes: a 1 GiB file of zero
# bytes without a line end (sparse: no disk space, one line, so no progress
# cell moves while it is read) and a pipe that a writer keeps feeding (no
# size, so no progress cell at all).
#
# Usage: bash signals_e2e.sh PATH-TO-kavinta23 PATH-TO-kavinta20a
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/runs.sh"

kavinta23=$1
kavinta20a=$2
here=$(dirname "$0")
sample23="$here/../../examples/ornek.txt"
sample20a="$here/../freq/fixtures/ornek.txt"
index_fixtures="$here/../index/fixtures"

writer=
trap '[[ -n $writer ]] && kill "$writer" 2>/dev/null; e2e_cleanup' EXIT

# name, program, signal, input
runs=(
  "banner23 $kavinta23 TERM sample"
  "banner20a $kavinta20a INT sample"
  "prompt23 $kavinta23 INT sample"
  "prompt20a $kavinta20a TERM sample"
  "question23 $kavinta23 INT sample"
  "question23t $kavinta23 TERM sample"
  "reading23 $kavinta23 INT zeros"
  "reading20a $kavinta20a TERM pipe"
  "closing23 $kavinta23 TERM sample"
  "closing20a $kavinta20a INT sample"
)
declare -A work signal_of
for entry in "${runs[@]}"; do
  read -r name prog sig input <<<"$entry"
  dir=$(e2e_workdir)
  work[$name]=$dir
  signal_of[$name]=$sig
  case $input in
    sample)
      if [[ $prog == "$kavinta23" ]]; then cp "$sample23" "$dir/ornek.txt"; else cp "$sample20a" "$dir/ornek.txt"; fi
      ;;
    zeros) truncate -s 1G "$dir/buyuk.txt" || e2e_fail "cannot make the large input" ;;
    pipe)
      mkfifo "$dir/akis.txt" || e2e_fail "cannot make the pipe"
      # Blocks until the program opens the pipe; ends when the program has gone.
      (while :; do printf 'kelime\n%.0s' {1..200} || exit 0; sleep 0.01; done) >"$dir/akis.txt" &
      writer=$!
      ;;
  esac
  run_start "$name" "$dir" "$prog"
done

# Sends the run's signal: Ctrl-C from its terminal, SIGTERM to its process.
send_signal() {
  local name=$1
  run_use "$name"
  if [[ ${signal_of[$name]} == INT ]]; then
    e2e_send_key C-c
  else
    kill -TERM "$(run_pid "$name")"
  fi
}

# Waits for the end, then checks the status, the screen still showing TEXT,
# the terminal, and the folder holding exactly FILES (a space-separated list).
expect_stopped() {
  local name=$1 text=$2 files=$3
  run_wait_exit "$name" 5
  local want=130
  [[ ${signal_of[$name]} == TERM ]] && want=143
  [[ $E2E_EXIT_STATUS == "$want" ]] || e2e_fail "$name: exit status $E2E_EXIT_STATUS, expected $want"
  e2e_screen | grep -qF -- "$text" || e2e_fail "$name: the screen no longer shows \"$text\""
  run_check_restored "$name"
  run_check_no_temporary "${work[$name]}"
  local listed
  listed=$(cd "${work[$name]}" && ls -A | LC_ALL=C sort | tr '\n' ' ')
  [[ $listed == "$files " ]] || e2e_fail "$name: the folder holds \"$listed\", expected \"$files\""
}

# Names and answers go in during the banner: typed-ahead keys wait for it.
for name in question23 question23t closing23; do
  run_use "$name"
  e2e_send_text ornek
  e2e_send_key Enter
done
run_use closing23 && e2e_send_text E
run_use closing20a && e2e_send_text ornek && e2e_send_key Enter
run_use reading23 && e2e_send_text buyuk && e2e_send_key Enter && e2e_send_text E
run_use reading20a && e2e_send_text akis && e2e_send_key Enter

# The banner: both programs, while it still shows.
for name in banner23 banner20a; do
  run_use "$name"
  e2e_wait_for "Kavinta 2." 5
  send_signal "$name"
done
expect_stopped banner23 "Kavinta 2.3" "ornek.txt"
expect_stopped banner20a "Kavinta 2.0a" "ornek.txt"
for name in banner23 banner20a; do
  run_use "$name"
  e2e_screen | grep -qF "Giriş dosyası" && e2e_fail "$name: the name prompt came up"
done

# Reading: the working screen shows the reading phase, and the signal ends
# the run in the middle of it.
for name in reading23 reading20a; do
  run_use "$name"
  e2e_wait_for "1/3: Okunuyor..." 15
  send_signal "$name"
done
expect_stopped reading23 "1/3: Okunuyor..." "buyuk.txt"
expect_stopped reading20a "1/3: Okunuyor..." "akis.txt"
for name in reading23 reading20a; do
  run_use "$name"
  e2e_screen | grep -qE "2/3|İşleme devam" && e2e_fail "$name: reading had ended before the signal"
done

# The name prompt, with part of a name typed.
for name in prompt23 prompt20a; do
  run_use "$name"
  e2e_wait_for "Giriş dosyası:" 10
  e2e_send_text orn
  e2e_wait_for "Giriş dosyası: orn" 3
  send_signal "$name"
done
expect_stopped prompt23 "Giriş dosyası: orn" "ornek.txt"
expect_stopped prompt20a "Giriş dosyası: orn" "ornek.txt"

# The count question.
for name in question23 question23t; do
  run_use "$name"
  e2e_wait_for "(E/H)" 10
  send_signal "$name"
done
expect_stopped question23 "(E/H)" "ornek.txt"
expect_stopped question23t "(E/H)" "ornek.txt"

# The closing prompt: the files were complete before it came up.
for name in closing23 closing20a; do
  run_use "$name"
  e2e_wait_for "Çıkmak için her hangi bir tuşa basınız." 15
  send_signal "$name"
done
expect_stopped closing23 "İşlem bitti." "MBS.txt ornek.txt ornekDizin.txt ornekSorun.txt"
expect_stopped closing20a "İşlem bitti." "ornek.txt ornekDizin.txt"
for pair in "ornekDizin.txt ornekDizin.E.txt" "ornekSorun.txt ornekSorun.txt" "MBS.txt MBS.txt"; do
  read -r written expected <<<"$pair"
  cmp -s "${work[closing23]}/$written" "$index_fixtures/$expected" ||
    e2e_fail "closing23: $written differs from $expected"
done
cmp -s "${work[closing20a]}/ornekDizin.txt" "$here/../freq/fixtures/ornekDizin.txt" ||
  e2e_fail "closing20a: ornekDizin.txt differs from the fixture"

e2e_pass "Ctrl-C and SIGTERM in the banner, prompt, question, reading and closing phases"
