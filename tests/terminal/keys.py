# Keys at a terminal: a digit is taken at once, without Enter or echo; an arrow, an editing or
# a function key is two keys that are no Esc (two more menus each), another sequence one. Keys
# pasted at the main menu are taken as if typed one by one, and a whole entry pasted is taken,
# after which the listing waits for a real key.
# A key of two or three bytes in UTF-8 is one key, at the main menu and at a wait. Of two quick
# Esc at a wait, the second is typed ahead: the next answer then reads as a bad number, and the
# program goes on. Two quick Esc at the main menu end it (the screen is cleared as a terminal's
# when only standard error goes elsewhere).

# REQUIRES: terminal
# RUN: %python %s
# RUN: diff -u <(echo abcdefghijk) name.txt
from session import CATEGORY, CLEAR, LINE_MODE, MENU, PROGRAM, Terminal

# Two codes: ESC [ A (up), ESC [ H (Home), ESC O P (F1), and ESC [ n ~ for n = 1 (Home), 8
# (End), 11, 13, 15, 17, 21 (F1, F3, F5, F6, F10). One: ESC [ 9 ~, 16 ~, 22 ~ and ESC [ E.
screen = Terminal()
screen.type('\x1b[A\x1b[H\x1bOP\x1b[1~\x1b[8~\x1b[11~\x1b[13~\x1b[15~\x1b[17~\x1b[21~')
screen.type('\x1b[9~\x1b[16~\x1b[22~\x1b[E')
screen.shows((CLEAR + MENU) * 24)
screen.type('10\n4abcdefghijk 2\n')
screen.shows(CLEAR + CATEGORY + MENU + CLEAR + 'Vvedite stroky (dlia proverki razmernosty)\r\n'
             'eror in  razmer srtoki\r\n1-vvesti novyu storky\r\n 2-obrezat stroky \r\n'
             'v rezultate polychenaia stroka  abcdefghi !!!!!\r\n' + MENU)
screen.type('1')
screen.shows(CLEAR + CATEGORY)
screen.type('2\n1\n1\nIvan\nPetrov\nSidorovich\n1970\ndocent\nkandidat\nmath\n1\n4\n0\n1\n',
            awaiting=LINE_MODE)
screen.shows('Speciality: math\r\n' + '-' * 54 + '\r\n', exactly=False)
screen.type('x')
screen.shows(CATEGORY)

screen = Terminal(PROGRAM + ' 2>/dev/null')
screen.type('й')
screen.shows(CLEAR + MENU)
screen.type('1')
screen.shows(CLEAR + CATEGORY)
screen.type('3\n', awaiting=LINE_MODE)
screen.shows('3\r\nNO Element\r\n')
screen.type('№')
screen.shows('NUM\r\n')
screen.type('5\n', awaiting=LINE_MODE)
screen.shows('5\r\nNO Element\r\n' + CATEGORY)
screen.type('1\n', awaiting=LINE_MODE)
screen.shows('1\r\nNO Element\r\n')
screen.type('\x1b\x1b')
screen.shows(CATEGORY)
screen.type('0\n', awaiting=LINE_MODE)
screen.shows('0\r\nnepravelnii vvod->\r\n' + CATEGORY)
screen.type('0\n', awaiting=LINE_MODE)
screen.shows('0\r\n' + MENU)
screen.type('\x1b\x1b')
screen.shows(CLEAR)
screen.ends()
