"""What a program left behind in a folder: a listing of every file (size and
modification time) and folder, and the differences between two listings."""

import os


def take(root):
    """{relative path: (size, mtime in ns)} for files, None for folders."""
    listing = {}
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        for name in dirs:
            listing[os.path.normpath(os.path.join(rel, name))] = None
        for name in files:
            path = os.path.join(folder, name)
            try:
                st = os.lstat(path)
            except OSError:
                continue  # gone while it was listed
            listing[os.path.normpath(os.path.join(rel, name))] = (st.st_size, st.st_mtime_ns)
    return listing


def changes(before, after):
    """Sorted (kind, path) with kind 'new', 'changed' or 'removed'."""
    out = [('new', p) for p in after if p not in before]
    out += [('removed', p) for p in before if p not in after]
    out += [('changed', p) for p in after if p in before and after[p] != before[p]]
    return sorted(out, key=lambda c: c[1])
