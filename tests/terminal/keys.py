# Keys at a terminal. A digit is taken at once, without Enter or echo; a UTF-8 character of 4
# bytes is one key. Escape sequences beside those that name keys give one code each (ESC [ 9 ~,
# 10 ~, 16 ~, 22 ~, 27 ~, 30 ~, 35 ~ and ESC [ ~); Alt with Ctrl+Space (ESC NUL, ESC ESC NUL) two.
# A whole entry pasted is taken as typed; the listing then waits for a real key. A key ends a
# listing's wait and nothing of it reaches the next answer. Two quick Esc at the main menu end
# the program. The screen is cleared as a terminal's when only standard error goes elsewhere, and
# with a form feed where TERM says the terminal is dumb or output goes to a pipe (keys are still
# taken at once); where the locale names a single-byte character set, every byte is a key.

# REQUIRES: terminal
# RUN: %python %s
from session import CATEGORY, CATEGORY_MENU, CLEAR, LINE_MODE, MENU, PROGRAM, Terminal

screen = Terminal(PROGRAM + ' 2>/dev/null')
screen.type('😀')
screen.shows(CLEAR + MENU)
screen.type('\x1b[9~\x1b[10~\x1b[16~\x1b[22~\x1b[27~\x1b[30~\x1b[35~\x1b[~\x1b\x00\x1b\x1b\x00')
screen.shows((CLEAR + MENU) * 12)
screen.type('1')
screen.shows(CLEAR + CATEGORY)
screen.type('2\n1\n1\nIvan\nPetrov\nSidorovich\n1970\ndocent\nkandidat\nmath\n1\n4\n0\n1\n',
            awaiting=LINE_MODE)
screen.shows('Speciality: math\r\n' + '-' * 54 + '\r\n', exactly=False)
screen.type('x')
screen.shows(CATEGORY)
screen.type('0\n', awaiting=LINE_MODE)
screen.shows('0\r\n' + MENU)
screen.type('2')
screen.shows(CLEAR + CATEGORY)


def change_with_wait_answered_by(key):  # category choice 3 on no records: the wait, then NUM 5
    screen.type('3\n', awaiting=LINE_MODE)
    screen.shows('3\r\nNO Element\r\n')
    if key:
        screen.type(key)
    screen.shows('NUM\r\n')
    screen.type('5\n', awaiting=LINE_MODE)
    screen.shows('5\r\nNO Element\r\n' + CATEGORY)


change_with_wait_answered_by('\x13')  # Ctrl+S, which does not stop the screen
change_with_wait_answered_by('\x1b\x1b')  # two quick Esc
change_with_wait_answered_by('\x1bй')  # Alt: two codes; the next key read takes the second at once
change_with_wait_answered_by(None)
change_with_wait_answered_by('\x1b\x1b[A')  # Alt+Up as PuTTY sends it: its second code is a menu
screen.type('0\n', awaiting=LINE_MODE)
screen.shows('0\r\n' + MENU + CLEAR + MENU)
screen.type('\x1b\x1b')
screen.shows(CLEAR)
screen.ends()

screen = Terminal('env TERM=dumb LC_CTYPE=ru_RU.KOI8-R ' + PROGRAM)
screen.type('й')
screen.shows(('\f' + MENU) * 2)
screen.type('1')
screen.shows('\f\f' + CATEGORY_MENU)
screen.type('0\n', awaiting=LINE_MODE)
screen.shows('0\r\n' + MENU)
screen.type('\x1b')
screen.shows('\f')
screen.ends()

screen = Terminal(PROGRAM + ' | cat')
screen.type('\x1b')
screen.shows('\f')
screen.ends()
