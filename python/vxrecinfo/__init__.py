# SPDX-License-Identifier: MIT
"""The vxRecInfo record-report component for Python scripts.

rec = vxrecinfo.Dispatch("vxRecInfo.RecordInfo") creates an object by program identifier (or
CLSID text); its properties are attributes and its methods calls, bound late by name as a
scripted host binds them. Failed calls raise AutomationError; a with block releases the object.
"""

from ._vxrecinfo import (
    Array,
    AutomationAttributeError,
    AutomationError,
    AutomationFileNotFoundError,
    AutomationIndexError,
    AutomationPermissionError,
    AutomationRecursionError,
    AutomationTypeError,
    BoundMember,
    Dispatch,
    PdfVerification,
    __version__,
    load_recordings,
    verify_pdf,
)

__all__ = [
    "Array",
    "AutomationAttributeError",
    "AutomationError",
    "AutomationFileNotFoundError",
    "AutomationIndexError",
    "AutomationPermissionError",
    "AutomationRecursionError",
    "AutomationTypeError",
    "BoundMember",
    "Dispatch",
    "PdfVerification",
    "load_recordings",
    "verify_pdf",
]

# Reprs, pickles and help name the package, not the extension inside it.
for _name in __all__:
    globals()[_name].__module__ = __name__
del _name
