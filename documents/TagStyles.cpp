#include "documents/TagStyles.h"

#include "core/TagCodes.h"
#include "documents/RtfFormat.h"

namespace vasora::documents {
namespace {

struct Parts {
    int kind = -1;
    int p2 = 0;
};

// Codes in a document are always in range; out-of-range ones are left alone here rather than
// reported, since drawing a document must not raise a message.
Parts split(int code) {
    if (code < 0 || code > kMaxTagCode) return {};
    std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
    labbook::SplitTag(code, kind, p2, p3, p4);
    return {kind, p2};
}

class LabBookTagStyle final : public TagStylePolicy {
  public:
    TagStyle tagStyle(int code) const override {
        const Parts p = split(code);
        switch (p.kind) {
            case 3:  // input cell: the learner types into it; a click runs nothing
                return {TagLook::InputField, false};
            case 4:  // table button
            case 7:  // restart
                return {TagLook::Button, true};
            case 5:
                if (p.p2 == 3) return {TagLook::Figure, true};
                if (p.p2 == 4) return {TagLook::Button, true};  // save the lab book
                return {TagLook::Link, true};
            case 6:
                return {TagLook::InputField, true};
            default:
                return {};
        }
    }
    TagLook hyperlinkLook() const override { return TagLook::Link; }
};

class InfoTagStyle final : public TagStylePolicy {
  public:
    TagStyle tagStyle(int code) const override {
        const Parts p = split(code);
        if (p.kind != 5) return {};
        if (p.p2 == 2) return {TagLook::Link, true};
        if (p.p2 == 3) return {TagLook::Figure, true};
        return {};
    }
    TagLook hyperlinkLook() const override { return TagLook::Link; }
};

}  // namespace

std::shared_ptr<const TagStylePolicy> labBookTagStyle() {
    static const auto policy = std::make_shared<const LabBookTagStyle>();
    return policy;
}

std::shared_ptr<const TagStylePolicy> infoTagStyle() {
    static const auto policy = std::make_shared<const InfoTagStyle>();
    return policy;
}

}  // namespace vasora::documents
