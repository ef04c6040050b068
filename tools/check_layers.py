#!/usr/bin/env python3
"""Checks the folder layering of the sources: a window folder includes only
the window folders below it, then the lower layers; the lower layers include
no window folder, and each only the layers below it. The code of a window
folder lives in the namespace named after the folder. A window folder calls
another window through the code, never by a method name in a string
(QMetaObject::invokeMethod with a string literal, metaObject()->indexOfMethod).
A window folder makes its date fields as DateTimePicker (controls/), never as a
bare QDateTimeEdit, QDateEdit or QTimeEdit, with new or on the stack: a click
leaves those refusing typed digits.

Usage: check_layers.py SOURCE_DIR
Prints every include that runs upwards, every namespace out of place and
every call by name, and exits 1 when there is one.
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
# A namespace opened (not an alias, not an anonymous one).
NAMESPACE = re.compile(r'^\s*namespace\s+(\w+)(?:::\w+)*\s*\{', re.M)
# A method called by its name: invokeMethod(object, "Name", ...), or looked
# up by its signature text.
CALL_BY_NAME = re.compile(r'\binvokeMethod\s*\(\s*[^,;]+,\s*(?:"|QByteArray\s*\(\s*"|QStringLiteral)'
                          r'|\bindexOfMethod\s*\(')
# A bare date field made in a window folder: with new, through make_unique or
# make_shared, or as an object of its own (on the stack, or a member).
DATE_FIELD = r'(QDateTimeEdit|QDateEdit|QTimeEdit)'
BARE_DATE_FIELD = re.compile(r'\bnew\s+' + DATE_FIELD + r'\b'
                             r'|\bmake_(?:unique|shared)\s*<\s*' + DATE_FIELD + r'\s*>'
                             r'|\b' + DATE_FIELD + r'\s+\w+\s*[;({=\[]')
# Comments, blanked to the same length (lines keep their numbers).
COMMENT = re.compile(r'//[^\n]*|/\*.*?\*/', re.S)
# The one file that names every folder's entry point, for the top to call.
ENTRY_POINTS = os.path.join('common', 'window_links.h')


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
                           'astro/e.h': '#include "core/d.h"\n',
                           'listings/f.cpp': 'namespace listings {\n}\nnamespace platform {\n}\nnamespace views {\n}\n',
                           # Calls by name; a queued lambda is a typed call.
                           'sky/g.cpp': 'void f(QObject* b) {\n'
                                        '    QMetaObject::invokeMethod(b, "Genera_mappa", Q_ARG(bool, false));\n'
                                        '    QMetaObject::invokeMethod(b, [b] { b->show(); }, Qt::QueuedConnection);\n}\n',
                           'shell/h.cpp': 'bool g(QWidget* w) {\n'
                                          '    return w->metaObject()->indexOfMethod("Form_QueryUnload()") >= 0;\n}\n',
                           'core/i.cpp': 'void h(QObject* o) { QMetaObject::invokeMethod(o, "quit"); }\n',
                           # Date fields: bare ones made in a window folder,
                           # however made, are reported; pointers, casts,
                           # comments, the program's own field and the
                           # controls below are not.
                           'tables/j.cpp': 'void j(QWidget* p) {\n    new QDateTimeEdit(p);\n'
                                           '    new DateTimePicker(p);\n'
                                           '    auto* d = new QDateEdit(p);\n'
                                           '    QTimeEdit ora;\n'
                                           '    QDateTimeEdit campo(p);\n'
                                           '    auto t = std::make_unique<QTimeEdit>();\n'
                                           '    QDateTimeEdit* c = p->findChild<QDateTimeEdit*>();\n'
                                           '    connect(c, &QDateTimeEdit::dateChanged, p, [] {});\n'
                                           '    // not new QDateTimeEdit(p), nor QTimeEdit ora;\n'
                                           '    /* QDateEdit d; */ DateTimePicker inizio(p);\n}\n'
                                           'class QDateTimeEdit;\n',
                           'controls/k.h': 'class DateTimePicker : public QDateTimeEdit {\n    QTimeEdit ora;\n};\n'}.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), 'w') as f:
                f.write(text)
        found = check(root)
    expected = ['astro/e.h: includes core/ (above astro/)',
                'database/a.cpp: includes listings/ (above database/)',
                'listings/f.cpp: namespace views (the folder is listings/)',
                'shell/h.cpp:2: calls a method by its name (indexOfMethod)',
                'sky/g.cpp:2: calls a method by its name (invokeMethod)',
                'tables/j.cpp:2: a bare QDateTimeEdit (make a DateTimePicker)',
                'tables/j.cpp:4: a bare QDateEdit (make a DateTimePicker)',
                'tables/j.cpp:5: a bare QTimeEdit (make a DateTimePicker)',
                'tables/j.cpp:6: a bare QDateTimeEdit (make a DateTimePicker)',
                'tables/j.cpp:7: a bare QTimeEdit (make a DateTimePicker)']
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
                rel = os.path.relpath(path, root)
                for target in INCLUDE.findall(text):
                    if not allowed(folder, target):
                        wrong.append(f'{rel}: includes {target}/ (above {folder}/)')
                if folder in WINDOWS:
                    for m in CALL_BY_NAME.finditer(text):
                        line = text.count('\n', 0, m.start()) + 1
                        how = 'indexOfMethod' if 'indexOfMethod' in m.group(0) else 'invokeMethod'
                        wrong.append(f'{rel}:{line}: calls a method by its name ({how})')
                    code = COMMENT.sub(lambda c: re.sub(r'[^\n]', ' ', c.group(0)), text)
                    for m in BARE_DATE_FIELD.finditer(code):
                        line = code.count('\n', 0, m.start()) + 1
                        kind = next(g for g in m.groups() if g)
                        wrong.append(f'{rel}:{line}: a bare {kind} (make a DateTimePicker)')
                if folder in WINDOWS and rel != ENTRY_POINTS:
                    for ns in NAMESPACE.findall(text):
                        # Besides its own: declarations of the layers below
                        # and of the code modules (mGlobal, mAstro, ...).
                        below = ns in ORDER and ORDER.index(ns) > ORDER.index(folder)
                        if ns != folder and not below and not re.fullmatch(r'm[A-Z]\w*', ns):
                            wrong.append(f'{rel}: namespace {ns} (the folder is {folder}/)')
    return wrong


if __name__ == '__main__':
    sys.exit(main())
