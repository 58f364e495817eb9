# SPDX-License-Identifier: MIT
"""examples/export_csv.py on the bundled readings: its report states the figures of the CSV."""

import csv
import math
import pathlib
import re
import statistics
import subprocess
import sys

SOURCE = pathlib.Path(__file__).resolve().parents[2]
READINGS = SOURCE / "samples/cold-room-readings.csv"
LABELS = ("Highest Temperature:", "Lowest Temperature:", "Median Temperature:", "Average Temperature:",
          "Mean Kinetic Temperature:")


def figures_of_the_readings():
    with open(READINGS, newline="") as file:
        _, *rows = csv.reader(file)
    ratio = 83144 / 8.314472
    figures = {label: [] for label in LABELS}
    for column in list(zip(*rows))[1:]:
        values = [float(v) for v in column]
        mkt = ratio / -math.log(statistics.fmean(math.exp(-ratio / (v + 273.15)) for v in values)) - 273.15
        for label, figure in zip(LABELS, (max(values), min(values), statistics.median(values),
                                          statistics.fmean(values), mkt)):
            figures[label].append(f"{figure:.1f}")
    return figures


def test_the_report_states_the_figures_of_every_channel(tmp_path):
    subprocess.run([sys.executable, SOURCE / "examples/export_csv.py", READINGS, tmp_path, "--high", "8"], check=True)
    rtf = (tmp_path / "cold-room-readings.rtf").read_text(encoding="utf-8")
    stated = {label: re.findall(re.escape(label) + r"\\tab (-?\d+\.\d)C", rtf) for label in LABELS}
    assert stated == figures_of_the_readings()
    assert (tmp_path / "cold-room-readings.pdf").read_bytes().startswith(b"%PDF")
