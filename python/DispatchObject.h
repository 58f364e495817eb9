#pragma once
// vxrecinfo.Dispatch: an automation object as a script sees it. Attribute reads and writes are
// property gets and puts, attributes that name methods (or properties that take arguments) are
// callables; every name goes through GetIDsOfNames and every call through Invoke, as a scripted
// host binds late.

#include "automation/IDispatch.h"

#include <pybind11/pybind11.h>

namespace vxpy {

struct DispatchRef {
    vxRecInfo::ComPtr<vxRecInfo::IDispatch> object;
};

void defineDispatch(pybind11::module_& module);

} // namespace vxpy
