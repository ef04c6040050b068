#pragma once
// One predicted pass as the windows hand it on: from the search to the
// result lists, the listing, the pass map and its printed sheet. It carries
// its own satellite (the parsed element set and the three element lines it
// came from) and its three events as Julian dates (UT), so that nothing
// downstream finds the satellite again by name or slot, or reads a time back
// from a text.
#include "astro/records.h"

#include <QString>

namespace core {

struct RecordPassaggio {
    Satelement elementi;    // the satellite's element set, as the search used it
    RigaDati righe;         // its name line and element lines
    QString numero;         // catalogue number, text as in line 1
    double jdSorgere = 0;   // rise, Julian date UT
    double jdCulmine = 0;   // culmination
    double jdTramonto = 0;  // set
};

} // namespace core
