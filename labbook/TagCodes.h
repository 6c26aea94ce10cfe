#pragma once

// Tag codes: a whole number 0..99999 whose ten-thousands digit is the kind and whose lower four
// digits are split by kind into the parts P2, P3 and P4.

#include <cstdint>

namespace vasora::labbook {

/// Splits a tag code. A code outside 0..99999 is reported ("Try again; Split tag error: " and
/// the code) and leaves the outputs as they were.
void SplitTag(std::int32_t code, std::int16_t& kind, std::int16_t& P2, std::int16_t& P3,
              std::int16_t& P4);

}  // namespace vasora::labbook
