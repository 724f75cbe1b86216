// The shared look sits below both programs.
#include "quick/QuickLook.h"
