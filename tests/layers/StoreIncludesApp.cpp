// The store layout is below the program.
#include "app/Global.h"
