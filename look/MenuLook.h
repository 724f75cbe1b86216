#pragma once
#include "xpmenu/XPMenu.h"

// Sets a painter to Pathnook's menu look (its font, system colours, no
// gradient, flat frames off) and turns it on.
void ApplyMenuLook(xpmenu::TXPMenu& painter);
