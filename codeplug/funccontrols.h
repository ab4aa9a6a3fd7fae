#pragma once
#include "codeplug/controlstore.h"

// Defines every control of the optional functions window with its caption, items, range,
// maximum length and initial value, and attaches the data rules that tie controls together.
void defineFuncControls(ControlStore& func);
