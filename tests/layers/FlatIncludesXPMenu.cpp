// The two component sets use win/ only.
#include "xpmenu/XPMenu.h"
