# Signals while a key is awaited. One that ends the program ends it by that signal, with the
# terminal's settings given back: Ctrl+C, also when it lands while the terminal is being put in
# key-at-a-time mode (strace holds the program there for 0.3 s), and SIGTERM, SIGHUP, SIGUSR1,
# SIGALRM, SIGVTALRM. Signals ignored when the program starts stay ignored: Ctrl+C and a hang-up
# then change nothing, and a lone Esc still ends it.
# Ctrl+Z under a shell with job control. While stopped, the shell has the terminal as it was; what
# it changes meanwhile (here the erase key) stays. Sent on with bg, the program waiting for a key
# stops again until fg, without touching the terminal ("tty input"); after fg a key is again taken
# at once. Stopped while a word is awaited, it ends as usual when input ends after fg. Where it
# cannot be stopped in the background (SIGTTIN ignored), its key read fails and says so. Stopped at
# the main menu, kill ends it at once (bash sends SIGCONT after it; dash does not).

# REQUIRES: terminal
# RUN: %python %s
import signal
import termios

from session import CLEAR, LINE_MODE, MENU, PROGRAM, Terminal

screen = Terminal('strace -o /dev/null -e trace=ioctl -e inject=ioctl:delay_exit=300000 '
                  + PROGRAM)
screen.type('\x03')
screen.ends(signal=signal.SIGINT)

for sig in [signal.SIGTERM, signal.SIGHUP, signal.SIGUSR1, signal.SIGALRM, signal.SIGVTALRM]:
    screen = Terminal()
    screen.type('')
    screen.child.kill(sig)
    screen.ends(signal=sig)

screen = Terminal(f"sh -c \"trap '' INT HUP && exec {PROGRAM}\"")
screen.type('\x03')
screen.child.kill(signal.SIGHUP)
screen.type('\x1b')
screen.shows(CLEAR)
screen.ends()

PROMPT = 'shell> '  # what is typed to the shell waits for it


def stopped_at_the_main_menu(shell):
    shell_screen = Terminal(f"env PS1='{PROMPT}' {shell}", first=PROMPT)
    shell_screen.type(PROGRAM + '\n', awaiting=LINE_MODE)
    shell_screen.shows(MENU, exactly=False)
    shell_screen.type('\x1a')
    shell_screen.shows(PROMPT, exactly=False)
    return shell_screen


screen = stopped_at_the_main_menu('/bin/dash -i')
screen.type('stty erase ^H; bg; sleep 0.5; jobs\n', awaiting=LINE_MODE)
screen.shows('Stopped (tty input)', exactly=False)
screen.shows(PROMPT, exactly=False)
screen.type('fg\n', awaiting=LINE_MODE)
screen.shows(PROGRAM + '\r\n', exactly=False)
screen.type('4')
screen.shows(CLEAR + 'Vvedite stroky (dlia proverki razmernosty)\r\n')
screen.type('\x1a', awaiting=LINE_MODE)
screen.shows(PROMPT, exactly=False)
screen.type('fg\n', awaiting=LINE_MODE)
screen.shows(PROGRAM + '\r\n', exactly=False)
screen.type('\x04', awaiting=LINE_MODE)
screen.shows('registry: end of input', exactly=False)
if termios.tcgetattr(screen.child.child_fd)[6][termios.VERASE] != b'\x08':
    screen.fail('the erase key set while the program was stopped is gone')

screen = stopped_at_the_main_menu('bash --norc --noediting -i')
screen.type('kill %%; sleep 0.5; jobs\n', awaiting=LINE_MODE)
screen.shows('Terminated', exactly=False)
screen.type(f"(trap '' TTIN; exec {PROGRAM}) & wait; exit\n", awaiting=LINE_MODE)
screen.shows('registry: cannot read standard input: Input/output error', exactly=False)
screen.ends()
