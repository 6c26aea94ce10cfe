#pragma once

#include <cstdint>

namespace vasora::model {

/// A colour as red, green and blue, 0 to 255 each.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The program names its colours by the sixteen-colour console palette.
namespace palette {
constexpr Rgb Black{0, 0, 0};              // 0
constexpr Rgb Red{128, 0, 0};              // 4
constexpr Rgb LightBlue{0, 0, 255};        // 9
constexpr Rgb LightRed{255, 0, 0};         // 12
constexpr Rgb LightMagenta{255, 0, 255};   // 13
constexpr Rgb LightYellow{255, 255, 0};    // 14
constexpr Rgb BrightWhite{255, 255, 255};  // 15
}  // namespace palette

/// RGB(255, 0, 0): the red of a ventricle's compliance past its stiff threshold.
constexpr Rgb kRgbRed{255, 0, 0};
/// Background of a parameter label at its normal value.
constexpr Rgb kParamNormal{255, 255, 0};
/// Background of a changed parameter's label (ColorChanged).
constexpr Rgb kColorChanged{200, 255, 255};

}  // namespace vasora::model
