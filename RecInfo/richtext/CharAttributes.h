// SPDX-License-Identifier: MIT
#pragma once
// The seven character attributes of a run, in the box and in RTF alike. The box names its font
// and gives the size in points (empty and 0: the box's defaults; colour -1: automatic, otherwise
// red | green << 8 | blue << 16). RTF states indexes into the document's font and colour tables
// (colour 0: automatic) and the size in half points; the reader keeps them per group, the writer
// per format it has written.

#include <QString>

#include <cstdint>

namespace vxRecInfo {

template <class Font, class Size, std::int32_t AutomaticColor>
struct CharAttributes {
    Font font{};
    Size size{};
    std::int32_t color = AutomaticColor;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool underline = false;

    friend bool operator==(const CharAttributes&, const CharAttributes&) = default;
};

using CharFormat = CharAttributes<QString, float, -1>;
using RtfCharState = CharAttributes<int, int, 0>;

} // namespace vxRecInfo
