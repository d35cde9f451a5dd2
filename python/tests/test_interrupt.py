"""Ctrl+C stops a long run between two replications with KeyboardInterrupt.

Each run here would take minutes; SIGINT arrives from a timer thread after a
moment, and the call must give up well within a few seconds of it.
"""

import os
import signal
import threading
import time

import numpy as np
import pytest

import ixo

X = np.random.default_rng(3).standard_normal(4000)

LONG_RUNS = [
    ("test", lambda: ixo.test(X, reps=1_000_000)),
    ("test on one thread", lambda: ixo.test(X, m=4, reps=1_000_000, threads=1)),
    ("bds", lambda: ixo.bds(X, reps=1_000_000)),
    ("critical", lambda: ixo.critical(4000, reps=1_000_000)),
]


@pytest.mark.parametrize("label,call", LONG_RUNS, ids=[r[0] for r in LONG_RUNS])
def test_sigint_stops_a_long_run(label, call):
    delay = 0.3
    timer = threading.Timer(delay, os.kill, (os.getpid(), signal.SIGINT))
    start = time.monotonic()
    timer.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            call()
    finally:
        timer.cancel()
    stopped_after = time.monotonic() - start - delay
    assert stopped_after < 3.0, f"{label}: stopped {stopped_after:.2f} s after the signal"


def test_a_run_after_an_interrupt_is_whole():
    before = ixo.test(X[:300], m=3, reps=99)
    timer = threading.Timer(0.2, os.kill, (os.getpid(), signal.SIGINT))
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        ixo.test(X, reps=1_000_000)
    assert ixo.test(X[:300], m=3, reps=99) == before


def test_other_handlers_see_their_signal():
    # A handler that does not raise lets the run go on to its end.
    seen = []
    old = signal.signal(signal.SIGUSR1, lambda *_: seen.append(True))
    try:
        timer = threading.Timer(0.05, os.kill, (os.getpid(), signal.SIGUSR1))
        timer.start()
        result = ixo.test(X[:1500], m=3, reps=400, threads=1)
        timer.join()
    finally:
        signal.signal(signal.SIGUSR1, old)
    assert seen and len(result) == 2 and not np.isnan(result.pvalue).any()
