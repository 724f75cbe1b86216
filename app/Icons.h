#pragma once
#include <vector>

#include "win/ImageList.h"

// The program's own command pictures, drawn at any size.
enum class Icon { Blank, Add, Edit, Delete, Up, Down, Refresh, Exit };

// The picture at each index of the 16 x 16 menu list and the 32 x 32
// tool-bar list; the indexes are those the actions and buttons name.
std::vector<Icon> SmallImageSlots();
std::vector<Icon> LargeImageSlots();
void FillImageList(win::ImageList& list, const std::vector<Icon>& slots);
