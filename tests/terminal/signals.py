# A signal that ends the program while a key is awaited ends it by that signal, with the
# terminal's settings given back: Ctrl+C, also when it lands while the terminal is being put in
# key-at-a-time mode (strace holds the program there for 0.3 s), and SIGTERM, SIGHUP, SIGUSR1,
# SIGUSR2, SIGALRM, SIGVTALRM. Signals ignored when the program starts stay ignored: Ctrl+C and a
# hang-up then change nothing, and a lone Esc still ends it.

# REQUIRES: terminal
# RUN: %python %s
import signal

from session import CLEAR, PROGRAM, Terminal

screen = Terminal('strace -o /dev/null -e trace=ioctl -e inject=ioctl:delay_exit=300000 '
                  + PROGRAM)
screen.type('\x03')
screen.ends(signal=signal.SIGINT)

for sig in [signal.SIGTERM, signal.SIGHUP, signal.SIGUSR1, signal.SIGUSR2, signal.SIGALRM,
            signal.SIGVTALRM]:
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
