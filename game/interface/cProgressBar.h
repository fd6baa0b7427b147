#pragma once
// A frame picture with a fill picture (its child) whose visible width is a fraction of a
// configured full size: the fill shows the left part of its texture. The fill's section is the
// bar's section followed by "_PROGRESS", with key "size" the fill's full width and height.

#include "engine/scene/cPicture.h"

class cProgressBar : public cPicture {
public:
    explicit cProgressBar(cSceneNode* parent = nullptr);
    ~cProgressBar() override;

    // The bar from the section, the fill from section + "_PROGRESS", then fraction 0.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // 0 or less (or not a number) hides the fill; otherwise, clipped to 1, the fill shows
    // (0, 0, f x full width, full height) of its texture.
    void setFraction(float fraction);

    cPicture* getFill() const { return m_fill; }
    const cVector2& getFullSize() const { return m_full_size; }

private:
    cPicture* m_fill;
    cVector2 m_full_size;
};
