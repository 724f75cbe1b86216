// win/ knows nothing of the component sets.
#include "xpmenu/XPMenu.h"
