#pragma once
// Planted for the layer check: a rule that reaches up into the windows.
#include "app/main.h"
