"""Checks every #include of src/ against the layers of README.md's layout table.

Usage: python3 check_layers.py <source root>

The table (the one whose header starts `| Layer | Folder | Qt |`) gives each
folder of src/ a layer, lowest first; several folders may share a layer. A
layer cell may add `not` and folders that the row must never include, even
below it (`17, not `src/ui/``). A Qt cell of `none` marks a Qt-free folder.

A file may include its own folder and folders of lower layers. Reported, one
line each with the file and line: an include of the same layer or above, of a
folder the row excludes, of a folder the table does not name; in a Qt-free
folder, any Qt header or a header of a folder that uses Qt; a folder of src/
(or a source file) that no row names. Folders the table names but the tree
lacks are accepted: they are the layers still to come. Exit status 1 when
anything was reported, 2 when the table cannot be read.
"""
import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Qt's headers: <QString>, <QtCore/QString>, <QtMath> and the lower-case
# compatibility headers such as <qglobal.h>.
QT_HEADER = re.compile(r"^(Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/.*|q[a-z0-9_]*\.h)$")
FOLDER_CELL = re.compile(r"^`(src/[^`]*/)`$")
LAYER_CELL = re.compile(r"^(\d+)(?:\s*,\s*not\s+(.*))?$")


class TableError(Exception):
    pass


class Folder:
    def __init__(self, path, layer, qt_free, never):
        self.path = path  # "src/engine/", always with the trailing slash
        self.layer = layer
        self.qt_free = qt_free
        self.never = never  # folder prefixes the row must not include

    def Describe(self):
        return f"{self.path} (layer {self.layer})"


def ReadLayers(readme_text):
    """The folders of the layout table, keyed by path."""
    folders = {}
    lines = readme_text.splitlines()
    header = next((i for i, line in enumerate(lines)
                   if re.match(r"^\|\s*Layer\s*\|\s*Folder\s*\|\s*Qt\s*\|", line)), None)
    if header is None:
        raise TableError("README.md has no table headed | Layer | Folder | Qt |")
    for number, line in enumerate(lines[header + 2:], start=header + 3):
        if not line.startswith("|"):
            break
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) < 3:
            raise TableError(f"README.md:{number}: a row needs a layer, a folder and Qt")
        layer_cell, folder_cell, qt_cell = cells[:3]
        folder = FOLDER_CELL.match(folder_cell)
        layer = LAYER_CELL.match(layer_cell)
        if folder is None:
            raise TableError(f"README.md:{number}: the folder {folder_cell!r} is not `src/.../`")
        if layer is None:
            raise TableError(f"README.md:{number}: the layer {layer_cell!r} is not a number,"
                             " optionally followed by ', not `src/.../`, ...'")
        never = re.findall(r"`(src/[^`]*/)`", layer.group(2) or "")
        if layer.group(2) and not never:
            raise TableError(f"README.md:{number}: 'not' names no `src/.../` folder")
        path = folder.group(1)
        if path in folders:
            raise TableError(f"README.md:{number}: {path} has two rows")
        folders[path] = Folder(path, int(layer.group(1)), qt_cell.lower() == "none", never)
    if not folders:
        raise TableError(f"README.md:{header + 1}: the layer table has no rows")
    return folders


def FolderOf(path, folders):
    """The table's folder holding `path` (relative to the root, '/'-separated):
    the longest row that is a prefix of it, or None."""
    best = None
    for folder in folders.values():
        if path.startswith(folder.path) and (best is None or len(folder.path) > len(best.path)):
            best = folder
    return best


def IncludedPath(root, including, name):
    """Where the compiler finds `#include "name"` from the file `including`:
    beside the including file first, then under src/ (the include path of
    every target). Returned relative to the root, whether the file exists or
    not, so that an include is judged by its folder alone."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including), name))
    if os.path.isfile(os.path.join(root, beside)):
        return beside.replace(os.sep, "/")
    return os.path.normpath(os.path.join("src", name)).replace(os.sep, "/")


def SourceFiles(root):
    for directory, subdirectories, names in os.walk(os.path.join(root, "src")):
        subdirectories.sort()
        for name in sorted(names):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")


def FoldersWithoutRow(root, folders):
    """Folders of src/ that hold sources but no row covers (each named once)."""
    faults = []
    for directory, subdirectories, names in os.walk(os.path.join(root, "src")):
        subdirectories.sort()
        relative = os.path.relpath(directory, root).replace(os.sep, "/") + "/"
        if FolderOf(relative, folders) is not None:
            subdirectories.clear()
        elif any(name.endswith(SOURCE_SUFFIXES) for name in names):
            faults.append(f"{relative}: holds sources but has no row in README.md's layout table")
    return faults


def Check(root):
    """Every fault of the tree at `root` against its README.md, as lines."""
    with open(os.path.join(root, "README.md"), encoding="utf-8") as readme:
        folders = ReadLayers(readme.read())
    faults = FoldersWithoutRow(root, folders)
    for path in SourceFiles(root):
        own = FolderOf(path, folders)
        if own is None:
            continue  # named once by FoldersWithoutRow
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, start=1):
                match = INCLUDE.match(line)
                if match is None:
                    continue
                quote, name = match.groups()
                where = f"{path}:{number}: #include {quote}{name}{'>' if quote == '<' else quote}"
                if quote == "<":
                    if own.qt_free and QT_HEADER.match(name):
                        faults.append(f"{where}: a Qt header in the Qt-free {own.path}")
                    continue
                target_path = IncludedPath(root, path, name)
                target = FolderOf(target_path, folders)
                if target is None:
                    faults.append(f"{where}: {target_path} lies in no folder of the layout table")
                elif target is own:
                    continue
                elif any(target.path.startswith(never) for never in own.never):
                    faults.append(f"{where}: {own.path} must never include {target.path}")
                elif target.layer >= own.layer:
                    side = "its own layer" if target.layer == own.layer else "a higher layer"
                    faults.append(f"{where}: {own.Describe()} reaches {side}, {target.Describe()}")
                elif own.qt_free and not target.qt_free:
                    faults.append(f"{where}: the Qt-free {own.path} includes {target.path},"
                                  " which uses Qt")
    return faults


def main(argv):
    if len(argv) != 2:
        print("usage: check_layers.py <source root>", file=sys.stderr)
        return 2
    try:
        faults = Check(argv[1])
    except (TableError, OSError) as error:
        print(f"check_layers: {error}", file=sys.stderr)
        return 2
    for fault in faults:
        print(fault)
    if faults:
        print(f"check_layers: {len(faults)} include(s) against the layers of README.md")
        return 1
    print("check_layers: every include of src/ keeps to the layers of README.md")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
