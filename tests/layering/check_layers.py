"""The folders of the core include only folders below them: base, platform, scan, options,
output, compare, elements, checks, services, in that order; the core never includes the GUI or
a widget header, and the command line never includes the GUI. In the GUI, base sits below every
window folder; the windows (document, scan, options, compare, elements, checks) use base and the
core only, never each other; shell, which puts them together, may use all."""
import os
import re
import sys

ORDER = [
    "base", "platform", "scan", "options", "output", "compare", "elements", "checks", "services"
]
GUI_WINDOWS = {"document", "scan", "options", "compare", "elements", "checks"}
GUI_FOLDERS = GUI_WINDOWS | {"base", "shell"}
src = sys.argv[1]
include = re.compile(r'^\s*#\s*include\s+[<"]([^">]+)[">]', re.M)


def gui_fault(folder, target):
    """Why the GUI folder `folder` may not include the GUI folder `target`, or None."""
    if folder not in GUI_FOLDERS or target not in GUI_FOLDERS:
        return "an unknown GUI folder"
    if folder == target or folder == "shell" or target == "base":
        return None
    if folder == "base":
        return "base lies below every window"
    return "a window folder uses base (and the core) only"


faults = []
for folder, _, files in os.walk(src):
    for name in files:
        if not name.endswith((".h", ".cpp")):
            continue
        path = os.path.join(folder, name)
        parts = os.path.relpath(path, src).split(os.sep)
        with open(path, encoding="utf-8") as source:
            included = include.findall(source.read())
        for header in included:
            target = header.split("/")
            if parts[0] in ("core", "cli") and target[0] == "gui":
                faults.append("%s includes %s" % (path, header))
            if parts[0] == "core" and re.match(r"Q(Widget|Dialog|MainWindow|Application\b|Action|Menu)", header):
                faults.append("%s includes the widget header %s" % (path, header))
            if parts[0] == "core" and target[0] == "core" and len(target) > 2:
                if ORDER.index(target[1]) > ORDER.index(parts[1]):
                    faults.append("%s (%s) includes %s, a folder above it" % (path, parts[1], header))
            if parts[0] == "gui" and target[0] == "gui" and len(target) > 2:
                why = gui_fault(parts[1], target[1])
                if why:
                    faults.append("%s includes %s: %s" % (path, header, why))
for fault in faults:
    print(fault)
print("layers: %d include%s against the order" % (len(faults), "" if len(faults) == 1 else "s"))
sys.exit(1 if faults else 0)
