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

yellow=93 blue=34 cyan=46
texts=(
  "9 $yellow Kavinta 2.0a"
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
  [[ -z $(e2e_row "$row" | cut -c1-24 | tr -d ' ') ]] || e2e_fail "row $row has text before column 25"
done
for row in 1 2 3 4 5 6 7 8 10 13 14 15 16 18 19 20 22 23 24 25; do
  [[ -z $(e2e_row "$row" | tr -d ' ') ]] || e2e_fail "row $row should be blank"
done
e2e_cursor_visible && e2e_fail "the cursor shows during the closing wait"

cmp -s "$work/ornekDizin.txt" "$fixtures/ornekDizin.txt" ||
  e2e_fail "ornekDizin.txt differs from the expected list: $(od -c "$work/ornekDizin.txt" | head -20)"
[[ $(cd "$work" && ls -A | tr '\n' ' ') == "ornek.txt ornekDizin.txt " ]] ||
  e2e_fail "unexpected files in the folder: $(ls -A "$work")"

e2e_send_text "x"
e2e_wait_exit 10
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "exit status $E2E_EXIT_STATUS, expected 0"
e2e_terminal_restored || e2e_fail "the terminal settings differ from those before the run"

e2e_pass "frequency list of the sample, final screen and exit status"
