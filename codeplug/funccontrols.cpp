#include "codeplug/funccontrols.h"

// Placeholder until the optional functions table lands.
void defineFuncControls(ControlStore&) {}
