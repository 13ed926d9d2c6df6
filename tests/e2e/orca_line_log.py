#!/usr/bin/python3
"""Runs Orca with its debug log written line by line, so that a test reads each utterance
(`SPEECH OUTPUT: '…'`) as Orca speaks it rather than when the log's buffer fills or Orca ends.
Orca runs in a child process, which ends itself with SIGKILL once it has shut down; this
process passes interrupts and terminations on to it as interrupts and ends quietly after it.

Usage: orca_line_log.py LOG_FILE [ORCA_ARGUMENT...]"""

import builtins
import os
import runpy
import signal
import sys

log_file = sys.argv[1]
system_open = builtins.open


def open_line_buffered(file, mode="r", *args, **kwargs):
    if file == log_file and "w" in mode:
        return system_open(file, mode, buffering=1, encoding="utf-8")
    return system_open(file, mode, *args, **kwargs)


orca = os.fork()
if orca == 0:
    builtins.open = open_line_buffered
    sys.argv = ["orca", "--debug-file", log_file] + sys.argv[2:]
    runpy.run_path("/usr/bin/orca", run_name="__main__")
    sys.exit(0)
# Orca shuts down at once on an interrupt, but waits a termination out.
for stop in (signal.SIGINT, signal.SIGTERM):
    signal.signal(stop, lambda number, frame: os.kill(orca, signal.SIGINT))
while True:
    try:
        os.waitpid(orca, 0)
        break
    except InterruptedError:
        continue
    except ChildProcessError:
        break
