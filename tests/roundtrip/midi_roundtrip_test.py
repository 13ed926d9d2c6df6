#!/usr/bin/python3
"""Reads the exported MIDI files with mido, a reader that shares no code with the program,
and checks that they give back the notes and times they were meant to hold."""
import pathlib
import subprocess
import sys
import tempfile

import mido

TOLERANCE_MS = 1.0


def read_expected(path):
    expected = []
    for line in path.read_text().splitlines():
        time, *data = (int(field) for field in line.split())
        expected.append((time, data))
    return expected


def read_back(path):
    midi = mido.MidiFile(str(path))
    assert midi.type == 0, f"{path.name}: format {midi.type}"
    assert len(midi.tracks) == 1, f"{path.name}: {len(midi.tracks)} tracks"
    assert midi.ticks_per_beat == 500, f"{path.name}: division {midi.ticks_per_beat}"
    assert midi.tracks[0][-1].type == "end_of_track", f"{path.name}: no end of track"
    found = []
    seconds = 0.0
    # Iterating the file turns ticks into seconds through the tempo in force.
    for message in midi:
        seconds += message.time
        if not message.is_meta:
            found.append((seconds * 1000.0, message.bytes()))
    return found


def compare(name, expected, found):
    assert len(found) == len(expected), f"{name}: {len(found)} messages, {len(expected)} expected"
    for index, ((want_ms, want), (got_ms, got)) in enumerate(zip(expected, found)):
        assert got == want, f"{name} #{index}: {got} instead of {want}"
        assert abs(got_ms - want_ms) <= TOLERANCE_MS, \
            f"{name} #{index}: at {got_ms:.3f} ms instead of {want_ms} ms"


def notes(found):
    return [(round(ms), data) for ms, data in found]


def main():
    samples_program = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([samples_program, folder], check=True)
        folder = pathlib.Path(folder)
        files = sorted(folder.glob("*.mid"))
        assert len(files) == 7, f"{len(files)} files exported"
        read = {}
        for midi_file in files:
            read[midi_file.stem] = read_back(midi_file)
            compare(midi_file.stem, read_expected(midi_file.with_suffix(".txt")),
                    read[midi_file.stem])

        # A few melodies checked against notes worked out by hand: channel 2, program 20,
        # octave 4, amplitude 90.
        assert notes(read["empty"]) == [(0, [0xC1, 19])]
        assert notes(read["chord"]) == [
            (0, [0xC1, 19]), (0, [0x91, 48, 90]), (0, [0x91, 52, 90]), (1, [0x91, 55, 90]),
            (500, [0x91, 52, 0]), (800, [0x91, 48, 0]), (800, [0x91, 55, 0])]
        assert notes(read["rest"]) == [
            (0, [0xC1, 19]), (0, [0x91, 48, 90]), (300, [0x91, 48, 0]),
            (900, [0x91, 50, 90]), (1200, [0x91, 50, 0])]
        assert notes(read["octave"]) == [
            (0, [0xC1, 19]), (0, [0x91, 52, 90]), (2000, [0x91, 52, 0]),
            (2050, [0x91, 64, 90]), (2150, [0x91, 64, 0])]
        assert notes(read["outside"]) == [
            (0, [0xC1, 19]), (20, [0x91, 48, 90]), (60, [0x91, 48, 0])]
        assert notes(read["gap"])[-2:] == [(300000000, [0x91, 50, 90]),
                                          (300000010, [0x91, 50, 0])]
        assert len(read["many"]) == 100001
    print("all exported files read back as written")


if __name__ == "__main__":
    main()
