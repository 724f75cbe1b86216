// The two component sets use win/ only.
#include "flatctrls/FlatUtilitys.h"
