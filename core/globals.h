#pragma once
// Every piece of shared state of the program, in one include: the working-list
// arrays, the time and body globals, the settings, the fixed data tables and
// the run flags of the clock.
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/settings.h"
