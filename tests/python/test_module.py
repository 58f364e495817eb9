# SPDX-License-Identifier: MIT
"""The vxrecinfo module as a script uses it: values both ways, arrays, calls, errors, the store."""

import datetime as dt
import inspect
import json
import os
import pathlib
import subprocess
import sys
import threading
import time

import pytest

import vxrecinfo
from vxrecinfo import Array, AutomationError

D = dt.datetime
SOURCE = pathlib.Path(__file__).resolve().parents[2]
ODD_TEXT = "x\U0001F5A8\u00e9"  # a character beyond 16 bits (a surrogate pair in the component)
NAN = float("nan")


def nested(depth):
    value = []
    for _ in range(depth):
        value = [value]
    return value


def containing_itself():
    value = [1]
    value.append(value)
    return value


@pytest.mark.parametrize("value, stored", [
    (None, 0), (True, -1), (7, 7), (2.5, 2), (3.5, 4), ("12", 12),
    (dt.date(1900, 1, 1), 2), (D(1900, 1, 2, 12), 4),
])
def test_python_values_reach_the_declared_type_by_the_classic_rules(rec, value, stored):
    rec.TimeZone = value
    assert rec.timezone == stored


@pytest.mark.parametrize("progid, member, args, expected", [
    ("vxRecInfo.RecordInfo", "NoteChangeAllowed", None, False),
    ("HostSuite.TimeZoneService", "TZoneID", None, 0),
    ("HostSuite.TimeZoneService", "TimeZoneName", (D(2026, 3, 1),), "GMT"),
    ("HostSuite.TimeZoneService", "GMT2Time", (D(2026, 3, 1, 8, 0, 0, 600000), 0), D(2026, 3, 1, 8, 0, 1)),
    ("HostSuite.TimeZoneService", "GMT2Time", (dt.date(2026, 3, 1), 0), D(2026, 3, 1)),
])
def test_values_come_back_as_python_values(progid, member, args, expected):
    value = getattr(vxrecinfo.Dispatch(progid), member)
    value = value(*args) if args else value
    assert (value, type(value)) == (expected, type(expected))


@pytest.mark.parametrize("array, type, lbound, ubound, first, items", [
    (Array("Single", [21.5], lbound=1), "Single", 1, 1, 21.5, [21.5]),
    (Array("String", [["a", "b"], ["c", "d"]], lbound=(1, 0)), "String", (1, 0), (2, 1), "a", [["a", "b"], ["c", "d"]]),
    (Array("Variant", [[1, None], ["x", True]]), "Variant", (0, 0), (1, 1), 1, [[1, None], ["x", True]]),
    (Array("boolean", [1, 0], lbound=-2), "Boolean", -2, -1, True, [True, False]),
    (Array("Date", [dt.date(2026, 1, 2)]), "Date", 0, 0, D(2026, 1, 2), [D(2026, 1, 2)]),
    (Array("Integer", []), "Integer", 0, -1, None, []),
    (Array("Long"), "Long", None, None, None, []),
])
def test_arrays_keep_their_type_bounds_and_elements(array, type, lbound, ubound, first, items):
    shape = (array.type, array.lbound, array.ubound, array.tolist(), list(array), len(array))
    assert shape == (type, lbound, ubound, items, items, len(items))
    assert first is None or array[lbound] == first


@pytest.mark.parametrize("call, expected", [
    (lambda r: r.RTF_All(0.0, 0, 1, ODD_TEXT, "")[:4], (0.0, 1, 1, ODD_TEXT)),
    (lambda r: "\\tab 21.5" in r.RTF_All(0.0, 0, 1, "", "")[4], True),
    (lambda r: "Carrier\\tab Midwest Reefer" in r.RTF_All(0.0, 0, 1, "", "")[4], True),
    (lambda r: r.RTF_All(0.0, 0, 1, "", "", False)[5:], (False,)),
    (lambda r: r.RTF_All(0.0, 0, 1, "", "", enablepagenumbering=False)[5:], (False,)),
    (lambda r: r.RTF_All(0.0, 0, 1, "", "")[4] == r.RTF_All(0.0, 0, 1, "", "", True)[4], True),
    (lambda r: r.RTF_All(0.0, 0, 1, "", "")[4] == r.RTF_All(0.0, 0, 1, "", "", False)[4], False),
    (lambda r: len(r.RTF_NT("")), 1),
    (lambda r: r.ClearAllDataSets(), None),
])
def test_calls_return_the_result_and_the_by_reference_arguments(rec, commit, call, expected):
    commit(rec, MaxVal=Array("Single", [21.5], lbound=1),
           UserQuery=Array("String", [["Carrier"], ["Midwest Reefer"]], lbound=(1, 0)))
    assert call(rec) == expected


