// Compiles the shared records on their own, so the header stays self-contained.
#include "astro/records.h"
