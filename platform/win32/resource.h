// Numbers of the resources built into the program: the icon, and the pictures as PNG data.
#pragma once

#define IDI_TABBERN 101
// Bitmaps 101 to 112 are RCDATA resources of the same numbers.
#define IDB_FIRST 101
#define IDB_LAST 112
