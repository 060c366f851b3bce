// The QIX records: both slots always exist; the level decides how many are in play.
#include "enemies/qix.h"

Qix qix_slots[QIX_SLOTS];
int32_t qix_captured = 0;
