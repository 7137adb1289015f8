# kavinta23 in a real terminal on the sample transcription: the name typed
# during the banner, the count question answered E, the three phases, then
# the final screen (title, input and output lines yellow, "İşlem bitti." and
# the closing prompt blue, all on cyan, every other row blank), the index,
# the problem file and MBS.txt byte for byte, nothing else left in the
# folder, and exit status 0 after a key.
#
# Usage: bash index_e2e.sh PATH-TO-kavinta23 PATH-TO-kavinta20a
source "$(dirname "$0")/lib.sh"

kavinta23=$1
here=$(dirname "$0")
fixtures="$here/../index/fixtures"
work=$(e2e_workdir)
cp "$here/../../examples/ornek.txt" "$work/" || e2e_fail "cannot copy the sample"

e2e_start "$work" "$kavinta23"
e2e_wait_for "Kavinta 2.3" 5
# Typed ahead during the banner: the keys wait for the prompt.
e2e_send_text "ornek"
e2e_send_key Enter
e2e_wait_for "Her madde başından sonra kaç defa geçtiği yazılsın mı? (E/H)" 15
e2e_send_text "E"
e2e_wait_for "İşlem bitti." 20
e2e_wait_for "Çıkmak için her hangi bir tuşa basınız." 5

e2e_expect_final_screen "Kavinta 2.3"

for pair in "ornekDizin.txt ornekDizin.E.txt" "ornekSorun.txt ornekSorun.txt" "MBS.txt MBS.txt"; do
  read -r written expected <<<"$pair"
  cmp -s "$work/$written" "$fixtures/$expected" ||
    e2e_fail "$written differs from $expected: $(od -c "$work/$written" 2>&1 | head -20)"
done
[[ $(cd "$work" && ls -A | LC_ALL=C sort | tr '\n' ' ') == "MBS.txt ornek.txt ornekDizin.txt ornekSorun.txt " ]] ||
  e2e_fail "unexpected files in the folder: $(ls -A "$work")"

e2e_send_text "x"
e2e_wait_exit 10
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "exit status $E2E_EXIT_STATUS, expected 0"
e2e_terminal_restored || e2e_fail "the terminal settings differ from those before the run"

e2e_pass "index of the sample, problem file, head counts, final screen and exit status"
