# SPDX-License-Identifier: MIT
"""Fixtures of the vxrecinfo tests: a RecordInfo over an empty store, and one-channel commits."""

import pytest

import vxrecinfo
from vxrecinfo import Array

# The array properties every commit needs, by element type.
CHANNEL_ARRAYS = {
    "Single": "AlarmHighValue AlarmLowValue AverageVal MaxVal MinVal MeanVal MKT",
    "Boolean": "AlarmHighEnabled AlarmLowEnabled AlarmStatusPerChnl",
    "Long": "AlarmHighNumMeas AlarmLowNumMeas Meas_Type",
    "Integer": "ChannelNumber AlarmMode",
    "String": "ChnlDescription Meas_Scale Meas_Unit",
    "Double": "TimeOverAlarmLimit TimeBelowLoAlarmLimit",
}


@pytest.fixture
def rec():
    record = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
    record.ClearAllDataSets()
    return record


@pytest.fixture
def commit():
    """Commits a one-channel dataset (channel 1 at index 1); keywords set properties after the rest."""

    def commit_to(record, **properties):
        record.UserSettings = [0, 0, 0, 0, 0, 0, True]
        record.SerialNumber, record.Logger_Type, record.NumActiveChannels = "A1029384", "A", 1
        for type, names in CHANNEL_ARRAYS.items():
            for name in names.split():
                setattr(record, name, Array(type, [1], lbound=1))
        record.SignatureRead = record.UserQuery = Array("String", [[""]] * 3)
        for name, value in properties.items():
            setattr(record, name, value)
        record.AddDataSet()

    return commit_to
