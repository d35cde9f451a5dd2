"""The pictures of docs/validation.md, drawn with matplotlib (no display
needed) from the cells of one study run."""

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

import series_models  # noqa: E402
from validation_page import TEST_NAMES, lengths_in, models_in, rate_of, se  # noqa: E402

LEVEL = 0.05
STYLES = {2: "-", 5: "--"}


def _nominal(ax, ns=(), counts=()):
    """The level, and the band of 3 standard errors about it for each n's count."""
    ax.axhline(LEVEL, color="black", linewidth=0.8)
    if counts:
        bands = [3 * se(LEVEL, c) for c in counts]
        ax.fill_between(ns, [LEVEL - b for b in bands], [LEVEL + b for b in bands], color="0.85", zorder=0)


def _log_n_axis(ax, ns):
    ax.set_xscale("log")
    ax.minorticks_off()
    ax.set_xticks(ns)
    ax.set_xticklabels([str(n) for n in ns])


def size_figure(path, cells):
    laws = models_in(cells, "size", series_models.SIZE_LAWS)
    ns = lengths_in(cells, "size")
    tests = ["ixo_table", "ixo_perm", "bds_normal", "bds_perm"]
    fig, axes = plt.subplots(2, 3, figsize=(13, 7.5))
    colors = plt.rcParams["axes.prop_cycle"].by_key()["color"]
    for ax, test in zip(axes.flat, tests):
        top = 0.0
        for color, law in zip(colors, laws):
            for m, style in STYLES.items():
                points = [(n, rate_of(cells[("size", law.key, n)], test, m, LEVEL)) for n in ns]
                points = [(n, r) for n, (r, _) in points if r is not None]
                if points:
                    xs, ys = zip(*points)
                    top = max(top, max(ys))
                    ax.plot(xs, ys, style, color=color, marker="o", markersize=3,
                            label=f"{law.label}, m={m}")
        _nominal(ax, ns, [rate_of(cells[("size", laws[0].key, n)], test, 2, LEVEL)[1] for n in ns])
        ax.set_title(TEST_NAMES[test], fontsize=10)
        ax.set_ylim(0, max(0.15, top * 1.05))
    ax = axes.flat[4]
    for color, law in zip(colors, laws):
        for m, style in ((2, "-"), (10, "--")):
            points = [(n, rate_of(cells[("size", law.key, n)], "bds_normal_05", m, LEVEL)[0]) for n in ns]
            points = [(n, r) for n, r in points if r is not None]
            if points:
                xs, ys = zip(*points)
                ax.plot(xs, ys, style, color=color, marker="o", markersize=3)
    _nominal(ax)
    ax.set_title(TEST_NAMES["bds_normal_05"] + " (m = 2 solid, m = 10 dashed)", fontsize=10)
    ax.set_ylim(0, 1)
    handles, labels = axes.flat[0].get_legend_handles_labels()
    axes.flat[5].axis("off")
    axes.flat[5].legend(handles, labels, loc="center", fontsize=8, ncol=2)
    for ax in axes.flat[:5]:
        _log_n_axis(ax, ns)
        ax.set_xlabel("n")
        ax.set_ylabel("rejected at 5 %")
    fig.suptitle("Size: rejection rates of i.i.d. series at the 5 % level (grey: level ± 3 standard errors)")
    fig.tight_layout()
    fig.savefig(path, dpi=90)
    plt.close(fig)


def power_figure(path, cells):
    alts = models_in(cells, "power", series_models.ALTERNATIVES)
    ns = lengths_in(cells, "power")
    columns = 5 if len(alts) > 4 else max(1, len(alts))
    rows = (len(alts) + columns - 1) // columns
    fig, axes = plt.subplots(rows, columns, figsize=(2.9 * columns, 2.8 * rows + 0.8), sharey=True,
                             squeeze=False)
    lines = {"ixo_perm": ("C0", "Ixo perm"), "bds_perm": ("C1", "BDS perm")}
    for ax, alt in zip(axes.flat, alts):
        for test, (color, name) in lines.items():
            for m, style in STYLES.items():
                points = [(n, rate_of(cells[("power", alt.key, n)], test, m, LEVEL)[0]) for n in ns]
                points = [(n, r) for n, r in points if r is not None]
                if points:
                    xs, ys = zip(*points)
                    ax.plot(xs, ys, style, color=color, marker="o", markersize=3, label=f"{name}, m={m}")
        ax.set_title(alt.label, fontsize=10)
        ax.set_ylim(0, 1.02)
        _log_n_axis(ax, ns)
        ax.axhline(LEVEL, color="black", linewidth=0.6)
    for ax in axes.flat[len(alts):]:
        ax.axis("off")
    handles, labels = axes.flat[0].get_legend_handles_labels()
    fig.legend(handles, labels, loc="lower center", ncol=4 if columns >= 4 else 2, fontsize=9)
    fig.suptitle("Power of the permutation tests at the 5 % level against n")
    fig.tight_layout(rect=(0, 0.06 if columns >= 4 else 0.14, 1, 1))
    fig.savefig(path, dpi=90)
    plt.close(fig)
