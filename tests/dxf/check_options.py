#!/usr/bin/python3
"""velkaro-convert's options end to end, checked independently of the core.

1. Every golden output of an option equals what options_reference.py computes from the sample
   and what velkaro-convert writes with that option.
2. The DXF that surveyors get with the code page, east-north axes and labels is read back by the
   readers they use: ezdxf (readfile and recover.readfile, plus its audit) and GDAL's ogrinfo.
   They must see the Chinese layer names, east on X, and per point one POINT and two TEXT
   entities (name on ZDH, elevation on GCD).

Usage: check_options.py VELKARO_CONVERT TESTS_DATA_FOLDER EXAMPLES_FOLDER
Any missing reader is a failure, never a skip.
"""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import options_reference as ref  # noqa: E402

try:
    import ezdxf
    from ezdxf import recover
except ImportError:
    sys.exit("FAIL: python3-ezdxf is not installed (scripts/deps test installs it)")

CONVERT, DATA, EXAMPLES = sys.argv[1:4]
FAILURES = []

# golden name, format, options, reference output of tests/data/golden/sample.txt
GOLDEN_ROWS = [
    ("sampleCAD-codepage936.dxf", "cad", ["--dxf-codepage"], lambda s: ref.dxf(s, code_page=936)),
    ("sampleCAD-en.dxf", "cad", ["--dxf-axes=en"], lambda s: ref.dxf(s, east_north=True)),
    ("sampleCAD-labels.dxf", "cad", ["--labels"], lambda s: ref.dxf(s, labels=(1.0, 3))),
    ("sampleCAD-everything.dxf", "cad",
     ["--dxf-codepage=950", "--dxf-axes", "en", "--label-height=2.5", "--label-decimals", "0",
      "--skip-junk"],
     lambda s: ref.dxf(s, code_page=950, east_north=True, labels=(2.5, 0), skip_junk=True)),
    ("sampleCass-name.dat", "cass", ["--cass-columns=name"], ref.cass_by_name),
    ("sampleCass-name-skip.dat", "cass", ["--cass-columns", "name", "--skip-junk"],
     lambda s: ref.cass_by_name(s, skip_junk=True)),
    ("sampleKaisi-skip.txt", "kaisi", ["--skip-junk"], lambda s: ref.kaisi(s, skip_junk=True)),
]
SUFFIX = {"cad": "CAD.dxf", "cass": "Cass.dat", "kaisi": "Kaisi.txt"}


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAIL:", what)


def convert(folder, source, fmt, options):
    run = subprocess.run([CONVERT, "-f", fmt, "-o", folder, *options, source],
                         capture_output=True, check=False)
    check(run.returncode == 0, "velkaro-convert %s failed: %r" % (options, run.stderr))
    stem = os.path.basename(source).split(".")[0]
    with open(os.path.join(folder, stem + SUFFIX[fmt]), "rb") as output:
        return output.read()


def check_goldens(folder):
    sample = os.path.join(DATA, "golden", "sample.txt")
    with open(sample, "rb") as f:
        source = f.read()
    for name, fmt, options, reference in GOLDEN_ROWS:
        with open(os.path.join(DATA, "golden", "options", name), "rb") as f:
            golden = f.read()
        check(golden == reference(source), name + ": golden differs from the reference")
        check(convert(folder, sample, fmt, options) == golden, name + ": output differs")


def expected_points():
    """(name, code, east, north, z) of examples/rtk-sample.txt, decoded from GBK."""
    with open(os.path.join(EXAMPLES, "rtk-sample.txt"), "rb") as f:
        rows = list(ref.records(f.read()))
    return [(n.decode("gbk"), c.decode("gbk"), ref.parse_number(y), ref.parse_number(x),
             ref.parse_number(z)) for _, n, c, _, x, y, z in rows]


