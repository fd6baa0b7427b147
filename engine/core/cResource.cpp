#include "engine/core/cResource.h"

// cResource is complete in its header; this unit keeps its vtable in one place.
