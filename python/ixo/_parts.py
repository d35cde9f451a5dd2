"""Parts of one permutation run, computed anywhere and merged into its result.

A part holds what the replications of one range contribute: its text is
exactly the part file ``ixo_cli ixo FILE --replications A:B --format part``
writes, so parts from Python and from ixo_cli merge with each other.
"""


class IxoPart:
    """The part of an Ixo test over the replications ``begin .. end - 1``.

    Attributes
    ----------
    text : str
        The part file's text (``str(part)`` gives it too); it pickles as a
        plain string, so a part travels between processes and machines.
    begin, end : int
        The range of replications it holds.
    name : str
        The name of the series in the part (ixo_cli's file path).
    """

    __slots__ = ("text", "begin", "end", "name")

    def __init__(self, text, begin, end, name):
        self.text = text
        self.begin = begin
        self.end = end
        self.name = name

    def __str__(self):
        return self.text

    def __repr__(self):
        return f"IxoPart(name={self.name!r}, replications=range({self.begin}, {self.end}))"

    def __eq__(self, other):
        return isinstance(other, IxoPart) and self.text == other.text

    def __hash__(self):
        return hash(self.text)

    def __reduce__(self):
        return (IxoPart, (self.text, self.begin, self.end, self.name))


def range_of(replications, reps):
    """(begin, end) of a range of step 1 with 0 <= begin < end <= reps."""
    if not isinstance(replications, range):
        raise TypeError(f"replications must be a range, not {type(replications).__name__}")
    if replications.step != 1 or not 0 <= replications.start < replications.stop <= reps:
        raise ValueError(
            f"replications: {replications!r} is not a range(A, B) with 0 <= A < B <= {reps}"
        )
    return replications.start, replications.stop


def texts_of(parts):
    """[(name, text)] of parts or part texts, named by their place for messages."""
    if isinstance(parts, (str, IxoPart)):
        parts = [parts]
    texts = []
    for i, part in enumerate(parts):
        if isinstance(part, IxoPart):
            texts.append((f"part {i} (range({part.begin}, {part.end}))", part.text))
        elif isinstance(part, str):
            texts.append((f"part {i}", part))
        else:
            raise TypeError(f"parts[{i}] is a {type(part).__name__}, not an IxoPart or its text")
    return texts
