#pragma once
// FreeType faces for the generator steps that draw text (the bitmap fonts, the labels of the
// placeholder art). Faces are DejaVu files of the system's fonts-dejavu-core package.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>
#include <string>

// The face file: an absolute name stays, a bare file name is looked up in the DejaVu folder.
std::filesystem::path dejaVuFacePath(const std::string& face);

// The FreeType library, open for the object's life. Throws when FreeType cannot start.
class cFreeTypeLibrary {
public:
    cFreeTypeLibrary();
    ~cFreeTypeLibrary();
    cFreeTypeLibrary(const cFreeTypeLibrary&) = delete;
    cFreeTypeLibrary& operator=(const cFreeTypeLibrary&) = delete;
    FT_Library get() const { return m_library; }

private:
    FT_Library m_library = nullptr;
};

// One face of a file, open for the object's life. Throws a text naming the file when it
// cannot be opened.
class cFontFace {
public:
    cFontFace(const cFreeTypeLibrary& library, const std::filesystem::path& file);
    ~cFontFace();
    cFontFace(const cFontFace&) = delete;
    cFontFace& operator=(const cFontFace&) = delete;
    FT_Face get() const { return m_face; }
    // Sets the size; throws when the face refuses it.
    void setPixelSize(int pixels);

private:
    FT_Face m_face = nullptr;
    std::string m_name;
};
