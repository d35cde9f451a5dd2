"""Parts of one run, computed apart and merged, give the single run's result bit for bit."""

import subprocess

import pytest

import ixo
from conftest import IXO_CLI, example

SETTINGS = dict(m=4, eps=(0.5, 1.5), subint=20, reps=60, seed=11)


def series(name):
    return [float(token) for token in example(name).read_text().split()]


def parts_of(x, cuts, **settings):
    bounds = list(zip(cuts, cuts[1:]))
    return [ixo.test(x, replications=range(a, b), **settings) for a, b in bounds]


# (example, cut points of range(0, reps))
SPLITS = [
    ("normal", [0, 20, 41, 60]),
    ("garch", [0, 1, 59, 60]),
    ("logistic", [0, 30, 60]),
]


@pytest.mark.parametrize("name,cuts", SPLITS, ids=[s[0] for s in SPLITS])
def test_merged_parts_equal_the_single_run(name, cuts):
    x = series(name)
    parts = parts_of(x, cuts, **SETTINGS)
    whole = ixo.test(x, **SETTINGS)
    assert ixo.merge(parts) == whole, (name, cuts)
    assert ixo.merge(reversed([p.text for p in parts])) == whole, (name, cuts)


def test_part_text_equals_ixo_cli():
    path = example("normal")
    done = subprocess.run(
        [str(IXO_CLI), "ixo", str(path), "--m", "4", "--eps", "0.5:1.5", "--subint", "20",
         "--reps", "60", "--seed", "11", "--replications", "20:41", "--format", "part"],
        capture_output=True, text=True,
    )
    assert done.returncode == 0, done.stderr
    part = ixo.test(series("normal"), replications=range(20, 41), name=str(path), **SETTINGS)
    assert part.text == done.stdout
    assert (part.begin, part.end, part.name) == (20, 41, str(path))


# (cut points of the parts, what the library's refusal says)
REFUSED = [
    ([(0, 30), (20, 60)], "overlap"),
    ([(0, 20), (30, 60)], "20"),
]


@pytest.mark.parametrize("bounds,words", REFUSED, ids=["overlap", "gap"])
def test_refused_merge_raises_the_merge_message(bounds, words):
    x = series("normal")
    parts = [ixo.test(x, replications=range(a, b), **SETTINGS) for a, b in bounds]
    with pytest.raises(ValueError, match=words):
        ixo.merge(parts)


# (replications, exception)
BAD_RANGES = [
    (range(0, 61), ValueError),
    (range(5, 5), ValueError),
    (range(0, 60, 2), ValueError),
    ((0, 30), TypeError),
]


@pytest.mark.parametrize("replications,error", BAD_RANGES, ids=[repr(r[0]) for r in BAD_RANGES])
def test_bad_ranges_are_refused(replications, error):
    with pytest.raises(error):
        ixo.test(series("normal"), replications=replications, **SETTINGS)


def test_altered_part_is_refused():
    x = series("normal")
    parts = parts_of(x, [0, 30, 60], **SETTINGS)
    altered = parts[1].text.replace("seed 11", "seed 12")
    with pytest.raises(ValueError):
        ixo.merge([parts[0], altered])


def test_parts_on_a_dask_cluster_equal_the_single_run():
    distributed = pytest.importorskip("distributed", reason="needs Debian's python3-distributed")
    x = series("garch")
    with distributed.LocalCluster(
        n_workers=2, processes=True, threads_per_worker=1, dashboard_address=None
    ) as cluster, distributed.Client(cluster) as client:
        futures = [
            client.submit(ixo.test, x, replications=range(a, b), **SETTINGS)
            for a, b in [(0, 20), (20, 40), (40, 60)]
        ]
        parts = client.gather(futures)
    assert ixo.merge(parts) == ixo.test(x, **SETTINGS)