@pytest.mark.parametrize("size", [3, 300_000])  # either side of where the lock is let go
@pytest.mark.parametrize("wide", ["", "\u00b0", "\u20ac", "\U0001F5A8"])  # ASCII, Latin-1, 16 bits, a pair
def test_texts_come_back_whole_in_their_narrowest_kind(rec, commit, size, wide):
    text = "A" * (size // 2) + wide + "z" * (size - size // 2) + wide
    commit(rec)
    back = rec.RTF_All(0.0, 0, 1, text, "")[3]
    shape = (len(back), back == text, back.isascii(), back[size // 2:size // 2 + 1])
    assert shape == (len(text), True, not wide, (wide or "z")[0])


@pytest.mark.parametrize("action, number, hresult, python_error", [
    (lambda r: setattr(r, "TimeZone", "abc"), 13, 0x800A000D, TypeError),
    (lambda r: setattr(r, "TimeZone", {}), 13, 0x800A000D, TypeError),
    (lambda r: setattr(r, "TimeZone", 40000), 6, 0x800A0006, AutomationError),
    (lambda r: setattr(r, "TimeZone", 2**40), 6, 0x800A0006, AutomationError),
    (lambda r: setattr(r, "TimeZone", dt.date(99, 12, 31)), 6, 0x800A0006, AutomationError),
    (lambda r: r.NoSuchMember, 438, 0x800A01B6, AttributeError),
    (lambda r: r.SerialNumber, 438, 0x80020003, AttributeError),
    (lambda r: r.RTF_All(), 449, 0x8002000F, TypeError),
    (lambda r: r.AddDataSet(1), 450, 0x8002000E, TypeError),
    (lambda r: r.RTF_All(0.0, 0, 1, RTF_Text=""), 449, 0x8002000F, TypeError),
    (lambda r: r.RTF_All(0.0, 0, 1, "", "", Bogus=1), 448, 0x800A01C0, AutomationError),
    (lambda r: r.AddDataSet(), 13, 0x800A000D, TypeError),
    (lambda r: vxrecinfo.Dispatch("HostSuite.TimeZoneService").GMT2Time(D(2026, 1, 1), 999), 9, 0x800A0009, IndexError),
    (lambda r: Array("Integer", [1], lbound=1)[0], 9, 0x800A0009, IndexError),
    (lambda r: Array("Integer", [[1]])[1], 9, 0x800A0009, IndexError),
    (lambda r: Array("Integer", ["abc"]), 13, 0x800A000D, TypeError),
    (lambda r: Array("Integer", [40000]), 6, 0x800A0006, AutomationError),
    (lambda r: vxrecinfo.Dispatch("No.Such"), 429, 0x800A01AD, AutomationError),
    (lambda r: setattr(r, "UserSettings", containing_itself()), 28, 0x800A001C, RecursionError),
    (lambda r: setattr(r, "UserSettings", nested(60000)), 28, 0x800A001C, RecursionError),
    (lambda r: setattr(r, "UserSettings", (1, nested(1000))), 28, 0x800A001C, RecursionError),
    (lambda r: Array("Variant", [containing_itself()]), 28, 0x800A001C, RecursionError),
    (lambda r: setattr(r, "DataSetDesc", "x\ud800"), 0, 0x80004005, AutomationError),
    (lambda r: setattr(r, "DataSetDesc", "\udfff\ud800"), 0, 0x80004005, AutomationError),
    (lambda r: Array("String", ["\udc00"]), 0, 0x80004005, AutomationError),
    (lambda r: r.RTF_All(NAN, 0, 1, "", ""), 6, 0x800A0006, AutomationError),
    (lambda r: Array("Single", [NAN]), 6, 0x800A0006, AutomationError),
    (lambda r: Array("Double", [-NAN]), 6, 0x800A0006, AutomationError),
    (lambda r: closed().ClearAllDataSets, 91, 0x800A005B, AutomationError),
    (lambda r: dir(closed()), 91, 0x800A005B, AutomationError),
    (lambda r: closed().__enter__(), 91, 0x800A005B, AutomationError),
    (lambda r: setattr(r, "UserSettings", [closed()]), 91, 0x800A005B, AutomationError),
    (lambda r: inspect.signature(bound_then_closed("RTF_All")), 91, 0x800A005B, AutomationError),
    (lambda r: bound_then_closed("RTF_All")(0.0, 0, 1, "", ""), 91, 0x800A005B, AutomationError),
])
def test_errors_carry_their_number_and_leave_the_object_usable(rec, action, number, hresult, python_error):
    with pytest.raises(python_error) as caught:
        action(rec)
    error = caught.value
    assert isinstance(error, AutomationError) and error.description and error.source
    assert (error.number, error.hresult) == (number, hresult)
    rec.TimeZone = 3
    assert rec.TimeZone == 3


def test_lists_nest_a_thousand_levels_deep_both_ways(rec):
    rec.UserSettings = nested(999)
    array = Array("Variant", nested(999))
    value, depth = array, 1
    while len(value):
        value, depth = value[0], depth + 1
    assert depth == 1000 and repr(Array("Variant", nested(99))).count("[") == 100
    with pytest.raises(RecursionError):  # Python's own limit on nested reprs, not the stack
        repr(array)


def test_objects_of_one_thread_share_one_store(rec, commit):
    commit(rec, Note="first")
    commit(rec, Note="second")
    other = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
    assert other.NoteArray.tolist() == ["first", "second"]
    commit(other, Note="third")  # its own count starts at 0, so the store starts over
    assert (rec.NoteArray.tolist(), rec.NoteChanged.tolist()) == (["third"], [False])


def test_batch_services_tell_a_progress_callback_and_stop_when_it_raises(rec, commit):
    commit(rec)
    commit(rec)
    events = []
    rec.RTF_All(0.0, 0, 1, "", "", progress=lambda *event: events.append(event))
    assert events == [("dataset", 1, 2), ("dataset", 2, 2)]

    def stop(*event):
        raise KeyError("stop")

    with pytest.raises(KeyError):
        rec.RTF_All(0.0, 0, 1, "", "", progress=stop)
    assert "A1029384" in rec.RTF_All(0.0, 0, 1, "", "")[4]  # no callback left behind


def test_windows_without_a_display_fail_instead_of_waiting_for_ever(rec, commit):
    commit(rec)
    for show, args in ((rec.ShowInfo, ()), (rec.ShowImport, (Array("Boolean", [True]),)), (rec.ShowNote, ())):
        with pytest.raises(AutomationError) as caught:
            show(*args)
        assert caught.value.number == 445 and "display" in caught.value.description


def closed():
    with vxrecinfo.Dispatch("vxRecInfo.RecordInfo") as record:
        pass
    return record


def bound_then_closed(name):
    record = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
    member = getattr(record, name)
    record.close()
    return member


def test_a_with_block_releases_its_object_and_lets_an_exception_through():
    with pytest.raises(ZeroDivisionError):
        with vxrecinfo.Dispatch("vxRecInfo.RecordInfo") as record:
            assert repr(record) == "<vxrecinfo.Dispatch _RecordInfo>"
            1 / 0
    record.close()  # once more: nothing
    assert repr(record) == "<vxrecinfo.Dispatch closed>"


KEYWORDS = "*, progress=None, pdfa=None, sign=None, passphrase_file=None"


@pytest.mark.parametrize("member, signature, doc", [
    (lambda: vxrecinfo.load_recordings, "(path)", "Loads a recordings file"),
    (lambda: vxrecinfo.verify_pdf, "(path)", "Checks a PDF file's last signature"),
    (lambda: vxrecinfo.Dispatch, "(name)", "An automation object"),
    (lambda: vxrecinfo.Array, "(type, values=None, lbound=0)", "A safe array"),
    (lambda: vxrecinfo.Dispatch("vxRecInfo.RecordInfo").RTF_All,
     f"(PJob, StartPageNum, TotalPages, PrinterName, RTF_Text, EnablePageNumbering=True, {KEYWORDS})",
     "RTF_All: method of _RecordInfo.\n  PJob: Double, by reference\n"),
    (lambda: vxrecinfo.Dispatch("vxRecInfo.RecordInfo").ShowInfo,
     f"(ListIndexPointer=0, {KEYWORDS})", "ListIndexPointer: Integer, by reference, optional\nThe call returns a tuple"),
    (lambda: vxrecinfo.Dispatch("HostSuite.TimeZoneService").GMT2Time,
     f"(date, zone, {KEYWORDS})", "GMT2Time: property of _TimeZoneService, returns Date.\ndate: Date\nzone: Integer"),
])
def test_members_have_signatures_and_docstrings(member, signature, doc):
    assert (str(inspect.signature(member())), doc in inspect.getdoc(member())) == (signature, True)


# Root reads any file: without its capabilities to, a file of mode 0 is forbidden to it too.
UNPRIVILEGED = ["setpriv", "--bounding-set=-dac_override,-dac_read_search"] if os.geteuid() == 0 else []
FILE_ERRORS = """
import json, sys, vxrecinfo
outcomes = []
for call, path in json.loads(sys.argv[1]):
    try:
        getattr(vxrecinfo, call)(path)
        outcomes.append(None)
    except OSError as error:
        outcomes.append([type(error).__name__, error.number, error.errno, error.filename == path])
print(json.dumps(outcomes))
"""


def test_files_that_cannot_be_read_are_the_os_errors_python_knows(tmp_path):
    for name in ("forbidden.json", "forbidden.pdf"):
        (tmp_path / name).write_text("{}")
        (tmp_path / name).chmod(0)
    calls = [("load_recordings", str(tmp_path / "forbidden.json")), ("verify_pdf", str(tmp_path / "forbidden.pdf")),
             ("verify_pdf", str(tmp_path / "missing.pdf")), ("verify_pdf", str(tmp_path / "forbidden.json" / "x.pdf"))]
    run = subprocess.run(UNPRIVILEGED + [sys.executable, "-c", FILE_ERRORS, json.dumps(calls)],
                         capture_output=True, text=True, check=True)
    assert json.loads(run.stdout) == [["AutomationPermissionError", 75, 13, True]] * 2 + \
        [["AutomationFileNotFoundError", 53, 2, True]] * 2


def in_thread(work):
    """Runs work() on a thread of its own; returns what it returned or raises what it raised."""
    outcome = {}

    def run():
        try:
            outcome["value"] = work()
        except BaseException as error:  # handed to the caller's thread
            outcome["error"] = error

    thread = threading.Thread(target=run)
    thread.start()
    thread.join()
    if "error" in outcome:
        raise outcome["error"]
    return outcome["value"]


def test_an_object_is_refused_on_a_thread_not_its_own(rec, commit):
    commit(rec)
    with pytest.raises(AutomationError) as caught:
        in_thread(lambda: rec.RTF_All(0.0, 0, 1, "", ""))
    assert (caught.value.hresult, caught.value.number) == (0x8001010E, -0x7FFEFEF2)
    assert "one object per thread" in caught.value.description
    with pytest.raises(AutomationError):
        in_thread(rec.close)
    assert len(rec.NoteArray) == 1  # its own thread's store is untouched, the object still open


def test_a_batch_lets_python_threads_run(commit):
    # A Python thread counts while a batch runs and then while this thread sleeps as long: it
    # keeps most of its pace only if the batch lets go of the interpreter (12 % when it does not).
    ticks, running = [0], [True]

    def count():
        while running[0]:
            ticks[0] += 1

    record = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
    record.ClearAllDataSets()
    for _ in range(800):
        commit(record)
    counter = threading.Thread(target=count)
    counter.start()
    try:
        start, began = ticks[0], time.monotonic()
        record.RTF_All(0.0, 0, 1, "", "")
        during, took = ticks[0] - start, time.monotonic() - began
        start = ticks[0]
        time.sleep(took)
        idle = ticks[0] - start
    finally:
        running[0] = False
        counter.join()
    assert during > 0.3 * idle, f"a Python thread ran {during} steps during a batch, {idle} while idle"


@pytest.fixture(scope="module")
def signing_key(tmp_path_factory):
    folder = tmp_path_factory.mktemp("key")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Cold Chain QA",
                    "-keyout", folder / "key.pem", "-out", folder / "cert.pem"], check=True, capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-inkey", folder / "key.pem", "-in", folder / "cert.pem",
                    "-out", folder / "key.p12", "-passout", "pass:s3cret"], check=True)
    (folder / "passphrase").write_text("s3cret\n")
    return folder


