#pragma once
// The per-user settings store as an OptionStore. It reads the file when it is made: make one
// for each run of reads that belong together, not one to keep.

#include "PlayerOptions.h"

OptionStore AppOptionStore();
