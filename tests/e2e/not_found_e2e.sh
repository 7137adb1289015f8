# kavinta23 in a real terminal, asked for an input that is not there: the
# name is typed while the banner still shows (the keys must wait, not get
# lost), the not-found screen comes up red on cyan, a key ends the run with
# status 0, and the terminal is left with its cursor shown below the screen.
#
# Usage: bash not_found_e2e.sh PATH-TO-kavinta23 PATH-TO-kavinta20a
source "$(dirname "$0")/lib.sh"

kavinta23=$1
work=$(e2e_workdir)

e2e_start "$work" "$kavinta23"
e2e_wait_for "Kavinta 2.3" 5
e2e_send_text "yok"
e2e_send_key Enter
# The banner stays six seconds; the keys above must have gone in under it.
e2e_screen | grep -qF "Giriş dosyası" &&
  e2e_fail "the name prompt was up before the name was typed: nothing was typed ahead"
e2e_expect_text 8 25 "Kavinta 2.3"

e2e_wait_for "İşleme başlanamıyor." 15
red=31 cyan=46
texts=(
  "8 20 İşleme başlanamıyor."
  "10 20 \"yok\" adlı dosya bulunamadı."
  "12 20 Öneri:"
  "13 20 1. Dosya adında Türkçeye özgü harfleri kullanmayınız."
  "14 20 2. Dosyayı düz metin olarak kaydediniz."
  "15 20 3. Dosyayı programın bulunduğu klasöre taşıyınız."
  "16 20 4. Dosya adını doğru yazınız."
  "21 25 Çıkmak için her hangi bir tuşa basınız."
)
e2e_wait_for "Çıkmak için her hangi bir tuşa basınız." 5
e2e_read_colours
for entry in "${texts[@]}"; do
  read -r row col text <<<"$entry"
  e2e_expect_text "$row" "$col" "$text"
  e2e_expect_colours "$row" "$col" "${#text}" "$red" "$cyan"
done
for row in 1 9 11 17 20 25; do
  [[ -z $(e2e_row "$row" | tr -d ' ') ]] || e2e_fail "row $row should be blank"
done
e2e_cursor_visible && e2e_fail "the cursor shows during the closing wait"

e2e_send_text "x"
e2e_wait_exit 10
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "exit status $E2E_EXIT_STATUS, expected 0"
e2e_cursor_visible || e2e_fail "the cursor is still hidden after the run"
e2e_terminal_restored || e2e_fail "the terminal settings differ from those before the run"
# The last screen stays; the shell's prompt line is the new bottom row, so
# the screen moved up one row.
e2e_expect_text 7 20 "İşleme başlanamıyor."
e2e_expect_text 20 25 "Çıkmak için her hangi bir tuşa basınız."
[[ $(e2e_cursor_position) == "1 25" ]] ||
  e2e_fail "the cursor is at $(e2e_cursor_position), expected column 1 of row 25"
[[ -z $(e2e_row 25) ]] || e2e_fail "the prompt row is not empty"

e2e_pass "not-found screen, type-ahead, exit status and terminal restore"
