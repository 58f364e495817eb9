// SPDX-License-Identifier: MIT
#pragma once
// vxrecinfo.Dispatch: an automation object as a script sees it. Attribute reads and writes are
// property gets and puts, attributes that name methods (or properties that take arguments) are
// callables; every name goes through GetIDsOfNames and every call through Invoke, as a scripted
// host binds late.

#include "automation/IDispatch.h"

#include <pybind11/pybind11.h>

#include <thread>

namespace vxpy {

// An object and the thread it belongs to: the component is apartment-threaded, so an object
// works on the state of the thread that made it, and is refused on any other.
struct DispatchRef {
    vxRecInfo::ComPtr<vxRecInfo::IDispatch> object;
    std::thread::id thread = std::this_thread::get_id();
};

// Error 91 (object variable not set) for an object that was closed.
void requireOpen(const DispatchRef& self);

void defineDispatch(pybind11::module_& module);

} // namespace vxpy
