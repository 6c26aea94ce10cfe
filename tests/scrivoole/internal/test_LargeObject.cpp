// Objects larger than LoadRtf holds in memory (the limit lowered here): kept whole and written
// back byte for byte, or, when they cannot be kept, refused with a message and never written
// cut short.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ExtensionObject.h"
#include "LibraryState.h"

using namespace scrivoole;
namespace fs = std::filesystem;

namespace {

struct TextReader {
    ScrivoRtfReader base;
    std::string text;
    std::size_t at = 0;
};
std::int32_t SCRIVOOLE_CALL nextChar(ScrivoRtfReader* r) {
    auto* reader = reinterpret_cast<TextReader*>(r);
    return reader->at < reader->text.size() ? static_cast<unsigned char>(reader->text[reader->at++])
                                            : -1;
}
const ScrivoRtfReaderOps kReaderOps = {nextChar};

struct TextWriter {
    ScrivoRtfWriter base;
    std::string text;
};
std::int32_t SCRIVOOLE_CALL writeText(ScrivoRtfWriter* w, const char* text, std::int32_t length) {
    reinterpret_cast<TextWriter*>(w)->text.append(text, static_cast<std::size_t>(length));
    return 0;
}
const ScrivoRtfWriterOps kWriterOps = {{nullptr, nullptr, nullptr, nullptr}, writeText};

std::vector<std::string>& errors() {
    static std::vector<std::string> e;
    return e;
}
void SCRIVOOLE_CALL showError(void*, const char* text) {
    errors().emplace_back(text);
}

// Bytes that are no object: they stay unreadable at any size.
std::string hexOf(std::size_t size) {
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        static const char digits[] = "0123456789abcdef";
        const auto b = static_cast<unsigned>((i * 7 + 3) & 0xFF);
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

// What SaveRtf writes for unreadable bytes: a line break after every 80 digits.
std::string savedData(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 80) {
        out += hex.substr(i, 80);
        if (i + 80 <= hex.size()) out += "\r\n";
    }
    return "{\\object\\objemb{\\*\\objdata \r\n" + out + "\r\n}{\\result }}";
}

class LargeObjects : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = objectBytesInMemory();
        objectBytesInMemory() = 1000;
        ScrivoHostHooks hooks{};
        hooks.showError = showError;
        state().hooks = hooks;
        errors().clear();
        object = newExtensionObject(1, nullptr, nullptr);
    }
    void TearDown() override {
        object->ops->Destroy(object, 1);
        objectBytesInMemory() = saved;
        state().hooks = {};
    }
    void load(const std::string& hex) {
        TextReader reader{{&kReaderOps}, hex + "}", 0};
        ASSERT_EQ(object->ops->LoadRtf(object, &reader.base, 0), 1);
        EXPECT_EQ(reader.at, reader.text.size());
    }
    std::string save(std::int32_t expected = 1) {
        TextWriter writer{{&kWriterOps, 0}, {}};
        EXPECT_EQ(object->ops->SaveRtf(object, &writer.base, "other"), expected);
        return writer.text;
    }
    std::size_t saved = 0;
    ScrivoExtensionObject* object = nullptr;
};

TEST_F(LargeObjects, KeptWholeOnEitherSideOfTheLimit) {
    for (std::size_t size : {999u, 1000u, 1001u, 4000u, 123457u}) {
        const std::string hex = hexOf(size);
        load(hex);
        EXPECT_EQ(save(), savedData(hex)) << size << " bytes";
        EXPECT_EQ(static_cast<Item*>(object->item)->unreadableBytes.size() <= 1000, true) << size;
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(LargeObjects, TheCopyOnDiskGoesWithTheItem) {
    load(hexOf(5000));
    const auto* item = static_cast<Item*>(object->item);
    ASSERT_FALSE(item->unreadableFile.empty());
    const fs::path file = item->unreadableFile;
    EXPECT_EQ(fs::file_size(file), 5000u);
    object->ops->DeleteItem(object);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(LargeObjects, ACopyChangedOnDiskIsNotWrittenCutShort) {
    load(hexOf(5000));
    fs::resize_file(static_cast<Item*>(object->item)->unreadableFile, 4000);
    save(0);
}

// Without a temporary folder the object cannot be kept: it is refused, and saving it fails
// rather than write part of it. In a child process, which makes a temporary folder of its own.
TEST_F(LargeObjects, RefusedWithAMessageWhenItCannotBeKept) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("TMPDIR", "/nonexistent-scrivoole-test", 1);
        TextReader reader{{&kReaderOps}, hexOf(3000) + "}", 0};
        if (object->ops->LoadRtf(object, &reader.base, 0) != 1) std::_Exit(1);
        TextWriter writer{{&kWriterOps, 0}, {}};
        if (object->ops->SaveRtf(object, &writer.base, "other") != 0) std::_Exit(2);
        if (!writer.text.empty()) std::_Exit(3);
        std::_Exit(
            errors().size() == 1 && errors()[0].find("could not be kept") != std::string::npos ? 0
                                                                                               : 4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
