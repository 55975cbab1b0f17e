# Ctrl+Z under a shell with job control (dash, bash). While stopped, the shell has the terminal as
# it was; what it changes meanwhile (here the erase key) stays. Sent on with bg, the program
# waiting for a key stops again until fg, without touching the terminal ("tty input": bash says
# only "Stopped"); after fg a key is again taken at once. Stopped while a word is awaited, it
# ends as usual when input ends after fg. Where it cannot be stopped in the background (SIGTTIN
# ignored), its key read fails and says so. Stopped at the main menu, kill ends it at once.

# REQUIRES: terminal
# RUN: %python %s
import termios

from session import CLEAR, LINE_MODE, MENU, PROGRAM, Terminal

PROMPT = 'shell> '  # what is typed to the shell waits for it
for shell, stopped_for_input in [('/bin/dash -i', 'Stopped (tty input)'),
                                 ('bash --norc --noediting -i', 'Stopped')]:
    screen = Terminal(f"env PS1='{PROMPT}' {shell}", first=PROMPT)
    screen.type(PROGRAM + '\n', awaiting=LINE_MODE)
    screen.shows(MENU, exactly=False)
    screen.type('\x1a')
    screen.shows(PROMPT, exactly=False)
    screen.type('stty erase ^H; bg; sleep 0.5; jobs\n', awaiting=LINE_MODE)
    screen.shows(stopped_for_input, exactly=False)
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

screen = Terminal(f"env PS1='{PROMPT}' bash --norc --noediting -i", first=PROMPT)
screen.type(f"(trap '' TTIN; exec {PROGRAM}) &\n", awaiting=LINE_MODE)
screen.shows('registry: cannot read standard input: Input/output error', exactly=False)
screen.type(PROGRAM + '\n', awaiting=LINE_MODE)
screen.shows(MENU, exactly=False)
screen.type('\x1a')
screen.shows(PROMPT, exactly=False)
screen.type('kill %%; sleep 0.5; jobs; exit\n', awaiting=LINE_MODE)
screen.shows('Terminated', exactly=False)
screen.ends()
