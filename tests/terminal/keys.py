# Keys at a terminal. A digit is taken at once, without Enter or echo; a 4-byte UTF-8 character
# is one key. A pasted entry is taken as typed; the listing then waits for a real key, and a key
# that ends a listing's wait leaves nothing for the next answer. Two quick Esc at the main menu
# end the program. A clear is a terminal's when only standard error goes elsewhere, and a form
# feed where TERM says the terminal is dumb or output goes to a pipe (keys are still taken at
# once); where the locale names a single-byte character set, every byte is a key.

# REQUIRES: terminal
# RUN: %python %s
from session import CATEGORY, CLEAR, LINE_MODE, MENU, PROGRAM, Terminal

screen = Terminal(PROGRAM + ' 2>/dev/null')
screen.type('😀')
screen.shows(CLEAR + MENU)
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
screen.type('0\n', awaiting=LINE_MODE)
screen.shows('0\r\n' + MENU)
screen.type('\x1b\x1b')
screen.shows(CLEAR)
screen.ends()

screen = Terminal('env TERM=dumb LC_CTYPE=ru_RU.KOI8-R ' + PROGRAM)
screen.type('й')
screen.shows(('\f' + MENU) * 2)
screen.type('\x1b')
screen.shows('\f')
screen.ends()

screen = Terminal(PROGRAM + ' | cat')
screen.type('\x1b')
screen.shows('\f')
screen.ends()
