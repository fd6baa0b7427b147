#pragma once
// The rules of a player name as the profile screens take it from an edit box: blanks (U+0020
// only) go from both ends, then the name is cut as the game data stores it (63 UTF-16 units,
// never inside a surrogate pair), so that the list shows exactly the stored name. Two names
// are the same player when they are equal with the case of every letter folded, not only the
// ASCII ones.

#include "engine/core/cString.h"

namespace profile_names {

// U+0020 removed from the start, then from the end; other white space (U+00A0, tabs) stays.
cStringW trimSpaces(const cStringW& name);
// Trimmed, then cut to what the game data's name field keeps.
cStringW clean(const cStringW& typed);
// The lower-case partner of a letter of Latin-1, Latin Extended-A, Greek or Cyrillic (every
// letter the game's fonts hold, and more); any other unit is returned as it is.
wchar_t foldCase(wchar_t unit);
bool sameIgnoringCase(const cStringW& a, const cStringW& b);

}  // namespace profile_names
