#pragma once
// The per-user settings store as an OptionStore.

#include "PlayerOptions.h"

OptionStore AppOptionStore();
