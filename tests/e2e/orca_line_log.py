#!/usr/bin/python3
"""Runs Orca with its debug log written line by line, so that a test reads each utterance
(`SPEECH OUTPUT: '…'`) as Orca speaks it rather than when the log's buffer fills or Orca ends.

Usage: orca_line_log.py LOG_FILE [ORCA_ARGUMENT...]"""

import builtins
import runpy
import sys

log_file = sys.argv[1]
system_open = builtins.open


def open_line_buffered(file, mode="r", *args, **kwargs):
    if file == log_file and "w" in mode:
        return system_open(file, mode, buffering=1, encoding="utf-8")
    return system_open(file, mode, *args, **kwargs)


builtins.open = open_line_buffered
sys.argv = ["orca", "--debug-file", log_file] + sys.argv[2:]
runpy.run_path("/usr/bin/orca", run_name="__main__")