def test_print_keywords_sign_and_archive_one_call_only(rec, commit, signing_key):
    pdf = pathlib.Path(os.environ["VXRECINFO_PDF_DIR"])
    commit(rec)
    rec.PrintAll(0.0, 0, 1, "vxRecInfo PDF", pdfa=True, sign=signing_key / "key.p12",
                 passphrase_file=signing_key / "passphrase")
    rec.PrintAll(0.0, 0, 1, "vxRecInfo PDF")  # the keywords were for the call before
    signed, plain = sorted(pdf.glob("job-*.pdf"))[-2:]
    checked = vxrecinfo.verify_pdf(signed)
    assert (bool(checked), checked.signer, checked.covers_whole_file) == (True, "Cold Chain QA", True)
    assert (bool(vxrecinfo.verify_pdf(plain)), vxrecinfo.verify_pdf(plain).problem) == (False, "is not signed")
    meta = [subprocess.run(["pdfinfo", "-meta", f], check=True, capture_output=True, text=True).stdout for f in (signed, plain)]
    assert ["pdfaid:part>1<" in m for m in meta] == [True, False]
    with pytest.raises(FileNotFoundError):
        rec.PrintAll(0.0, 0, 1, "vxRecInfo PDF", sign=signing_key / "missing.p12")


def test_threads_load_files_of_their_own(tmp_path):
    # At the same time, each thread with its own file: its own settings, datasets and reports.
    sample = json.loads((SOURCE / "samples/four-channel-temperature.json").read_text())
    files = []
    for scale in (0, 2):
        path = tmp_path / f"scale-{scale}.json"
        path.write_text(json.dumps(dict(sample, settings=dict(sample["settings"], TScale=scale))))
        files.append(path)

    def report(path):
        count = vxrecinfo.load_recordings(path)
        return vxrecinfo.Dispatch("vxRecInfo.RecordInfo").RTF_All(0.0, 0, count, "", "")[4]

    alone = [in_thread(lambda p=p: report(p)) for p in files]
    together = [None, None]
    pair = [threading.Thread(target=lambda i=i: together.__setitem__(i, report(files[i]))) for i in range(2)]
    for thread in pair:
        thread.start()
    for thread in pair:
        thread.join()
    assert together == alone and "6.4F" in alone[0] and "6.4K" in alone[1]


