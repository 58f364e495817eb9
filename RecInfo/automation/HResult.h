// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Result codes of the automation boundary, as the host's automation run-time knows them.

#include <cstdint>

/// The component's API: the automation object model (interfaces, Variants, safe arrays, dates,
/// run-time errors, late binding, the class registry) and the RecordInfo class a host creates
/// through it.
namespace vxRecInfo {

/// A result code: negative for a failure, S_OK or S_FALSE for success.
using HResult = std::int32_t;

/// Whether hr is a failure (negative).
constexpr bool failed(HResult hr) { return hr < 0; }
/// Whether hr is a success (S_OK, S_FALSE or any other value that is not negative).
constexpr bool succeeded(HResult hr) { return hr >= 0; }

/// The HResult of a code written as its unsigned bits (0x80004002u).
constexpr HResult hresultFrom(std::uint32_t bits) { return static_cast<HResult>(bits); }

/// Success.
inline constexpr HResult S_OK = 0;
/// Success that answers no: DllCanUnloadNow while objects live.
inline constexpr HResult S_FALSE = 1;
/// The object does not implement the interface asked for.
inline constexpr HResult E_NOINTERFACE = hresultFrom(0x80004002u);
/// A pointer argument that must not be null was null.
inline constexpr HResult E_POINTER = hresultFrom(0x80004003u);
/// An unspecified failure.
inline constexpr HResult E_FAIL = hresultFrom(0x80004005u);
/// Memory ran out.
inline constexpr HResult E_OUTOFMEMORY = hresultFrom(0x8007000Eu);
/// An argument is not valid.
inline constexpr HResult E_INVALIDARG = hresultFrom(0x80070057u);
/// A class factory was asked to aggregate, which no class here supports.
inline constexpr HResult CLASS_E_NOAGGREGATION = hresultFrom(0x80040110u);
/// DllGetClassObject does not serve the class asked for.
inline constexpr HResult CLASS_E_CLASSNOTAVAILABLE = hresultFrom(0x80040111u);
/// The class is not registered.
inline constexpr HResult REGDB_E_CLASSNOTREG = hresultFrom(0x80040154u);
/// The registration entries could not be written or removed.
inline constexpr HResult SELFREG_E_CLASS = hresultFrom(0x80040201u);
/// An object was called on a thread other than its apartment's.
inline constexpr HResult RPC_E_WRONG_THREAD = hresultFrom(0x8001010Eu);
/// Invoke found no member of that DISPID and kind.
inline constexpr HResult DISP_E_MEMBERNOTFOUND = hresultFrom(0x80020003u);
/// An argument could not be converted to its declared type.
inline constexpr HResult DISP_E_TYPEMISMATCH = hresultFrom(0x80020005u);
/// GetIDsOfNames knows no member of that name.
inline constexpr HResult DISP_E_UNKNOWNNAME = hresultFrom(0x80020006u);
/// The member raised an error; its error information says which.
inline constexpr HResult DISP_E_EXCEPTION = hresultFrom(0x80020009u);
/// More arguments than the member has parameters.
inline constexpr HResult DISP_E_BADPARAMCOUNT = hresultFrom(0x8002000Eu);
/// A parameter that is not optional was omitted.
inline constexpr HResult DISP_E_PARAMNOTOPTIONAL = hresultFrom(0x8002000Fu);

/// Facility of the classic Basic run-time: error n travels as 0x800A0000 | n.
inline constexpr std::uint32_t FacilityControlBase = 0x800A0000u;

} // namespace vxRecInfo
