"""The layer check against small trees, each with one fault or none: the check
must name exactly the faulty lines, so that it cannot pass by finding nothing."""
import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_layers  # noqa: E402

README = """# A tree

| Layer | Folder | Qt | What it holds |
|---|---|---|---|
| 1 | `src/low/` | none | |
| 2 | `src/mid/` | none | |
| 2 | `src/side/` | none | |
| 3 | `src/text/` | Core | |
| 4 | `src/geometry/` | none | not in the tree |
| 5 | `src/ui/common/` | Widgets | |
| 6 | `src/ui/room/` | Widgets | |
| 7, not `src/ui/` | `src/cli/` | Gui | |

| Folder | What it holds |
|---|---|
| `tests/` | not a layer |
"""

# A tree that keeps every rule, including the edge of each.
CLEAN = {
    "src/low/a.h": "#pragma once\n#include <vector>\n",
    "src/low/a.cpp": '#include "low/a.h"\n#include "a.h"\n',
    "src/mid/b.h": '#include "low/a.h"\n#include <cmath>\n',
    "src/side/c.h": '#include "low/a.h"\n',
    "src/text/t.h": '#include <QString>\n#include "mid/b.h"\n#include "side/c.h"\n',
    "src/ui/common/u.h": '#include <QWidget>\n#include "text/t.h"\n',
    "src/ui/common/resources/icon.cpp": '#include "ui/common/u.h"\n',
    "src/ui/room/r.cpp": '#include "ui/common/u.h"\n#include "../common/u.h"\n',
    "src/cli/main.cpp": '#include <QFile>\n#include "text/t.h"\n#include "low/a.h"\n',
    "src/ui/CMakeLists.txt": "# not a source\n",
}

# name, files added to (or replacing those of) CLEAN, the faults' starts.
CASES = [
    ("a clean tree", {}, []),
    ("a higher layer", {"src/low/bad.h": '#include "mid/b.h"\n'},
     ['src/low/bad.h:1: #include "mid/b.h": src/low/ (layer 1) reaches a higher layer']),
    ("its own layer", {"src/mid/bad.cpp": '#include <cmath>\n\n#include "side/c.h"\n'},
     ['src/mid/bad.cpp:3: #include "side/c.h": src/mid/ (layer 2) reaches its own layer']),
    ("a ui room from ui/common", {"src/ui/common/bad.h": '#include "ui/room/r.h"\n'},
     ['src/ui/common/bad.h:1: #include "ui/room/r.h": src/ui/common/ (layer 5) reaches a higher']),
    ("an excluded folder below", {"src/cli/bad.cpp": '#include "ui/common/u.h"\n'},
     ['src/cli/bad.cpp:1: #include "ui/common/u.h": src/cli/ must never include src/ui/common/']),
    ("an include spelled with spaces",
     {"src/low/bad.cpp": '  #  include   "mid/b.h"  // why\n'},
     ['src/low/bad.cpp:1: #include "mid/b.h": src/low/ (layer 1) reaches a higher layer']),
    ("a relative path upward", {"src/low/bad.cpp": '#include "../mid/b.h"\n'},
     ['src/low/bad.cpp:1: #include "../mid/b.h": src/low/ (layer 1) reaches a higher layer']),
    ("a folder the table lacks", {"src/mid/bad.h": '#include "nowhere/x.h"\n'},
     ['src/mid/bad.h:1: #include "nowhere/x.h": src/nowhere/x.h lies in no folder']),
    ("a Qt class in a Qt-free layer", {"src/mid/bad.h": "#include <QString>\n"},
     ["src/mid/bad.h:1: #include <QString>: a Qt header in the Qt-free src/mid/"]),
    ("a Qt module path in a Qt-free layer", {"src/low/bad.cpp": "#include <QtCore/QList>\n"},
     ["src/low/bad.cpp:1: #include <QtCore/QList>: a Qt header in the Qt-free src/low/"]),
    ("a lower-case Qt header", {"src/side/bad.h": "#include <qglobal.h>\n"},
     ["src/side/bad.h:1: #include <qglobal.h>: a Qt header in the Qt-free src/side/"]),
    ("a Qt-free layer above a Qt one", {"src/geometry/g.h": '#include "text/t.h"\n'},
     ['src/geometry/g.h:1: #include "text/t.h": the Qt-free src/geometry/ includes src/text/']),
    ("a folder without a row", {"src/extra/e.cpp": '#include "low/a.h"\n'},
     ["src/extra/: holds sources but has no row"]),
    ("a source beside the ui rooms", {"src/ui/loose.cpp": "int x;\n"},
     ["src/ui/: holds sources but has no row"]),
    ("three faults in one file, each named",
     {"src/low/bad.h": '#include "text/t.h"\n#include <QPointF>\n#include "ui/room/r.h"\n'},
     ['src/low/bad.h:1: #include "text/t.h": src/low/ (layer 1) reaches a higher layer',
      "src/low/bad.h:2: #include <QPointF>: a Qt header in the Qt-free src/low/",
      'src/low/bad.h:3: #include "ui/room/r.h": src/low/ (layer 1) reaches a higher layer']),
]

BAD_TABLES = [
    ("no table", "# nothing\n"),
    ("a layer that is no number", README.replace("| 1 | `src/low/`", "| one | `src/low/`")),
    ("a folder outside src", README.replace("`src/low/`", "`lib/low/`")),
    ("a folder twice", README.replace("`src/side/`", "`src/mid/`")),
    ("an exclusion without a folder", README.replace("7, not `src/ui/`", "7, not ui")),
]


def Write(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as out:
            out.write(text)


class CheckLayersTest(unittest.TestCase):
    def test_cases(self):
        for name, added, expected in CASES:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                Write(root, {"README.md": README, **CLEAN, **added})
                faults = check_layers.Check(root)
                self.assertEqual(len(faults), len(expected), faults)
                for fault, start in zip(sorted(faults), sorted(expected)):
                    self.assertTrue(fault.startswith(start), f"{fault!r} !~ {start!r}")

    def test_bad_tables(self):
        for name, readme in BAD_TABLES:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                Write(root, {"README.md": readme, **CLEAN})
                with self.assertRaises(check_layers.TableError):
                    check_layers.Check(root)

    def test_exit_status(self):
        with tempfile.TemporaryDirectory() as root:
            printed = io.StringIO()
            with contextlib.redirect_stdout(printed), contextlib.redirect_stderr(printed):
                Write(root, {"README.md": README, **CLEAN})
                self.assertEqual(check_layers.main(["check_layers.py", root]), 0)
                Write(root, {"src/low/bad.h": '#include "mid/b.h"\n'})
                self.assertEqual(check_layers.main(["check_layers.py", root]), 1)
                Write(root, {"README.md": "# no table\n"})
                self.assertEqual(check_layers.main(["check_layers.py", root]), 2)


if __name__ == "__main__":
    unittest.main()
