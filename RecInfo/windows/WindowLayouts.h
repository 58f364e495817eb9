// SPDX-License-Identifier: MIT
#pragma once
// The geometry of the three windows in twips, and their resize rules, apart from any widget:
// the windows apply these rectangles to their controls.

namespace vxRecInfo {

struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
};

// Statistics and Info window: client 9240 x 5790 at design.
struct StatisticsLayout {
    TwipsRect cboTrace{240, 120, 4995, 315};
    TwipsRect cmdNote{5340, 60, 1215, 435};
    TwipsRect cmdPrint{6570, 60, 1215, 435};
    TwipsRect cmdOk{7800, 60, 1215, 435};
    TwipsRect txtInfo{210, 600, 8805, 4845};
    TwipsRect chkDetails{260, 5490, 3255, 255};
    static constexpr double ClientWidth = 9240;
    static constexpr double ClientHeight = 5790;
    // Taken once at load, from the design geometry.
    float widthMargin = float(ClientWidth - 8805);
    float heightMargin = float(ClientHeight - 4845);
    float detailsOffset = float(ClientHeight - 5490);

    void resize(double clientWidth, double clientHeight);
};

// Import window: client 9240 x 6165 at design.
struct ImportLayout {
    TwipsRect cboTrace{240, 120, 5800, 315};
    TwipsRect cboTimeZone{240, 540, 5800, 315};
    TwipsRect lblFile{6210, 150, 2805, 280};
    TwipsRect lblTimeZone{6210, 630, 2805, 280};
    TwipsRect txtInfo{210, 1050, 8805, 4455};
    TwipsRect cmdNote{4830, 5640, 1215, 435};
    TwipsRect cmdCancel{6480, 5640, 1215, 435};
    TwipsRect cmdImport{7800, 5640, 1215, 435};
    TwipsRect chkDetails{260, 5640, 1875, 255};
    static constexpr double ClientWidth = 9240;
    static constexpr double ClientHeight = 6165;
    float widthMargin = float(ClientWidth - 8805);
    float heightMargin = float(ClientHeight - 4455);
    float detailsOffset = float(ClientHeight - 5640);
    float buttonOffset = float(ClientHeight - 5640);

    // windowWidth: the outer width, frame included.
    void resize(double clientWidth, double clientHeight, double windowWidth);
};

// Recording note window: client 8250 x 6120 at design.
struct NoteLayout {
    TwipsRect txtNote{390, 330, 7515, 4935};
    TwipsRect cmdOk{6240, 5520, 1635, 375};
    TwipsRect cmdCancel{4440, 5520, 1635, 375};
    static constexpr double ClientWidth = 8250;
    static constexpr double ClientHeight = 6120;
    float widthMargin = float(ClientWidth - 7515);
    float heightMargin = float(ClientHeight - 4935);
    float buttonOffset = float(ClientHeight - 5520);
    float buttonSpacing = float(6240 - 4440);

    void resize(double clientWidth, double clientHeight);
};

// Below this client height (a minimised window) the boxes keep their size.
inline constexpr double MinimumLayoutHeight = 1300;

} // namespace vxRecInfo
