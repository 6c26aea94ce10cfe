#pragma once

// Tag codes: a whole number 0..99999 whose ten-thousands digit is the kind and whose lower four
// digits are split by kind into the parts P2, P3 and P4.

#include <cstdint>
#include <string>

namespace vasora::labbook {

/// Splits a tag code. A code outside 0..99999 leaves the outputs as they were and returns
/// false; splitTagError gives the message the learner is shown for it.
bool SplitTag(std::int32_t code, std::int16_t& kind, std::int16_t& P2, std::int16_t& P3,
              std::int16_t& P4);

/// "Try again; Split tag error: " and the code.
std::string splitTagError(std::int32_t code);

// The kinds, by the ten-thousands digit.
enum TagKind : std::int16_t {
    kTagNone = 0,
    kTagTableStart = 1,
    kTagOutputCell = 2,
    kTagInputCell = 3,
    kTagTableButton = 4,
    kTagLink = 5,  ///< links, anchors, figures and the save command, by P2
    kTagInputField = 6,
    kTagRestart = 7,
    kTagPlotStart = 8,
    kTagHeading = 9,
};

// Figure tags (kind 5, P2 3) name their picture ImgNNN by P3. The numbers 900 to 999 are kept
// for live figures: windows the program draws from the running model, which have no picture
// file. Only the ones listed in isKnownLiveFigure exist.
inline constexpr std::int16_t kLiveFigureFirst = 900;
inline constexpr std::int16_t kLiveFigureLast = 999;
/// 53900: Guyton's diagram and the ventricles' pressure-volume loops of the present state.
inline constexpr std::int16_t kLiveGuytonDiagram = 900;

constexpr bool isLiveFigureNumber(int p3) {
    return p3 >= kLiveFigureFirst && p3 <= kLiveFigureLast;
}
constexpr bool isKnownLiveFigure(int p3) {
    return p3 == kLiveGuytonDiagram;
}

}  // namespace vasora::labbook
