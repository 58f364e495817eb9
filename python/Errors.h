// SPDX-License-Identifier: MIT
#pragma once
// AutomationError: how a failed call reaches a script, with the run-time error number, its
// HResult, source and description. Errors a Python protocol looks for are also the Python
// error it expects: 9 an IndexError, 13, 449 and 450 a TypeError, 438 an AttributeError (so
// hasattr and getattr with a default work on a Dispatch object), 28 (out of stack space) a
// RecursionError; a file that is not there (53) a FileNotFoundError, one that may not be read a
// PermissionError.

#include "automation/RuntimeError.h"

#include <pybind11/pybind11.h>

namespace vxpy {

// Defines the exception classes in the module and makes every C++ exception that reaches a
// binding an AutomationError.
void defineErrors(pybind11::module_& module);

// Raises the AutomationError of info (throws pybind11::error_already_set), with the HResult the
// call failed with, or the one the error number gives.
[[noreturn]] void raiseAutomationError(const vxRecInfo::ErrorInfo& info, vxRecInfo::HResult hr);
[[noreturn]] void raiseAutomationError(const vxRecInfo::ErrorInfo& info);
// The same for an error about a file: filename (a path object or str) becomes its filename, and
// systemError, the errno of opening it, chooses the OSError (ENOENT or error 53: not found;
// EACCES, EPERM: permission).
[[noreturn]] void raiseFileError(const vxRecInfo::ErrorInfo& info, pybind11::handle filename, int systemError = 0);

} // namespace vxpy
