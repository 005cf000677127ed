"""A plain second implementation of the conversion options, sharing no code with the core.

It reads a source the simple way (whole file in memory, string splits) and writes what the
options ask for: the DXF HEADER, the east-north axes, the labels, CASS's name column order and
the leaving out of lines without coordinates. Numbers follow the system's rules through Python's
exact decimals: the atof grammar, then 17 significant digits half up, then the decimals half up.
"""

import math
import re
from decimal import ROUND_HALF_UP, Context, Decimal

NUMBER = re.compile(rb"[ \t\n\v\f\r]*([+-]?)((?:\d+\.?\d*|\.\d+)(?:[eEdD][+-]?\d+)?)?")
DIGIT = re.compile(rb"[ \t\n\v\f\r]*[+-]?\.?\d")
WIDE = Context(prec=1000)


def parse_number(text):
    match = NUMBER.match(text)
    if not match.group(2):
        return 0.0
    value = float(match.group(2).replace(b"d", b"e").replace(b"D", b"e"))
    return -value if match.group(1) == b"-" else value


def holds_number(text):
    return DIGIT.match(text) is not None


def fixed(value, decimals=6):
    sign = "-" if math.copysign(1.0, value) < 0 else ""
    if math.isinf(value):
        return sign + "1.#INF00"
    exact = Decimal(abs(value))
    if exact != 0:
        step = Decimal(1).scaleb(exact.adjusted() - 16)
        exact = exact.quantize(step, rounding=ROUND_HALF_UP, context=WIDE)
    rounded = exact.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP, context=WIDE)
    return sign + format(rounded, "f")


def placed(value, offset):
    """A label's coordinate: the point's printed coordinate plus the offset at six decimals,
    added exactly while both have at most twelve integer digits; beyond, the double sum."""
    point, step = fixed(value), fixed(offset)
    if all(re.fullmatch(r"-?\d{1,12}\.\d{6}", text) for text in (point, step)):
        total = Decimal(point) + Decimal(step)
        return ("-" if total < 0 else "") + format(abs(total), "f")
    return fixed(value + offset)


def records(source):
    """(line number, name, code, code was NULL, x, y, z) for every line taken."""
    text = source.split(b"\x1a", 1)[0].replace(b"\r\n", b"\n")
    record = [b"", b"", False, b"", b"", b""]
    lines = text.split(b"\n")
    for number, line in enumerate(lines, start=1):
        ends_in_line_feed = number < len(lines)
        line = line.split(b"\0", 1)[0]
        if len(line) + ends_in_line_feed < 10:
            return
        assert len(line) < 255, "the reference does not cut long lines into pieces"
        fields = [f for f in re.split(rb"[,\t]", line) if f]
        for position, field in enumerate(fields[:7]):
            if position == 2:
                record[0] = field
            elif position == 3:
                record[2] = field == b"NULL"
                record[1] = record[0] if record[2] else field
            elif position >= 4:
                record[position - 1] = field
        yield (number, *record)


def taken(source, skip_junk):
    for number, name, code, was_null, x, y, z in records(source):
        if skip_junk and not any(holds_number(v) for v in (x, y, z)):
            continue
        yield number, name, code, was_null, x, y, z


def cass_by_name(source, skip_junk=False):
    out = b""
    for _, name, code, was_null, x, y, z in taken(source, skip_junk):
        out += b",".join([name, b"" if was_null else code, y, x, z]) + b"\r\n"
    return out


def kaisi(source, skip_junk=False):
    return b"".join(
        b",".join([name, code, x, y, z]) + b"\r\n"
        for _, name, code, _, x, y, z in taken(source, skip_junk)
    )


def group(code, value):
    return b"%s\r\n%s\r\n" % (code, value if isinstance(value, bytes) else value.encode())


def dxf(source, code_page=None, east_north=False, labels=None, skip_junk=False):
    """labels: None or (height, elevation decimals)."""
    out = b""
    if code_page is not None:
        out += group(b"  0", b"SECTION") + group(b"  2", b"HEADER")
        out += group(b"  9", b"$ACADVER") + group(b"  1", b"AC1009")
        out += group(b"  9", b"$DWGCODEPAGE") + group(b"  3", "ANSI_%d" % code_page)
        out += group(b"  0", b"ENDSEC")
    out += group(b"  0", b"SECTION") + group(b"  2", b"ENTITIES")
    for _, name, code, _, x, y, z in taken(source, skip_junk):
        east, north, up = parse_number(y), parse_number(x), parse_number(z)
        px, py = (east, north) if east_north else (north, east)
        out += group(b"  0", b"POINT") + group(b"8", code)
        out += group(b" 10", fixed(px)) + group(b" 20", fixed(py)) + group(b" 30", fixed(up))
        if labels:
            height, decimals = labels
            texts = [(b"ZDH", height / 2, name.replace(b"\r", b" ")),
                     (b"GCD", -1.5 * height, fixed(up, decimals).encode())]
            for layer, dy, value in texts:
                out += group(b"  0", b"TEXT") + group(b"  8", layer)
                out += group(b" 10", placed(px, height / 2)) + group(b" 20", placed(py, dy))
                out += group(b" 30", fixed(up)) + group(b" 40", fixed(height)) + group(b"  1", value)
    return out + group(b"  0", b"ENDSEC") + group(b"  0", b"EOF")
