"""The program (or a shell) on a new pseudo-terminal: keys go in, the screen comes back. A failed
wait ends the test, saying what it waited for, how what came differs, and what the screen shows."""
import atexit
import difflib
import os
import signal
import subprocess
import sys
import termios
import time

import pexpect
import pyte

# On a terminal line ends are CR LF, and a clear is an ANSI sequence.
CLEAR = '\x1b[H\x1b[2J\x1b[3J'
MENU = 'MENU\r\n1.teacher\r\n2.Partia\r\n3.UNION\r\n4.proverka oshibok so strokami\r\nESC. Exit'
CATEGORY = CLEAR + ('1-vivod all inf\r\n2-ADD\r\n3-izmenit inf\r\n4-delet  information\r\n'
                    '0-exit\r\n\r\n')
PROGRAM = os.environ['REGISTRY']
LINE_MODE = termios.ICANON | termios.ECHO  # a line is awaited; 0: a key, without echo
ESC_WAIT = 0.1  # seconds: an Esc followed by nothing within this is a lone Esc


def as_lines(text):  # as a reader sees it, a clear and other control bytes named
    text = text.replace(CLEAR, '<clear>\n').replace('\r\n', '\n')
    return [repr(line)[1:-1] for line in text.split('\n')]


def as_a_shell_starts_it():  # every signal at its default, none blocked: lit and Python differ
    for sig in signal.valid_signals() - {signal.SIGKILL, signal.SIGSTOP}:
        signal.signal(sig, signal.SIG_DFL)
    signal.pthread_sigmask(signal.SIG_SETMASK, [])


class Terminal:
    def __init__(self, command=PROGRAM, first=MENU):  # first: what the screen shows first
        self.child = pexpect.spawn('/bin/sh', ['-c', 'exec ' + command], timeout=5,
                                   encoding='utf-8', preexec_fn=as_a_shell_starts_it,
                                   env=dict(os.environ, TERM='xterm'))
        self.child.delaybeforesend = None  # what is typed goes at once, pauses included
        # When the test ends, so does all of its session: a fault may leave the program orphaned.
        atexit.register(subprocess.run, ['pkill', '-KILL', '-s', str(self.child.pid)])
        master, slave = os.openpty()  # a new terminal's settings, as the program found them
        self.settings = termios.tcgetattr(slave)
        os.close(master), os.close(slave)
        self.seen = ''
        if first:
            self.shows(first)

    def fail(self, what, awaited=None, came=None):  # came: what came since the last wait
        came = self.child.before or '' if came is None else came
        report = [f'FAILED: {what}']
        if awaited is not None:
            report += difflib.unified_diff(as_lines(awaited), as_lines(came), 'awaited', 'came',
                                           lineterm='')
        screen = pyte.Screen(80, 24)
        pyte.Stream(screen).feed(self.seen + came)
        shown = [line.rstrip() for line in screen.display]
        sys.exit('\n'.join(report + ['The screen shows:'] + shown).rstrip())

    def type(self, keys, awaiting=0):  # once the terminal is in the mode awaiting
        deadline = time.monotonic() + 5
        while termios.tcgetattr(self.child.child_fd)[3] & LINE_MODE != awaiting:
            if time.monotonic() > deadline:
                self.fail('waited for ' + ('line mode' if awaiting else 'keys one at a time'))
            time.sleep(0.005)
        self.child.send(keys)

    def shows(self, text, exactly=True):  # exactly: and nothing else came since the last wait
        try:
            self.child.expect_exact(text)
        except (pexpect.TIMEOUT, pexpect.EOF):
            self.fail('what came is not what was awaited', awaited=text)
        if exactly and self.child.before:
            self.fail('more came than was awaited', text, self.child.before + text)
        self.seen += self.child.before + text

    def ends(self, signal=None):  # with status 0 or by signal, the terminal as it was found
        try:
            self.child.expect(pexpect.EOF)
        except pexpect.TIMEOUT:
            self.fail('waited for the end')
        self.child.wait()
        ended = (self.child.exitstatus, self.child.signalstatus)
        if ended != ((None, signal) if signal else (0, None)):
            self.fail(f'ended with (exit status, signal) {ended}')
        if termios.tcgetattr(self.child.child_fd) != self.settings:
            self.fail('the terminal kept other settings')
