#include "core/TagCodes.h"

namespace vasora::labbook {

bool SplitTag(std::int32_t code, std::int16_t& kind, std::int16_t& P2, std::int16_t& P3,
              std::int16_t& P4) {
    if (code > 99999 || code < 0) return false;
    const std::int32_t k = code / 10000;
    std::int32_t rest = code - k * 10000;
    std::int32_t p2 = 0, p3 = 0, p4 = 0;
    switch (k) {
        case 2:
        case 3:
            p2 = rest / 1000;
            rest -= p2 * 1000;
            p3 = rest / 10;
            p4 = rest - p3 * 10;
            break;
        case 4:
        case 6:
        case 7:
        case 9:
            p2 = rest / 1000;
            break;
        case 5:
            p2 = rest / 1000;
            p3 = rest - p2 * 1000;
            break;
        default:
            break;  // kinds 0, 1 and 8 have no parts
    }
    kind = std::int16_t(k);
    P2 = std::int16_t(p2);
    P3 = std::int16_t(p3);
    P4 = std::int16_t(p4);
    return true;
}

std::string splitTagError(std::int32_t code) {
    return "Try again; Split tag error: " + std::to_string(code);
}

}  // namespace vasora::labbook
