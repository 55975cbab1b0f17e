# Ctrl+Z under a shell with job control (dash, bash): while stopped, the shell has the terminal
# as it was; after fg a key is again taken at once, and what the shell changed meanwhile (here
# the erase key) stays when the program ends. Stopped while a word is awaited, the program ends
# as usual when input ends after fg.

# REQUIRES: terminal
# RUN: %python %s
import termios

from session import CLEAR, LINE_MODE, MENU, PROGRAM, Terminal

for shell in ['/bin/dash -i', 'bash --norc --noediting -i']:
    screen = Terminal(shell, first=None)
    screen.type(PROGRAM + '\n', awaiting=LINE_MODE)
    screen.shows(MENU, exactly=False)
    screen.type('\x1a')
    screen.shows('Stopped', exactly=False)
    screen.type('stty erase ^H; fg\n', awaiting=LINE_MODE)
    screen.shows('fg\r\n' + PROGRAM + '\r\n', exactly=False)
    screen.type('4')
    screen.shows(CLEAR + 'Vvedite stroky (dlia proverki razmernosty)\r\n')
    screen.type('\x1a', awaiting=LINE_MODE)
    screen.shows('Stopped', exactly=False)
    screen.type('fg\n', awaiting=LINE_MODE)
    screen.shows('fg\r\n' + PROGRAM + '\r\n', exactly=False)
    screen.type('\x04', awaiting=LINE_MODE)
    screen.shows('registry: end of input', exactly=False)
    if termios.tcgetattr(screen.child.child_fd)[6][termios.VERASE] != b'\x08':
        screen.fail('the erase key set while the program was stopped is gone')
