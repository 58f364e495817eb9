# SPDX-License-Identifier: MIT
"""examples/dask_reports.py on two worker processes: the same reports as one process makes."""

import json
import os
import pathlib
import shutil
import subprocess
import sys

import pytest

import vxrecinfo

distributed = pytest.importorskip("distributed")

SOURCE = pathlib.Path(__file__).resolve().parents[2]
# Three files on two workers: one worker makes the reports of two, one after the other.
GOOD = ("four-channel-temperature.json", "rf-network-alarms.json", "temp-humidity.json")


def with_unknown_key():
    document = json.loads((SOURCE / "samples/temp-humidity.json").read_text())
    document["datasets"].append({"NoSuchProperty": 1})
    return json.dumps(document)


# Refused where the JSON breaks off, and after a dataset was committed.
BAD = {"truncated.json": '{"datasets": [', "unknown-key.json": with_unknown_key()}


def one_process(folder, *recordings):
    """Writes into folder what the example writes, made in this process with the same calls."""
    os.environ["VXRECINFO_PDF_DIR"] = str(folder)
    # RTF_NT writes the info file but leaves making its folder to the host.
    data = os.environ.get("XDG_DATA_HOME") or pathlib.Path.home() / ".local/share"
    pathlib.Path(data, "Orvale Systems").mkdir(parents=True, exist_ok=True)
    for path in map(pathlib.Path, recordings):
        datasets = vxrecinfo.load_recordings(path)
        rec = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
        (folder / f"{path.stem}.rtf").write_bytes(rec.RTF_All(0.0, 0, datasets, "", "")[-1].encode())
        (folder / f"{path.stem}.txt").write_bytes(rec.RTF_NT("")[0].encode())
        rec.PrintAll(0.0, 0, datasets, "vxRecInfo PDF")
        (job,) = folder.glob("job-*.pdf")
        job.rename(folder / f"{path.stem}.pdf")


def as_read(path):
    """A PDF as poppler reads it: its text and its page count."""
    text = subprocess.run(["pdftotext", path, "-"], check=True, capture_output=True).stdout
    info = subprocess.run(["pdfinfo", path], check=True, capture_output=True, text=True).stdout
    return text, [line for line in info.splitlines() if line.startswith("Pages:")]


def test_workers_write_what_one_process_writes_and_name_the_files_they_cannot_load(tmp_path):
    inputs, output, scratch, cwd, reference = (tmp_path / name for name in ("in", "out", "scratch", "cwd", "reference"))
    for folder in (inputs, cwd, reference):
        folder.mkdir()
    for name in GOOD:
        shutil.copy(SOURCE / "samples" / name, inputs)
    for name, text in BAD.items():
        (inputs / name).write_text(text)

    run = subprocess.run([sys.executable, SOURCE / "examples/dask_reports.py", inputs, output, "--workers", "2",
                          "--local-directory", scratch], cwd=cwd, capture_output=True, text=True, timeout=120)
    assert run.returncode == 1, run.stderr
    failed = sorted(line.split(":")[0] for line in run.stderr.splitlines() if ": failed: " in line)
    assert failed == sorted(BAD), run.stderr
    assert f"{len(GOOD)} of {len(GOOD) + len(BAD)} file(s) done" in run.stdout

    # A load's settings stay for the process: the reference is made in a process of its own.
    subprocess.run([sys.executable, __file__, reference, *(inputs / name for name in GOOD)], check=True, timeout=60)
    made_files, expected_files = sorted(output.iterdir()), sorted(reference.iterdir())
    assert [f.name for f in made_files] == [f.name for f in expected_files]  # and no temporary file
    for made, expected in zip(made_files, expected_files):
        if made.suffix == ".pdf":
            assert as_read(made) == as_read(expected), made
        else:
            assert made.read_bytes() == expected.read_bytes(), made
    assert not list(cwd.iterdir())
    assert not (SOURCE / "dask-worker-space").exists()


if __name__ == "__main__":
    one_process(pathlib.Path(sys.argv[1]), *sys.argv[2:])
