#pragma once
#include <string>

// The three option flags, process-wide; all false until loaded.
struct TAppOptions {
    bool ExploreFolder = false;  // registry "ExploerFolder"
    bool AskDelete = false;      // options.ini [Options] AskDelete
    bool EnableImage = false;    // registry "PicView"
};

extern TAppOptions AppOptions;
