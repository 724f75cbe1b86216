#include "app/Global.h"

TAppOptions AppOptions;
