"""Shared set-up: where ixo_cli and the example series are, and ixo_cli's CSV read back.

CTest sets IXO_CLI and IXO_EXAMPLES; run by hand from the top of a clone,
the defaults find build/bin/ixo_cli and examples/.
"""

import csv
import io
import os
import pathlib
import subprocess

import pytest

_TOP = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = pathlib.Path(os.environ.get("IXO_EXAMPLES", _TOP / "examples"))
IXO_CLI = pathlib.Path(os.environ.get("IXO_CLI", _TOP / "build" / "bin" / "ixo_cli"))
EXAMPLE_NAMES = ("normal", "garch", "logistic")


def example(name):
    return EXAMPLES / f"{name}.txt"


def run_cli(*args):
    """ixo_cli's CSV output for `args`, as a list of blocks (lists of row dicts)."""
    if not IXO_CLI.exists():
        pytest.fail(f"ixo_cli is not built at {IXO_CLI}")
    done = subprocess.run(
        [str(IXO_CLI), *map(str, args), "--format", "csv"], capture_output=True, text=True
    )
    assert done.returncode == 0, done.stderr
    blocks = done.stdout.strip("\n").split("\n\n")
    return [list(csv.DictReader(io.StringIO(block))) for block in blocks]


def number(text):
    """A CSV cell as ixo_cli writes it: the shortest text of a double; empty for none."""
    return float("nan") if text == "" else float(text)
