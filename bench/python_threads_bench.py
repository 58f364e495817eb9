# SPDX-License-Identifier: MIT
"""Python threads and the component: two threads with their own objects against one, and a
pure-Python thread's pace while a batch runs against its pace alone. Prints key=value pairs.

Usage: PYTHONPATH=build/python python3 bench/python_threads_bench.py [DATASETS]"""

import atexit
import os
import shutil
import sys
import tempfile
import threading
import time

home = tempfile.mkdtemp()
atexit.register(shutil.rmtree, home, True)  # runs after the module's own clean-up, registered later
for var in ("HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"):
    os.environ[var] = os.path.join(home, var.lower())
os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

import vxrecinfo  # noqa: E402  (after the environment it reads)
from vxrecinfo import Array  # noqa: E402

COUNT = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
ARRAYS = {"Single": "AlarmHighValue AlarmLowValue AverageVal MaxVal MinVal MeanVal MKT",
          "Boolean": "AlarmHighEnabled AlarmLowEnabled AlarmStatusPerChnl",
          "Long": "AlarmHighNumMeas AlarmLowNumMeas Meas_Type", "Integer": "ChannelNumber AlarmMode",
          "String": "ChnlDescription Meas_Scale Meas_Unit", "Double": "TimeOverAlarmLimit TimeBelowLoAlarmLimit"}


def batch():
    """A thread's own object with COUNT one-channel datasets; returns the call that exports them."""
    record = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
    record.ClearAllDataSets()
    record.UserSettings = [0, 0, 0, 0, 0, 0, True]
    for i in range(COUNT):
        record.SerialNumber, record.Logger_Type, record.NumActiveChannels = f"A{i:07}", "A", 1
        for kind, names in ARRAYS.items():
            for name in names.split():
                setattr(record, name, Array(kind, [1], lbound=1))
        record.SignatureRead = record.UserQuery = Array("String", [[""]] * 3)
        record.AddDataSet()
    return lambda: record.RTF_All(0.0, 0, 1, "", "")


def timed(work):
    began = time.perf_counter()
    work()
    return time.perf_counter() - began


def threads(count):
    """Seconds for count threads, each exporting its own batch at once (made beforehand)."""
    ready, exports, seconds = threading.Barrier(count + 1), [], []

    def run():
        export = batch()
        ready.wait()
        export()

    pool = [threading.Thread(target=run) for _ in range(count)]
    for t in pool:
        t.start()
    ready.wait()
    began = time.perf_counter()
    for t in pool:
        t.join()
    return time.perf_counter() - began


# A batch takes some 50 ms here, so each figure is the best (or, for the pace, the median) of
# ROUNDS after one round that warms the allocator up.
ROUNDS = 5
threads(1)
one = min(threads(1) for _ in range(ROUNDS))
two = min(threads(2) for _ in range(ROUNDS))
print(f"datasets={COUNT} one_thread_seconds={one:.4f} two_threads_seconds={two:.4f} "
      f"two_over_one={2 * one / two:.2f}")

ticks, running = [0], [True]


def count():
    while running[0]:
        ticks[0] += 1


def pace():
    """The counter's ticks while a batch runs over its ticks for as long while this thread sleeps."""
    export = batch()
    start = ticks[0]
    took = timed(export)
    during = ticks[0] - start
    start = ticks[0]
    time.sleep(took)
    return during / (ticks[0] - start)


counter = threading.Thread(target=count)
counter.start()
paces = sorted(pace() for _ in range(ROUNDS))
running[0] = False
counter.join()
print(f"python_pace_during_batch={paces[ROUNDS // 2]:.2f}")
