#include "tools/datagen/FontFace.h"

#include <stdexcept>

namespace {
const char* kFaceFolder = "/usr/share/fonts/truetype/dejavu";
}

std::filesystem::path dejaVuFacePath(const std::string& face) {
    return std::filesystem::path(face).is_absolute() ? std::filesystem::path(face)
                                                     : std::filesystem::path(kFaceFolder) / face;
}

cFreeTypeLibrary::cFreeTypeLibrary() {
    if (FT_Init_FreeType(&m_library)) throw std::runtime_error("FreeType could not start");
}

cFreeTypeLibrary::~cFreeTypeLibrary() { FT_Done_FreeType(m_library); }

cFontFace::cFontFace(const cFreeTypeLibrary& library, const std::filesystem::path& file) : m_name(file.string()) {
    if (FT_New_Face(library.get(), m_name.c_str(), 0, &m_face)) throw std::runtime_error("cannot open the face " + m_name);
}

cFontFace::~cFontFace() { FT_Done_Face(m_face); }

void cFontFace::setPixelSize(int pixels) {
    if (FT_Set_Pixel_Sizes(m_face, 0, FT_UInt(pixels))) throw std::runtime_error("cannot size the face " + m_name);
}
