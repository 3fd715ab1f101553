#!/usr/bin/env python3
"""Checks that the libraries of src/ include only downwards.

Usage: check-layers.py [SOURCE_ROOT]

Reads the layer order from cmake/Layers.txt and every #include "lib/..." of
src/<lib>/. Fails (exit 1, one line per fault) when a file includes a header
of a library that its own library does not build on, when a folder of src/ is
not a layer, or when a library names an edge it never includes.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/')
SOURCES = ('.h', '.cpp', '.inc')


def read_layers(path):
    layers = {}
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.split('#', 1)[0].strip()
            if not line:
                continue
            name, _, deps = line.partition(':')
            name = name.strip()
            deps = deps.split()
            for dep in deps:
                if dep not in layers:
                    sys.exit(f'{path}:{number}: "{name}" builds on "{dep}", which is not below it')
            layers[name] = deps
    return layers


def closure(layers, name):
    seen, todo = set(), list(layers[name])
    while todo:
        dep = todo.pop()
        if dep not in seen:
            seen.add(dep)
            todo.extend(layers[dep])
    return seen


def sources(folder):
    if not os.path.isdir(folder):
        return []
    return sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(SOURCES))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
    layers = read_layers(os.path.join(root, 'cmake', 'Layers.txt'))
    src = os.path.join(root, 'src')
    faults = []
    for entry in sorted(os.listdir(src)):
        if os.path.isdir(os.path.join(src, entry)) and entry not in layers:
            faults.append(f'src/{entry}/: a folder that cmake/Layers.txt does not place')
    for name, deps in layers.items():
        allowed = closure(layers, name) | {name}
        used = set()
        for path in sources(os.path.join(src, name)):
            with open(path, encoding='utf-8', errors='replace') as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    lib = m.group(1)
                    if lib not in layers:
                        continue
                    used.add(lib)
                    if lib not in allowed:
                        rel = os.path.relpath(path, root)
                        faults.append(f'{rel}:{number}: "{name}" includes "{lib}", which is not below it')
        if sources(os.path.join(src, name)):
            for dep in deps:
                if dep not in used and sources(os.path.join(src, dep)):
                    faults.append(f'cmake/Layers.txt: "{name}" builds on "{dep}" but includes nothing of it')
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print(f'layers: {len(layers)} libraries include only downwards')
    return 0


if __name__ == '__main__':
    sys.exit(main())
