# The sessions (sessions/*.test, FileCheck) and terminal tests (terminal/*.py, pexpect) on lit.
# CTest runs each file as a test (CMakeLists.txt) with the parameters registry (the program),
# build (where tests leave files), tools (FileCheck's folder) and sanitized (1 or 0).
# REGISTRY_RUNNER ("valgrind ...", "wine") runs REGISTRY_BIN, or the program, under another.
import os
import subprocess
import sys

import lit.formats

config.name = 'registry'
config.suffixes = ['.test', '.py']
config.excludes = ['session.py', 'lit.cfg.py']
config.test_source_root = os.path.dirname(__file__)
config.test_exec_root = lit_config.params['build']
# Every test starts in a fresh directory of its own, where the program writes name.txt.
config.test_format = lit.formats.ShTest(True, preamble_commands=['rm -rf %t && mkdir %t && cd %t'])
config.environment.update({name: os.environ[name] for name in os.environ
                           if name in ['HOME', 'WINEPREFIX', 'WINEDEBUG', 'WINEDLLOVERRIDES']})
config.environment['PATH'] = lit_config.params['tools'] + os.pathsep + os.environ['PATH']
# The program's texts have blanks that matter: FileCheck compares them exactly. [[SEPARATOR]]
# stands for the line of 54 hyphens after a listed record and before the save question.
config.environment['FILECHECK_OPTS'] = '--strict-whitespace -DSEPARATOR=' + '-' * 54

runner = os.environ.get('REGISTRY_RUNNER', '')
program = (runner + ' ' + os.environ.get('REGISTRY_BIN', lit_config.params['registry'])).strip()
config.environment['REGISTRY'] = program
wine = runner.startswith('wine')
config.available_features.add(runner.split(' ')[0] or 'terminal')  # terminal: the program alone
if not wine:
    config.available_features.add('linux-program')
if not runner and lit_config.params['sanitized'] != '1':
    config.available_features.add('memory-limit')  # ulimit -v bounds the program's own memory
if subprocess.run('unshare -m mount -t tmpfs tmpfs /mnt', shell=True).returncode == 0:
    config.available_features.add('private-mounts')  # a small file system for one test

# %program: the program. %registry: the program as a session shows it: standard error joins
# standard output, a clear (a form feed when output is no terminal) shows as "<clear>" and ends
# its line, Windows line ends read as LF, and the exit status comes last. %log: name.txt, where
# under Wine a line that does not end in CR LF is marked "<no CR>". (lit reads a backslash in a
# substitution as re.sub does, so each is written twice.)
config.substitutions += [
    ('%registry', r"""bash -c '"$@" 2>&1 | sed %s -e "s/\\f/<clear>\\n/g"; """
     r"""echo "exit status ${PIPESTATUS[0]}"' registry %s""" % (
         r'-e "s/\\r$//"' if wine else '', program)),
    ('%program', program), ('%python', sys.executable),
    ('%log', r"sed -e '/\\r$/!s/$/<no CR>/' -e 's/\\r$//' name.txt" if wine else 'cat name.txt')]
