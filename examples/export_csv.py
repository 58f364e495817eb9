#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Record report of a CSV file of logger readings, as rich text and as a PDF.

    export_csv.py READINGS.csv OUTPUT_FOLDER [--serial S] [--title T] [--high 8,8,-15 --low 2,2,-30]

The CSV file has a header row "timestamp,<channel>,<channel>,..." and one row per reading: an
ISO 8601 timestamp (UTC unless it names its offset) and a temperature in degrees Celsius per
channel, taken at a fixed interval. For every channel the report states the highest, lowest,
median and average temperature and the mean kinetic temperature; with --high or --low it also
judges the alarms (one limit for every channel, or one per channel). OUTPUT_FOLDER receives
READINGS.rtf and READINGS.pdf (printed on the component's built-in PDF printer).
"""

import argparse
import csv
import datetime
import math
import os
import pathlib
import statistics
import sys

import vxrecinfo
from vxrecinfo import Array

ACTIVATION_ENERGY = 83.144e3  # J/mol, the usual value for pharmaceuticals
GAS_CONSTANT = 8.314472  # J/(mol K)
PDF_PRINTER = "vxRecInfo PDF"
NO_ALARM = datetime.datetime(1990, 1, 1)  # the first-alarm time that means "none"
# HostSettings.TScale: the letter, the unit and the conversion from Celsius of each scale.
SCALES = {0: ("F", "°F", lambda c: c * 9 / 5 + 32), 1: ("C", "°C", lambda c: c), 2: ("K", "K", lambda c: c + 273.15)}


def utc(text):
    moment = datetime.datetime.fromisoformat(text)
    return moment.astimezone(datetime.timezone.utc).replace(tzinfo=None) if moment.tzinfo else moment


def read_readings(path):
    """The reading times (UTC) and, by channel name, the readings."""
    with open(path, newline="", encoding="utf-8") as file:
        header, *rows = [row for row in csv.reader(file) if row]
    if len(header) < 2 or len(rows) < 2:
        raise ValueError(f"{path}: a header of timestamp and channels, and two readings or more, expected")
    times = [utc(row[0]) for row in rows]
    return times, {name: [float(row[i]) for row in rows] for i, name in enumerate(header[1:], 1)}


def mean_kinetic_temperature(celsius):
    ratio = ACTIVATION_ENERGY / GAS_CONSTANT
    mean = statistics.fmean(math.exp(-ratio / (t + 273.15)) for t in celsius)
    return ratio / -math.log(mean) - 273.15


def figures(readings):
    # MeanVal is the median: the report prints it beside its Median label.
    return {"MaxVal": max(readings), "MinVal": min(readings), "MeanVal": statistics.median(readings),
            "AverageVal": statistics.fmean(readings), "MKT": mean_kinetic_temperature(readings)}


def time_beyond(times, readings, limit, above, interval):
    """Seconds beyond the limit (each reading stands for one interval), and the first such time."""
    beyond = [t for t, r in zip(times, readings) if (r > limit if above else r < limit)]
    return len(beyond) * interval, beyond[0] if beyond else NO_ALARM


def limits_per_channel(limits, count):
    if limits is None:
        return [None] * count
    if len(limits) not in (1, count):
        raise ValueError(f"give one limit, or one for each of the {count} channels")
    return limits * count if len(limits) == 1 else limits


def user_scale():
    settings = vxrecinfo.Dispatch("HostSuite.HostSettings")
    settings.RestoreParameters()
    return settings.TScale


def fill_dataset(rec, source, times, channels, options):
    letter, unit, convert = SCALES.get(user_scale(), SCALES[1])
    count = len(channels)
    interval = int((times[1] - times[0]).total_seconds())

    def per_channel(type, values):
        return Array(type, list(values), lbound=1)  # channel c at index c

    rec.UserSettings = [0, 0, 0, 0, 0, 0, True]  # element 6: the report may be printed
    rec.DataSetDesc = options.title or source.stem
    rec.DataSource = source.name
    rec.Imported = True
    rec.SerialNumber = options.serial
    rec.Author = options.author
    rec.Description = f"{count} channels, {len(times)} readings every {interval // 60} min"
    rec.Logger_Type = "A"
    rec.MeasInterval = interval
    rec.NumOfMeas = len(times)
    rec.RecordStartTime, rec.RecordStopTime = times[0], times[-1]
    rec.LoggerReadDate = rec.LoggerTime = times[-1]
    rec.NumChannels = rec.NumActiveChannels = count
    rec.ChannelNumber = per_channel("Integer", range(1, count + 1))
    rec.ChnlDescription = per_channel("String", channels)
    rec.Meas_Type = per_channel("Long", [1] * count)  # temperature
    rec.Meas_Scale = per_channel("String", [letter] * count)
    rec.Meas_Unit = per_channel("String", [unit] * count)
    stats = [figures(readings) for readings in channels.values()]
    for field in stats[0]:
        setattr(rec, field, per_channel("Single", (convert(s[field]) for s in stats)))

    in_alarm = [False] * count
    for side, limits, above, time_field, first_field in (
            ("High", options.high, True, "TimeOverAlarmLimit", "FirstHiAlarm"),
            ("Low", options.low, False, "TimeBelowLoAlarmLimit", "FirstLowAlarm")):
        limits = limits_per_channel(limits, count)
        beyond = [time_beyond(times, readings, limit, above, interval) if limit is not None else (0, NO_ALARM)
                  for readings, limit in zip(channels.values(), limits)]
        for c, (seconds, _) in enumerate(beyond):
            in_alarm[c] = in_alarm[c] or (limits[c] is not None and seconds >= options.readings * interval)
        setattr(rec, f"Alarm{side}Enabled", per_channel("Boolean", (limit is not None for limit in limits)))
        setattr(rec, f"Alarm{side}Value", per_channel("Single", (convert(limit or 0) for limit in limits)))
        setattr(rec, f"Alarm{side}NumMeas", per_channel("Long", [options.readings] * count))
        setattr(rec, time_field, per_channel("Double", (seconds for seconds, _ in beyond)))
        setattr(rec, first_field, per_channel("Date", (first for _, first in beyond)))
    rec.AlarmMode = per_channel("Integer", [0] * count)  # cumulative: the time beyond counts in total
    rec.AlarmStatusPerChnl = per_channel("Boolean", in_alarm)
    rec.Alarm_Status = any(in_alarm)
    rec.SignatureRead = Array("String", [[""]] * 3)  # no signatures
    rec.UserQuery = Array("String", [[""]], lbound=(1, 0))  # no user input
    return stats, letter


def export(source, folder, options):
    times, channels = read_readings(source)
    folder.mkdir(parents=True, exist_ok=True)
    os.environ["VXRECINFO_PDF_DIR"] = str(folder)  # where the PDF printer writes its jobs
    rec = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
    rec.ClearAllDataSets()
    stats, letter = fill_dataset(rec, source, times, channels, options)
    rec.AddDataSet()

    *_, rtf = rec.RTF_All(0.0, 0, 1, "", "")
    rtf_file = folder / f"{source.stem}.rtf"
    rtf_file.write_text(rtf.rstrip("\f"), encoding="utf-8")  # one report, without its form feed
    earlier = set(folder.glob("job-*.pdf"))
    rec.PrintAll(0.0, 0, 1, PDF_PRINTER)
    pdf_file = folder / f"{source.stem}.pdf"
    max(set(folder.glob("job-*.pdf")) - earlier).replace(pdf_file)

    for name, s in zip(channels, stats):
        print(f"{name}: highest {s['MaxVal']:.1f}, lowest {s['MinVal']:.1f}, median {s['MeanVal']:.1f}, "
              f"average {s['AverageVal']:.1f}, MKT {s['MKT']:.1f} (°C)")
    print(f"wrote {rtf_file} and {pdf_file}")


def limit_list(text):
    return [float(limit) for limit in text.split(",")]


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("csv", type=pathlib.Path, help="the readings")
    parser.add_argument("output", type=pathlib.Path, help="folder for the .rtf and .pdf reports")
    parser.add_argument("--title", help="the dataset's description (default: the file name)")
    parser.add_argument("--serial", default="CSV-IMPORT", help="the logger's serial number")
    parser.add_argument("--author", default="", help="who made the report")
    parser.add_argument("--high", type=limit_list, help="high alarm limit in °C, or one per channel: 8,8,-15")
    parser.add_argument("--low", type=limit_list, help="low alarm limit in °C, or one per channel: 2,2,-30")
    parser.add_argument("--readings", type=int, default=1,
                        help="readings beyond a limit that make an alarm (default 1)")
    options = parser.parse_args(argv)
    try:
        export(options.csv, options.output, options)
    except (OSError, ValueError, IndexError, vxrecinfo.AutomationError) as error:
        print(f"export_csv: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
