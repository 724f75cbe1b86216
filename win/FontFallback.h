#pragma once
#include <windows.h>

#include <string>

#include "win/Gdi.h"

namespace win {

// A control that draws its text through Uniscribe (an edit, under some
// systems) shows boxes for characters its font lacks, where plain GDI text
// would take them from the faces the system links to that font. This gives
// the control a font of the same size in the first linked face that has
// every character of `text`, else in the one that lacks the fewest; null
// when `font` has them all, or no linked face has more of them.
FontHandle FontForText(HFONT font, const std::wstring& text);

}  // namespace win
