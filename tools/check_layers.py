#!/usr/bin/env python3
"""Checks the folder layering of the sources: a window folder includes only
the window folders below it, then the lower layers; the lower layers include
no window folder, and each only the layers below it.

Usage: check_layers.py SOURCE_DIR
Prints every include that runs upwards and exits 1 when there is one.
check_layers.py --self-test checks the checker on a small tree."""
import os
import re
import sys

# Top to bottom.
WINDOWS = ['shell', 'maps', 'passes', 'listings', 'sky', 'tables', 'settings',
           'locations', 'network', 'files', 'database', 'common']
LOWER = ['controls', 'core', 'platform', 'astro']
ORDER = WINDOWS + LOWER
# What each lower layer may include besides itself.
ALLOWED_LOWER = {
    'controls': {'core', 'platform', 'astro'},
    'core': {'platform', 'astro'},
    'platform': {'astro'},
    'astro': set(),
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]+"', re.M)


def allowed(folder, target):
    if target == folder or target not in ORDER:
        return True
    if folder in WINDOWS:
        return ORDER.index(target) > ORDER.index(folder)
    return target in ALLOWED_LOWER[folder]


def self_test():
    """A tree with one include each way: only the upward one is reported."""
    import tempfile
    with tempfile.TemporaryDirectory() as root:
        for path, text in {'database/a.cpp': '#include "listings/b.h"\n#include "common/c.h"\n',
                           'listings/b.h': '#include "database/a.h"\n#include "core/d.h"\n',
                           'core/d.h': '#include "astro/e.h"\n',
                           'astro/e.h': '#include "core/d.h"\n'}.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), 'w') as f:
                f.write(text)
        found = check(root)
    expected = ['astro/e.h: includes core/ (above astro/)',
                'database/a.cpp: includes listings/ (above database/)']
    if sorted(found) != expected:
        print('self-test: expected', expected, 'got', found)
        return 1
    return 0


def main():
    if sys.argv[1:] == ['--self-test']:
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    wrong = check(root)
    for w in wrong:
        print(w)
    return 1 if wrong else 0


def check(root):
    wrong = []
    for folder in ORDER:
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith(('.cpp', '.h')):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding='utf-8', errors='replace') as f:
                    text = f.read()
                for target in INCLUDE.findall(text):
                    if not allowed(folder, target):
                        wrong.append(f'{os.path.relpath(path, root)}: includes {target}/ (above {folder}/)')
    return wrong


if __name__ == '__main__':
    sys.exit(main())
