// win/ knows nothing of the program.
#include "app/Main.h"
