// Planted for the layer check: a rule that draws.
#include "records/result_table.h"

#include <QLabel>
