#pragma once
#include "store/Programs.h"

// Command numbers of the main window's actions: what a menu item, tool-bar
// button or short-cut sends as WM_COMMAND.
enum CommandId : unsigned {
    cmdAddFolder = 101,
    cmdEdit = 102,
    cmdDelete = 103,
    cmdItemUp = 104,
    cmdItemDown = 105,
    cmdSort = 106,
    cmdRefresh = 107,
    cmdExit = 108,
    cmdOptions = 111,
    cmdImport = 121,
    cmdExport = 122,
    cmdUndo = 131,
    cmdOpenFolder = 132,
};


// The program's icon in the resources (16, 32 and 48 pixels).
constexpr int kAppIconId = 1;

// Posted to itself by the main window when its first showing is done: the
// errors that start-up met are shown then, over the window.
constexpr unsigned WM_STARTUPERRORS = ManagerMessages + 0x04;
