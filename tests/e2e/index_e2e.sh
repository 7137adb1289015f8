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

yellow=93 blue=34 cyan=46
texts=(
  "9 $yellow Kavinta 2.3"
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
e2e_cursor_visible && e2e_fail "the cursor shows during the closing wait"

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
