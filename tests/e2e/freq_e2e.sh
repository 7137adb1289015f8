# kavinta20a in a real terminal on the three-line sample: the name typed at
# the prompt, the three phases, then the final screen of this edition (the
# prompt row left as typed, the output line, "İşlem bitti." and the closing
# prompt), the frequency list byte for byte, nothing else left in the folder,
# and exit status 0 after a key.
#
# Usage: bash freq_e2e.sh PATH-TO-kavinta23 PATH-TO-kavinta20a
source "$(dirname "$0")/lib.sh"

kavinta20a=$2
fixtures="$(dirname "$0")/../freq/fixtures"
work=$(e2e_workdir)
cp "$fixtures/ornek.txt" "$work/" || e2e_fail "cannot copy the sample"

e2e_start "$work" "$kavinta20a"
e2e_wait_for "Kavinta 2.0a" 5
e2e_wait_for "Giriş dosyası:" 10
e2e_send_text "ornek"
e2e_send_key Enter
e2e_wait_for "İşlem bitti." 20
e2e_wait_for "Çıkmak için her hangi bir tuşa basınız." 5

e2e_expect_final_screen "Kavinta 2.0a"

cmp -s "$work/ornekDizin.txt" "$fixtures/ornekDizin.txt" ||
  e2e_fail "ornekDizin.txt differs from the expected list: $(od -c "$work/ornekDizin.txt" | head -20)"
[[ $(cd "$work" && ls -A | tr '\n' ' ') == "ornek.txt ornekDizin.txt " ]] ||
  e2e_fail "unexpected files in the folder: $(ls -A "$work")"

e2e_send_text "x"
e2e_wait_exit 10
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "exit status $E2E_EXIT_STATUS, expected 0"
e2e_terminal_restored || e2e_fail "the terminal settings differ from those before the run"

e2e_pass "frequency list of the sample, final screen and exit status"
