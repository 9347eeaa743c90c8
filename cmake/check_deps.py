#!/usr/bin/env python3
"""Checks that each library under src/ declares exactly the project libraries whose headers it
includes, and that the declared graph has no cycle.

A library is one folder with an orvex_library() call; its headers are included by path from src/
("experiments/ExpData.h"), so the folder of an include names the library it belongs to. Exits 1
with one line per fault."""
import os
import re
import sys

root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
src = os.path.join(root, "src")

lib_call = re.compile(r"orvex_library\(\s*(\w+)(.*?)\)", re.S)
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

libs = {}  # folder relative to src -> (name, declared deps)
for dirpath, _, files in os.walk(src):
    if "CMakeLists.txt" not in files:
        continue
    text = open(os.path.join(dirpath, "CMakeLists.txt"), encoding="utf-8").read()
    m = lib_call.search(text)
    if not m:
        continue
    rest = m.group(2)
    deps = set()
    if "DEPS" in rest:
        deps = {d for d in rest.split("DEPS", 1)[1].split() if d.startswith("orvex_")}
    # Extra links declared with target_link_libraries(<name> ...) count as declared too.
    for extra in re.finditer(r"target_link_libraries\(\s*%s\s+(?:PUBLIC|PRIVATE|INTERFACE)?(.*?)\)" % m.group(1), text, re.S):
        deps |= {d for d in extra.group(1).split() if d.startswith("orvex_")}
    libs[os.path.relpath(dirpath, src)] = (m.group(1), deps)

folder_of = {name: folder for folder, (name, _) in libs.items()}


def owner(path):
    """The library folder a header path belongs to: the longest library folder that prefixes it."""
    best = None
    for folder in libs:
        if path.startswith(folder + "/") and "/" not in path[len(folder) + 1:]:
            if best is None or len(folder) > len(best):
                best = folder
    return best


faults = []
for folder, (name, declared) in sorted(libs.items()):
    used = set()
    d = os.path.join(src, folder)
    for f in os.listdir(d):
        if not f.endswith((".h", ".cpp")):
            continue
        for inc in include.findall(open(os.path.join(d, f), encoding="utf-8", errors="replace").read()):
            o = owner(inc)
            if o is not None and o != folder:
                used.add(libs[o][0])
    for u in sorted(used - declared):
        faults.append(f"{name} includes headers of {u} but does not link it")
    for u in sorted(declared - used):
        faults.append(f"{name} links {u} but includes none of its headers")

# Cycles in the declared graph.
graph = {name: deps for name, deps in libs.values()}
state = {}


def visit(n, stack):
    state[n] = 1
    stack.append(n)
    for m in sorted(graph.get(n, ())):
        if state.get(m) == 1:
            faults.append("dependency cycle: " + " -> ".join(stack[stack.index(m):] + [m]))
        elif m in graph and state.get(m) is None:
            visit(m, stack)
    stack.pop()
    state[n] = 2


for n in sorted(graph):
    if state.get(n) is None:
        visit(n, [])

for f in faults:
    print(f)
sys.exit(1 if faults else 0)