def check_ezdxf_document(doc, how, points):
    entities = list(doc.modelspace())
    point_entities = [e for e in entities if e.dxftype() == "POINT"]
    texts = [e for e in entities if e.dxftype() == "TEXT"]
    check(len(point_entities) == len(points) and len(texts) == 2 * len(points),
          "%s: %d POINT and %d TEXT" % (how, len(point_entities), len(texts)))
    check(entities[:3] and [e.dxftype() for e in entities[:3]] == ["POINT", "TEXT", "TEXT"],
          how + ": each POINT followed by its two TEXT entities")
    for i, (name, code, east, north, z) in enumerate(points[:len(point_entities)]):
        point, label, height = entities[3 * i:3 * i + 3]
        check(point.dxf.layer == code, "%s: layer %r, expected %r" % (how, point.dxf.layer, code))
        check(tuple(point.dxf.location) == (east, north, z), how + ": east on X, north on Y")
        check((label.dxf.layer, label.dxf.text) == ("ZDH", name), how + ": name label")
        check((height.dxf.layer, height.dxf.text) == ("GCD", ref.fixed(z, 3)), how + ": height")
        check(label.dxf.insert.x > east and label.dxf.insert.y > north, how + ": name beside")
    check("控制点5" in {e.dxf.layer for e in point_entities}, how + ": Chinese layer name")


def check_ezdxf(path, points):
    doc = ezdxf.readfile(path)
    check(doc.dxfversion == "AC1009", "ezdxf.readfile: version %s" % doc.dxfversion)
    check(doc.encoding == "gbk", "ezdxf.readfile: encoding %s" % doc.encoding)
    check_ezdxf_document(doc, "ezdxf.readfile", points)
    check(not doc.audit().has_errors, "ezdxf audit found errors")
    recovered, auditor = recover.readfile(path)
    check(not auditor.has_errors, "ezdxf.recover.readfile found errors")
    check_ezdxf_document(recovered, "ezdxf.recover.readfile", points)


def ogr_features(path):
    run = subprocess.run(["ogrinfo", "-al", "-q", path], capture_output=True, check=True)
    features = []
    for line in run.stdout.decode("utf-8").splitlines():
        line = line.strip()
        if line.startswith("OGRFeature"):
            features.append({})
        elif " = " in line and features:
            key, value = line.split(" = ", 1)
            features[-1][key.split(" ")[0]] = value
        elif line.startswith("POINT Z (") and features:
            features[-1]["geometry"] = tuple(float(v) for v in line[9:-1].split())
    return features


def check_ogrinfo(path, plain_path, points):
    features = ogr_features(path)
    check(len(features) == 3 * len(points), "ogrinfo: %d features" % len(features))
    layers = [f.get("Layer") for f in features]
    check("控制点5" in layers, "ogrinfo: Chinese layer name")
    check(layers.count("ZDH") == len(points) and layers.count("GCD") == len(points),
          "ogrinfo: a ZDH and a GCD text per point")
    for i, (name, code, east, north, z) in enumerate(points):
        if 3 * i + 2 >= len(features):
            break
        point, label, _ = features[3 * i:3 * i + 3]
        check(point.get("Layer") == code, "ogrinfo: layer %r" % point.get("Layer"))
        check(point.get("geometry") == (east, north, z), "ogrinfo: east on X for %s" % name)
        check(label.get("Text") == name, "ogrinfo: name label %r" % label.get("Text"))
    plain = [f.get("Layer") for f in ogr_features(plain_path)]
    check("控制点5" not in plain, "ogrinfo reads GBK without the HEADER: the check proves nothing")


def main():
    if shutil.which("ogrinfo") is None:
        sys.exit("FAIL: ogrinfo (gdal-bin) is not installed (scripts/deps test installs it)")
    with tempfile.TemporaryDirectory() as folder:
        check_goldens(folder)
        source = os.path.join(EXAMPLES, "rtk-sample.txt")
        labelled = os.path.join(folder, "labelled")
        os.mkdir(labelled)
        convert(labelled, source, "cad", ["--dxf-codepage", "--dxf-axes=en", "--labels"])
        convert(folder, source, "cad", [])
        points = expected_points()
        check(len(points) == 40, "the example holds %d points" % len(points))
        check_ezdxf(os.path.join(labelled, "rtk-sampleCAD.dxf"), points)
        check_ogrinfo(os.path.join(labelled, "rtk-sampleCAD.dxf"),
                      os.path.join(folder, "rtk-sampleCAD.dxf"), points)
    print("%d failures" % len(FAILURES))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
