"""The layer check on small source trees: it finds every kind of include against the layers
and lets every allowed one pass.

Usage: check_layers_test.py [PROGRAM_LINKED_WITH_QT]
The optional program shows that a Qt library among a binary's needed libraries is found.
"""

import importlib.machinery
import pathlib
import sys
import tempfile
import types
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-layers"
QT_PROGRAM = sys.argv.pop(1) if len(sys.argv) > 1 else None


def load_check():
    loader = importlib.machinery.SourceFileLoader("check_layers", str(SCRIPT))
    module = types.ModuleType("check_layers")
    loader.exec_module(module)
    return module


check = load_check()

# A tree that keeps to the layers: a core source in a Qt-free folder and one in render/, a
# header-only core file, a Qt-free file outside the core (midi/RtBackend), and one file of
# each Qt-side folder.
CLEAN_TREE = {
    "src/keys/sources.cmake": "list(APPEND LADOTON_CORE_SOURCES src/keys/KeyTable.cpp)\n"
    "list(APPEND LADOTON_GUI_SOURCES src/keys/KeyPress.cpp)\n",
    "src/keys/KeyTable.h": ["keys/VirtualKeys.h", "<vector>"],
    "src/keys/KeyTable.cpp": ["keys/KeyTable.h"],
    "src/keys/VirtualKeys.h": ["<cstdint>"],
    "src/keys/KeyPress.cpp": ["keys/KeyTable.h"],
    "src/midi/sources.cmake": "list(APPEND LADOTON_CORE_SOURCES\n    src/midi/MidiOut.cpp)\n"
    "list(APPEND LADOTON_GUI_SOURCES src/midi/RtBackend.cpp)\n",
    "src/midi/MidiOut.h": ["time/Clock.h"],
    "src/midi/MidiOut.cpp": ["midi/MidiOut.h"],
    "src/midi/RtBackend.h": ["midi/MidiOut.h", "<rtmidi/RtMidi.h>"],
    "src/midi/RtBackend.cpp": ["midi/RtBackend.h"],
    "src/platform/sources.cmake": "list(APPEND LADOTON_CORE_SOURCES src/time/Clock.cpp)\n",
    "src/time/Clock.h": [],
    "src/time/Clock.cpp": ["time/Clock.h"],
    "src/ports/JackPort.h": ["midi/MidiOut.h", "time/Clock.h"],
    "src/keyboard/Keyboard.h": ["midi/MidiOut.h", "keys/KeyTable.h"],
    "src/platform/QtKeys.h": ["<QObject>", "keys/KeyTable.h"],
    "src/platform/SystemMidi.h": ["midi/RtBackend.h", "<QObject>"],
    "src/widgets/Units.h": ["<QRect>", "platform/QtKeys.h"],
    "src/render/sources.cmake": "list(APPEND LADOTON_CORE_SOURCES src/render/KeyLook.cpp)\n",
    "src/render/KeyLook.h": ["<cstdint>"],
    "src/render/KeyLook.cpp": ["render/KeyLook.h"],
    "src/render/Canvas.h": ["<QImage>", "<QtMath>", "widgets/Units.h", "render/KeyLook.h"],
    "src/ui/About.h": ["<QDialog>", "widgets/Units.h"],
    "src/app/Window.h": ["render/Canvas.h", "ui/About.h", "keys/KeyTable.h", "<QDialog>"],
    "src/app/Window.cpp": ["app/Window.h", "platform/SystemMidi.h"],
}


def include_lines(includes):
    lines = []
    for name in includes:
        lines.append(f"#include {name}" if name.startswith("<") else f'#include "{name}"')
    return "#pragma once\n\n" + "\n".join(lines) + "\n"


