#pragma once
// The data generator builds the game's Data folder from the sources in data/. Each kind of
// output is one step in a file of its own that registers itself with RW_DATAGEN_STEP; the
// steps run in ascending order.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

struct DataGenContext {
    std::filesystem::path source;  // the repository's data/ folder
    std::filesystem::path out;     // the Data folder being built
    std::filesystem::path generator;  // this program's file: outputs older than it are rebuilt by the steps that care
};

using DataGenStep = void (*)(const DataGenContext& context);

bool registerDataGenStep(const char* name, int order, DataGenStep step);

// True when target is missing or older than any of the given sources (empty paths are none).
bool isOutOfDate(const std::filesystem::path& target, std::initializer_list<std::filesystem::path> sources);

// Writes text as UTF-16LE with a byte-order mark, through a temporary file renamed over the
// target, so an interrupted build never leaves a cut file that looks up to date.
void writeUtf16File(const std::filesystem::path& target, const std::u16string& text);

// Writes bytes the same way: beside the target, then renamed over it. Creates the folders.
void writeFileAtomically(const std::filesystem::path& target, const void* data, size_t size);

struct cImage;
// Draws a one-word label ("_" as a blank) centred on the picture the way the placeholder art
// labels its shapes: only where the picture is not transparent, dark or light by the fill.
void drawArtLabel(cImage& image, const std::string& label, uint32_t fill);

#define RW_DATAGEN_STEP(name, order, fn) \
    static const bool rw_datagen_registered_##name = registerDataGenStep(#name, order, fn)
