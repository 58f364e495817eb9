#pragma once
// A run's character attributes as RTF states them: indexes into the document's font and colour
// tables, the size in half points and the four styles. The reader keeps them per group, the
// writer per format it has written.

namespace vxRecInfo {

struct RtfCharState {
    int font = 0;
    int halfPoints = 0;
    int color = 0; // 0: the automatic colour
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool underline = false;
};

} // namespace vxRecInfo
