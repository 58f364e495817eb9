// SPDX-License-Identifier: MIT
#pragma once
// What a screen reader learns of the report view: its text, its selection and its caret,
// through Qt's accessibility interfaces. Installed by the first view made.

namespace vxRecInfo {

void installRichTextViewAccessibility();

} // namespace vxRecInfo
