# Ctrl-C ends kavinta23 at once, even during the banner's pause: the terminal
# gets its settings and its cursor back, the status tells the signal
# (128 + 2), and nothing is left in the folder.
#
# Usage: bash interrupt_e2e.sh PATH-TO-kavinta23 PATH-TO-kavinta20a
source "$(dirname "$0")/lib.sh"

kavinta23=$1
work=$(e2e_workdir)

e2e_start "$work" "$kavinta23"
e2e_wait_for "Kavinta 2.3" 5
e2e_cursor_visible && e2e_fail "the cursor shows during the banner"
e2e_send_key C-c
e2e_wait_exit 3
[[ $E2E_EXIT_STATUS == 130 ]] || e2e_fail "exit status $E2E_EXIT_STATUS, expected 130"
e2e_cursor_visible || e2e_fail "the cursor is still hidden after Ctrl-C"
e2e_terminal_restored || e2e_fail "the terminal settings differ from those before the run"
e2e_screen | grep -qF "Kavinta 2.3" || e2e_fail "the last screen did not stay"
[[ -z $(ls -A "$work") ]] || e2e_fail "files left in the folder: $(ls -A "$work")"

e2e_pass "Ctrl-C during the banner"
