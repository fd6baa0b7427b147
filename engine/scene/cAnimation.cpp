#include "engine/scene/cAnimation.h"

#include "engine/core/cIniFile.h"

void loadAnimation(cAnimation* animation, const cIniFile& ini, const cStringW& section) {
    if (!animation) return;
    animation->picture = ini.getValue(section, cStringW(L"picture")).toNarrow();
    stringToBool(&animation->looped, ini.getValue(section, cStringW(L"anim_looped")));
    stringToFloat(&animation->length, ini.getValue(section, cStringW(L"anim_length")));
    stringToUnsigned(&animation->frameCount, ini.getValue(section, cStringW(L"anim_frame_count")));
    float size[2] = {animation->frameSize.x, animation->frameSize.y};
    parseVector2(size, ini.getValue(section, cStringW(L"anim_frame_size")));
    animation->frameSize = cVector2(size[0], size[1]);
}
