// May use itself and win/.
#include "win/Window.h"
#include "xpmenu/XPMenu.h"
