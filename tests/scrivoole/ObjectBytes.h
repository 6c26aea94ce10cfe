#pragma once
// Embedded objects as bytes, built and read independently of the library, for its tests and for
// the tests of the control that holds objects through it.
#include <cstdint>
#include <string>
#include <vector>

namespace scrivotest {

// Two pictures the tests embed: red on the left and blue on the right of a picture 40 pixels
// wide, and green all over (colours 0xRRGGBB).
constexpr std::uint32_t kRed = 0xC00000, kBlue = 0x0000C0, kGreen = 0x00A000;
std::uint32_t redAndBlue(int x, int y);
std::uint32_t green(int x, int y);

// A 24-bit .bmp file whose pixel (x, y) has the colour colorAt(x, y) (0xRRGGBB).
std::string bmpFile(int width, int height, std::uint32_t (*colorAt)(int x, int y));

// The bytes of the hexadecimal digits in hex; anything else is passed over.
std::vector<std::uint8_t> fromHex(const std::string& hex);
std::string toHex(const std::vector<std::uint8_t>& bytes);

// An embedded object in the single-stream form.
std::vector<std::uint8_t> ole1(const std::string& className, const std::string& topic,
                               const std::string& native,
                               const std::vector<std::uint8_t>& presentation);
std::vector<std::uint8_t> noPresentation();

// The names and native data of an embedded object in the single-stream form; false when the
// bytes are not one (every length is checked).
struct Ole1Parts {
    std::string className, topic, item, native;
};
bool readOle1(const std::vector<std::uint8_t>& bytes, Ole1Parts& parts);

}  // namespace scrivotest
