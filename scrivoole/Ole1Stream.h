#pragma once
// The single-stream form of an embedded object that rich-text files carry in \objdata: the
// object header (version, format 2, class, topic and item names), the native data, then the
// presentation the container shows.
#include <cstdint>
#include <string>
#include <vector>

namespace scrivoole {

struct Ole1Object {
    std::string className;
    std::string topic;  // the file the object came from, without its folder
    std::string item;
    std::vector<std::uint8_t> native;
    // The presentation part as stored, from its header on; empty when there is none.
    std::vector<std::uint8_t> presentation;
};

constexpr std::uint32_t kOle1Version = 0x00000501;
constexpr std::uint32_t kFormatEmbedded = 2;

std::vector<std::uint8_t> ole1Bytes(const Ole1Object& object);

// Reads an embedded object; every length is checked against the bytes present. A linked
// object, which would name a file elsewhere, is refused. A presentation that cannot be read is
// left out; the object itself is still read.
bool parseOle1(const std::uint8_t* data, std::size_t size, Ole1Object& out);

// A metafile presentation of width x height hundredths of a millimetre.
std::vector<std::uint8_t> metafilePresentation(std::int32_t width, std::int32_t height,
                                               const std::vector<std::uint8_t>& metafile);

struct MetafileView {
    std::int32_t width = 0;  // hundredths of a millimetre
    std::int32_t height = 0;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};
// The metafile of a stored presentation; false when it holds another kind or none.
bool presentationMetafile(const std::vector<std::uint8_t>& presentation, MetafileView& view);

}  // namespace scrivoole
