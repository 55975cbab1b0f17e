# The tests on lit; the README's test section says what each word below means. CTest passes the
# parameters; REGISTRY_RUNNER ("valgrind ...", "wine") runs REGISTRY_BIN, or the program, under it.
import os
import resource
import subprocess
import sys

import lit.formats

config.name = 'registry'
config.suffixes = ['.test', '.py']
config.excludes = ['session.py', 'lit.cfg.py']
config.test_exec_root = lit_config.params['build']
# Every test starts in a fresh directory of its own, where the program writes name.txt.
config.test_format = lit.formats.ShTest(True, preamble_commands=['rm -rf %t && mkdir %t && cd %t'])
config.environment.update({name: os.environ[name] for name in os.environ
                           if name in ['HOME', 'WINEPREFIX', 'WINEDEBUG', 'WINEDLLOVERRIDES']})
config.environment['PATH'] = lit_config.params['tools'] + os.pathsep + os.environ['PATH']
# The program's texts have blanks that matter: FileCheck compares them exactly.
config.environment['FILECHECK_OPTS'] = '--strict-whitespace -DSEPARATOR=' + '-' * 54

runner = os.environ.get('REGISTRY_RUNNER', '')
# The program starts as a login shell starts it: every signal at its default (lit's workers ignore
# SIGINT, Python SIGPIPE and SIGXFSZ) and no limit inherited on file size, memory or time.
for limit in [resource.RLIMIT_FSIZE, resource.RLIMIT_AS, resource.RLIMIT_DATA, resource.RLIMIT_CPU]:
    resource.setrlimit(limit, (resource.getrlimit(limit)[1],) * 2)
program = (runner + ' ' + os.environ.get('REGISTRY_BIN', lit_config.params['registry'])).strip()
config.environment['REGISTRY'] = program  # terminal tests start it as a shell would themselves
program = 'env --default-signal ' + program
# A fault that blocks or loops fails its test in seconds, not when someone notices.
lit_config.maxIndividualTestTime = 120 if runner else 30
wine = runner.startswith('wine')
if runner:
    config.available_features.add(runner.split(' ')[0])  # valgrind, wine
if not wine:
    config.available_features.add('linux-program')
pty_check = [sys.executable, '-c', 'import os, pexpect; os.openpty()']
if not wine and subprocess.run(pty_check).returncode == 0:
    config.available_features.add('terminal')  # a pseudo-terminal, and pexpect to drive it
if not runner and lit_config.params['sanitized'] != '1':
    config.available_features.add('memory-limit')  # ulimit -v bounds the program's own memory

# lit reads a backslash in a substitution as re.sub does: each is written twice.
config.substitutions += [
    ('%registry', r"""bash -c '"$@" 2>&1 | head -c 1048576 | sed %s -e "s/\\f/<clear>\\n/g"; """
     r"""echo "exit status ${PIPESTATUS[0]}"' registry %s""" % (
         r'-e "s/\\r$//"' if wine else '', program)),
    ('%program', program), ('%python', sys.executable),
    ('%log', r"sed -e '/\\r$/!s/$/<no CR>/' -e 's/\\r$//' name.txt" if wine else 'cat name.txt')]
