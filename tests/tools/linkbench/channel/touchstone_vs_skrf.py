"""Compares the Touchstone reader's readings with scikit-rf's.

Usage: /usr/bin/python3 touchstone_vs_skrf.py DIR

DIR holds one JSON file per Touchstone file, as the reader test writes them:
{"path": ..., "ports": n, "f": [Hz...], "re": [...], "im": [...], "z0": [[re, im], ...]}
with S row-major per frequency. Each is compared with skrf.Network(path):
frequencies, every S-parameter and the reference impedances. Prints one line
per file and a closing count line; exits 1 on any difference, 3 when
scikit-rf cannot be imported.
"""
import json
import os
import sys
import warnings

try:
    import numpy as np
    import skrf
except ImportError as exc:  # the test skips on exit status 3
    print("scikit-rf not available: %s" % exc)
    sys.exit(3)

warnings.simplefilter("ignore")


def compare(reading):
    network = skrf.Network(reading["path"])
    n = reading["ports"]
    f = np.array(reading["f"])
    s = (np.array(reading["re"]) + 1j * np.array(reading["im"])).reshape(len(f), n, n)
    problems = []
    if network.s.shape != s.shape:
        return ["shape %s, scikit-rf %s" % (s.shape, network.s.shape)], ""
    if not np.allclose(f, network.f, rtol=1e-12, atol=0):
        problems.append("frequencies differ by up to %.3g Hz" % np.max(np.abs(f - network.f)))
    scale = np.maximum(np.abs(network.s), 1.0)
    worst = np.max(np.abs(s - network.s) / scale)
    if worst > 1e-9:
        problems.append("S differs by up to %.3g" % worst)
    # Field solvers that do not renormalise write each frequency's port
    # impedances in '!' comments; the reader keeps to the option line's R.
    with open(reading["path"], errors="replace") as handle:
        if "port impedance" in handle.read().lower():
            return problems, "reference in comments, not compared"
    z0 = np.array([complex(re, im) for re, im in reading["z0"]])
    if not np.allclose(np.broadcast_to(z0, network.z0.shape), network.z0, rtol=1e-12):
        problems.append("reference %s, scikit-rf %s" % (z0, network.z0[0]))
    return problems, "reference too"


def main():
    folder = sys.argv[1]
    compared = differ = 0
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name)) as handle:
            reading = json.load(handle)
        compared += 1
        problems, what = compare(reading)
        if problems:
            differ += 1
            print("DIFFERS %s: %s" % (reading["path"], "; ".join(problems)))
        else:
            print("same    %s (%d ports, %d frequencies; %s)" % (reading["path"], reading["ports"], len(reading["f"]), what))
    print("compared %d files with scikit-rf %s, %d differ" % (compared, skrf.__version__, differ))
    sys.exit(1 if differ else 0)


main()
