# Ctrl+C while a key is awaited ends the program by SIGINT, with the terminal as it was.
#
# REQUIRES: terminal
# RUN: %python %s
import signal

from session import MENU, Terminal

screen = Terminal()
screen.shows(MENU)
screen.type('\x03')
screen.ends(signal=signal.SIGINT)
