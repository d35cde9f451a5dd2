"""Plain-text tables for the results' repr."""

import math


def number(value, digits):
    """`value` with `digits` decimals; "-" for a value that does not exist (NaN, None)."""
    if value is None or (isinstance(value, float) and math.isnan(value)):
        return "-"
    return f"{value:.{digits}f}"


def general(value, digits=4):
    """`value` to `digits` significant digits; "-" for NaN or None."""
    if value is None or (isinstance(value, float) and math.isnan(value)):
        return "-"
    return f"{value:.{digits}g}"


def table(header, rows):
    """Columns right-aligned under their header, texts (a column of str) left-aligned.

    `rows` holds one list of cell texts per row; `header` one name per column.
    """
    widths = [len(name) for name in header]
    for row in rows:
        widths = [max(w, len(cell)) for w, cell in zip(widths, row)]
    left = [bool(rows) and all(not _numeric(row[i]) for row in rows) for i in range(len(header))]

    def line(cells):
        out = []
        for i, cell in enumerate(cells):
            out.append(cell.ljust(widths[i]) if left[i] else cell.rjust(widths[i]))
        return "  ".join(out).rstrip()

    return "\n".join([line(header)] + [line(row) for row in rows])


def _numeric(text):
    if text == "-":
        return True
    try:
        float(text)
    except ValueError:
        return False
    return True