def test_the_stubs_match_the_package(tmp_path):
    """mypy's stubtest compares every name and signature of the stubs with the package's own."""
    allowed = SOURCE / "tests/python/stubtest-allowlist.txt"
    run = subprocess.run([sys.executable, "-m", "mypy.stubtest", "vxrecinfo", "--concise", "--allowlist", str(allowed)],
                         cwd=tmp_path, env={**os.environ, "MYPYPATH": os.environ["PYTHONPATH"]},
                         capture_output=True, text=True)
    assert run.returncode == 0, run.stdout + run.stderr


# Last: a loaded file's settings stay for the tests after it.
@pytest.mark.parametrize("path, outcome", [
    (SOURCE / "samples/four-channel-temperature.json", ("committed", 2, 2)),
    (SOURCE / "tests/data/recordings/store-wrong-element-type.json", ("error", 13, True, AutomationError)),
    ("no-such-file.json", ("error", 53, True, FileNotFoundError)),
    ("deep.json", ("error", 28, True, RecursionError)),
])
def test_load_recordings_commits_as_recinfo_store_does(rec, tmp_path, path, outcome):
    if path == "deep.json":
        path = tmp_path / path
        path.write_text('{"datasets": [{"MaxVal": ' + "[" * 50000 + "]" * 50000 + "}]}")
    try:
        loaded = "committed", vxrecinfo.load_recordings(path), len(vxrecinfo.Dispatch("vxRecInfo.RecordInfo").NoteArray)
    except AutomationError as error:
        kind = next((k for k in (FileNotFoundError, RecursionError) if isinstance(error, k)), AutomationError)
        loaded = "error", error.number, str(path) in error.description, kind
    assert loaded == outcome

