// SPDX-License-Identifier: MIT
#pragma once
// The Japanese font adjustment of the windows: with the Japanese language offset every
// control of a window gets the Gothic face at 8 points.

class QWidget;

namespace vxRecInfo {

// The Japanese Gothic system face the windows ask for ("ＭＳ ゴシック").
extern const char16_t* const JapaneseGothicFace;

// Does nothing unless ResOffset is 2000. Then, for every control of form in creation order:
// Gothic face, 8 points, and bold off unless the control is a frame or a command button.
// Never fails: a control that refuses a step just keeps its font.
void ApplyJapaneseFont(QWidget* form) noexcept;

// Makes the Gothic face (and its Latin name "MS Gothic") resolve to the installed Japanese
// Gothic, so that Latin text in the Japanese windows is drawn in the same face. Idempotent.
void registerJapaneseFontSubstitutes();

} // namespace vxRecInfo