class LayerCheck(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = pathlib.Path(self.folder.name)
        for path, content in CLEAN_TREE.items():
            self.write(path, content)

    def tearDown(self):
        self.folder.cleanup()

    def write(self, path, content):
        file = self.root / path
        file.parent.mkdir(parents=True, exist_ok=True)
        file.write_text(content if isinstance(content, str) else include_lines(content))

    def add_include(self, path, name):
        self.write(path, CLEAN_TREE.get(path, []) + [name])

    def problems(self, allowed=frozenset()):
        return check.check_sources(self.root, set(allowed))

    def assert_only_problem(self, path, name, reason):
        problems = self.problems()
        self.assertEqual(len(problems), 1, problems)
        self.assertTrue(problems[0].startswith(f"{path}:"), problems[0])
        self.assertIn(f"includes {name}: {reason}", problems[0])

    def test_a_tree_that_keeps_to_the_layers_passes(self):
        self.assertEqual(self.problems(), [])

    def test_the_line_of_the_include_is_reported(self):
        self.add_include("src/keys/KeyTable.cpp", "<QString>")
        self.assertTrue(self.problems()[0].startswith("src/keys/KeyTable.cpp:4: "))

    def test_qt_in_the_core_is_found_wherever_the_core_file_lives(self):
        for path in ("src/keys/KeyTable.cpp", "src/keys/VirtualKeys.h", "src/render/KeyLook.h",
                     "src/time/Clock.cpp"):
            with self.subTest(path=path):
                self.add_include(path, "<QString>")
                self.assert_only_problem(path, "QString", "Qt header in Qt-free code")
                self.write(path, CLEAN_TREE[path])

    def test_qt_outside_the_core_of_a_qt_free_folder_is_found(self):
        self.add_include("src/midi/RtBackend.cpp", "<QMetaObject>")
        self.assert_only_problem("src/midi/RtBackend.cpp", "QMetaObject",
                                 "Qt header in Qt-free code")

    def test_qt_headers_are_told_from_system_headers(self):
        for name in ("QString", "QtMath", "QtCore/qglobal.h"):
            self.assertTrue(check.is_qt_header(name), name)
        for name in ("queue", "quadmath.h", "X11/XKBlib.h", "rtmidi/RtMidi.h"):
            self.assertFalse(check.is_qt_header(name), name)

    def test_the_core_uses_no_gui_code_even_in_its_own_folder(self):
        self.add_include("src/midi/MidiOut.cpp", "midi/RtBackend.h")
        self.assert_only_problem("src/midi/MidiOut.cpp", "midi/RtBackend.h",
                                 "the core includes only core files")

    def test_qt_free_folders_use_no_qt_side_folder(self):
        for name in ("app/Window.h", "render/Canvas.h", "ui/About.h", "widgets/Units.h",
                     "platform/QtKeys.h"):
            with self.subTest(name=name):
                self.add_include("src/keys/KeyPress.cpp", name)
                self.assert_only_problem("src/keys/KeyPress.cpp", name,
                                         "src/keys is Qt-free and uses only the Qt-free "
                                         "folders below it")

    def test_qt_side_folders_use_only_the_layers_below_them(self):
        wrong = {
            "src/platform/QtKeys.h": "widgets/Units.h",
            "src/widgets/Units.h": "render/Canvas.h",
            "src/render/Canvas.h": "ui/About.h",
            "src/ui/About.h": "render/Canvas.h",
        }
        for path, name in wrong.items():
            with self.subTest(path=path):
                self.add_include(path, name)
                upper = name.split("/")[0]
                lower = path.split("/")[1]
                self.assert_only_problem(path, name, f"src/{lower} may not use src/{upper}")
                self.write(path, CLEAN_TREE[path])

    def test_only_the_window_includes_app(self):
        for path in ("src/render/Canvas.h", "src/ui/About.h", "src/widgets/Units.h",
                     "src/platform/QtKeys.h"):
            with self.subTest(path=path):
                self.add_include(path, "app/Window.h")
                self.assertEqual(len(self.problems()), 1)
                self.write(path, CLEAN_TREE[path])

    def test_qt_free_folders_use_only_the_qt_free_folders_below_them(self):
        wrong = {
            "src/time/Clock.h": "midi/MidiOut.h",
            "src/midi/MidiOut.cpp": "ports/JackPort.h",
            "src/keys/KeyTable.cpp": "keyboard/Keyboard.h",
            "src/ports/JackPort.h": "keyboard/Keyboard.h",
        }
        for path, name in wrong.items():
            with self.subTest(path=path):
                self.add_include(path, name)
                upper = name.split("/")[0]
                lower = path.split("/")[1]
                self.assert_only_problem(path, name,
                                         f"src/{lower} may not use src/{upper}, which is not "
                                         "below it")
                self.write(path, CLEAN_TREE[path])

    def test_a_core_file_may_be_used_from_any_layer_above_it(self):
        self.add_include("src/widgets/Units.h", "render/KeyLook.h")
        self.add_include("src/platform/SystemMidi.h", "ports/JackPort.h")
        self.assertEqual(self.problems(), [])

    def test_a_folder_outside_the_layers_is_reported(self):
        self.write("src/tools/Helper.h", [])
        self.assertEqual(self.problems(), ["src/tools: in no layer; give it one at the top of "
                                           "scripts/check-layers"])

    def test_an_include_that_names_no_source_file_is_reported(self):
        self.add_include("src/keys/KeyTable.cpp", "KeyTable.h")
        self.assert_only_problem("src/keys/KeyTable.cpp", "KeyTable.h", "not found under src/")

    def test_listed_exceptions_pass_and_must_still_be_needed(self):
        self.add_include("src/keys/KeyPress.cpp", "app/Window.h")
        self.assertEqual(self.problems(allowed={"src/keys/KeyPress.cpp"}), [])
        stale = self.problems(allowed={"src/keys/KeyPress.cpp", "src/keys/KeyTable.cpp"})
        self.assertEqual(len(stale), 1)
        self.assertIn("src/keys/KeyTable.cpp: on the list of known exceptions", stale[0])

    def test_the_program_itself_keeps_to_its_layers(self):
        root = SCRIPT.parents[1]
        self.assertEqual(check.check_sources(root, check.ALLOWED), [])


class LinkCheck(unittest.TestCase):
    def test_qt_targets_among_the_core_link_libraries_are_found(self):
        self.assertEqual(check.check_links([], ["GTest::gtest,pthread", ""]), [])
        problems = check.check_links([], ["pthread,Qt6::Core"])
        self.assertEqual(len(problems), 1)
        self.assertIn("Qt6::Core", problems[0])

    @unittest.skipIf(QT_PROGRAM is None, "no program linked with Qt given")
    def test_a_qt_library_among_a_programs_needed_ones_is_found(self):
        problems = check.check_links([QT_PROGRAM], [])
        self.assertTrue(problems)
        self.assertIn("libQt6", problems[0])


if __name__ == "__main__":
    unittest.main()
