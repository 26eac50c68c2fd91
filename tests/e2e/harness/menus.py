"""Reading an open drop-down menu from a picture of it: which item carries
the check mark and which items are greyed. (Wine does not hand another
process's menus to GetMenu, so the menus are read the way a user reads them.)

Ink is any pixel that differs from the most common colour of its row; that
copes with the highlighted item, whose whole row is the highlight colour.
The check mark sits in a column block of its own left of the item texts."""

DARK = 90  # the darkest channel of a letter of an enabled item is below this


def _row_background(image, y):
    counts = {}
    for x in range(image.width):
        p = image.at(x, y)
        counts[p] = counts.get(p, 0) + 1
    return max(counts, key=counts.get)


def runs(flags, gap):
    """(start, end) of the runs of true flags, bridging gaps of up to GAP."""
    runs, start, last = [], None, None
    for i, on in enumerate(flags):
        if not on:
            continue
        if start is None:
            start = i
        elif i - last > gap + 1:
            runs.append((start, last + 1))
            start = i
        last = i
    if start is not None:
        runs.append((start, last + 1))
    return runs


def read_menu(image, inset=3):
    """Analyses the picture of a drop-down menu's window. Returns a dict:
    items (the (top, bottom) rows of each item's text, top to bottom),
    checked (indexes of the items with a check mark), greyed (indexes of the
    items whose text has no dark letters; the highlighted item is never
    counted as greyed, its letters are light on a dark bar)."""
    inner = image.crop(inset, inset, image.width - inset, image.height - inset)
    backgrounds = [_row_background(inner, y) for y in range(inner.height)]
    ink = [[inner.at(x, y) != backgrounds[y] for x in range(inner.width)] for y in range(inner.height)]
    columns = runs([any(ink[y][x] for y in range(inner.height)) for x in range(inner.width)], 2)
    if not columns:
        return {'items': [], 'checked': [], 'greyed': []}
    # The mark's block is narrow and lies well left of the texts.
    mark = columns[0] if len(columns) > 1 and columns[0][1] - columns[0][0] <= 16 and \
        columns[1][0] - columns[0][1] >= 3 else None
    text_left = columns[1][0] if mark else columns[0][0]
    # Separators are lines a pixel or two high: no item's text is that thin.
    items = [r for r in runs([any(ink[y][text_left:]) for y in range(inner.height)], 2) if r[1] - r[0] > 3]
    checked, greyed = [], []
    normal = max(set(backgrounds), key=backgrounds.count)
    if mark:
        for top, bottom in runs([any(ink[y][mark[0]:mark[1]]) for y in range(inner.height)], 2):
            if bottom - top <= 3:
                continue
            centre = (top + bottom) // 2
            checked.extend(i for i, (a, b) in enumerate(items) if a - 2 <= centre < b + 2)
    for i, (top, bottom) in enumerate(items):
        letters = [inner.at(x, y) for y in range(top, bottom) for x in range(text_left, inner.width) if ink[y][x]]
        highlighted = backgrounds[(top + bottom) // 2] != normal
        if letters and not highlighted and min(min(p) for p in letters) >= DARK:
            greyed.append(i)
    return {'items': items, 'checked': sorted(set(checked)), 'greyed': greyed}
