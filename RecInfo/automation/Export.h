// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// What libvxRecInfo.so exports: the classes and functions of the installed headers, each
/// marked with VXRECINFO_EXPORT. The library is built with hidden visibility, so everything else
/// stays inside it and can change without changing the library's ABI.

/// Marks a class or function of the installed headers as exported by the library.
#define VXRECINFO_EXPORT __attribute__((visibility("default")))
