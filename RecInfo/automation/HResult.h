// SPDX-License-Identifier: MIT
#pragma once
// Result codes of the automation boundary, as the host's automation run-time knows them.

#include <cstdint>

namespace vxRecInfo {

using HResult = std::int32_t;

constexpr bool failed(HResult hr) { return hr < 0; }
constexpr bool succeeded(HResult hr) { return hr >= 0; }

constexpr HResult hresultFrom(std::uint32_t bits) { return static_cast<HResult>(bits); }

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOINTERFACE = hresultFrom(0x80004002u);
inline constexpr HResult E_POINTER = hresultFrom(0x80004003u);
inline constexpr HResult E_FAIL = hresultFrom(0x80004005u);
inline constexpr HResult E_OUTOFMEMORY = hresultFrom(0x8007000Eu);
inline constexpr HResult E_INVALIDARG = hresultFrom(0x80070057u);
inline constexpr HResult CLASS_E_NOAGGREGATION = hresultFrom(0x80040110u);
inline constexpr HResult CLASS_E_CLASSNOTAVAILABLE = hresultFrom(0x80040111u);
inline constexpr HResult REGDB_E_CLASSNOTREG = hresultFrom(0x80040154u);
inline constexpr HResult SELFREG_E_CLASS = hresultFrom(0x80040201u);
inline constexpr HResult RPC_E_WRONG_THREAD = hresultFrom(0x8001010Eu);
inline constexpr HResult DISP_E_MEMBERNOTFOUND = hresultFrom(0x80020003u);
inline constexpr HResult DISP_E_TYPEMISMATCH = hresultFrom(0x80020005u);
inline constexpr HResult DISP_E_UNKNOWNNAME = hresultFrom(0x80020006u);
inline constexpr HResult DISP_E_EXCEPTION = hresultFrom(0x80020009u);
inline constexpr HResult DISP_E_BADPARAMCOUNT = hresultFrom(0x8002000Eu);
inline constexpr HResult DISP_E_PARAMNOTOPTIONAL = hresultFrom(0x8002000Fu);

// Facility of the classic Basic run-time: error n travels as 0x800A0000 | n.
inline constexpr std::uint32_t FacilityControlBase = 0x800A0000u;

} // namespace vxRecInfo
