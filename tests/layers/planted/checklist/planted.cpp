// Planted for the layer check: a rule that draws.
#include "checklist/checklist.h"

#include <QLabel>
