# Every arrow, editing and function key, plain or with Shift, Alt or Ctrl, that the terminfo
# entries of common terminals list gives the main menu as many passes as its bytes call for, and is
# never Esc: alone, after an Esc (Alt), and split by a pause of a third of the Esc wait right after
# its Esc and in its middle. So do the sequences beside the numbered keys, which name none (one
# code each), and Alt with Ctrl+Space (ESC NUL, two). After each key the string check takes the
# key's number as its word: a marker that shows where the passes of one key end.

# REQUIRES: terminal
# RUN: %python %s
import re
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

import pexpect
from session import CLEAR, ESC_WAIT, Terminal

TERMINALS = ['xterm', 'xterm-256color', 'putty', 'rxvt-unicode', 'screen', 'tmux', 'linux']
KEY_CAPABILITY = re.compile(r'^\s+(kcu[udfb]1|khome|kend|kich1|kdch1|knp|kpp|kf\d+|kcbt|kind|kri'
                            r'|k(?:UP|DN|LFT|RIT|HOM|END|IC|DC|NXT|PRV)[3-7]?)=', re.MULTILINE)
# curses looks up one terminal per process.
LOOK_UP = ('import curses, sys; curses.setupterm(sys.argv[1])\n'
           'for name in sys.argv[2:]: print(curses.tigetstr(name).hex())')
TWO_CODE_FINALS = b'ABCDFHPQRSZabcd'
TWO_CODE_NUMBERS = {*range(1, 9), *range(11, 16), *range(17, 22), *range(23, 27), 28, 29,
                    *range(31, 35)}
RESULT = 'v rezultate polychenaia stroka  {} !!!!!'
TERMINALS_AT_ONCE = 4


def main_menu_passes(key):  # as the key model counts the codes of these bytes
    if key[1:2] not in (b'[', b'O'):
        return 2  # Alt with the key the second byte begins
    if key[:3] == b'\x1b[[':  # the Linux console's F1 to F5
        return 2 if len(key) == 4 and key[3:] in b'ABCDE' else 1
    final, first_number = key[-1:], key[2:-1].split(b';')[0]
    numbered = final in b'~$^@' and first_number.isdigit() and int(first_number) in TWO_CODE_NUMBERS
    return 2 if final in TWO_CODE_FINALS or numbered else 1


keys = {}  # the bytes of each key, and the first capability that sends them
for terminal in TERMINALS:
    listed = subprocess.run(['infocmp', '-x', '-1', terminal], capture_output=True, text=True)
    names = KEY_CAPABILITY.findall(listed.stdout)
    found = subprocess.run([sys.executable, '-c', LOOK_UP, terminal, *names], capture_output=True,
                           text=True, check=True)
    for name, key in zip(names, found.stdout.split()):
        keys.setdefault(bytes.fromhex(key).decode(), f'{name} of {terminal}')
for key in ['\x1b[9~', '\x1b[10~', '\x1b[16~', '\x1b[22~', '\x1b[27~', '\x1b[30~', '\x1b[35~',
            '\x1b[~', '\x1b\x00']:
    keys[key] = "no terminal's key"
sends = []  # what is typed: the parts of a key, with a pause between them
for key, name in keys.items():
    sends += [(name, [key]), ('Alt with ' + name, ['\x1b' + key])]
    sends += [(f'{name} split', [key[:cut], key[cut:]]) for cut in {1, (len(key) + 1) // 2}]


def check(lot):  # at a terminal of its own; the first key that fails ends it, and is returned
    screen = Terminal()
    for number, what, parts in lot:
        typing = time.monotonic()
        screen.child.send(parts[0])
        for part in parts[1:]:
            time.sleep(ESC_WAIT / 3)
            screen.child.send(part)
        typed_in = time.monotonic() - typing  # beyond the Esc wait only on a busy machine
        screen.child.send(f'4{number}\n')
        expected = main_menu_passes(''.join(parts).encode())
        try:
            screen.child.expect_exact(RESULT.format(number), timeout=2)
            # A pass clears the screen, as does the marker's 4. (What is typed may be echoed
            # between key reads, even between a clear and its menu.)
            came = str(screen.child.before.count(CLEAR) - 1)
        except (pexpect.TIMEOUT, pexpect.EOF):
            came = 'not its marker: ' + repr(screen.child.before[-200:])
        if came != str(expected):
            return f'{what} {parts} in {typed_in:.3f} s: {expected} passes expected, {came} came'
    screen.type('\x1b')
    screen.ends()


began = time.monotonic()
numbered = [(number, *send) for number, send in enumerate(sends)]
with ThreadPoolExecutor(TERMINALS_AT_ONCE) as pool:  # a failed wait of a session ends the test
    lots = [numbered[lot::TERMINALS_AT_ONCE] for lot in range(TERMINALS_AT_ONCE)]
    failures = [failure for failure in pool.map(check, lots) if failure]
print(f'{len(keys)} keys in {len(sends)} sends, {time.monotonic() - began:.1f} s')
sys.exit('FAILED:\n' + '\n'.join(failures) if failures else 0)
