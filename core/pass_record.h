#pragma once
// One predicted pass as a record: the satellite's element set with its
// element lines and catalogue number, and its rise, culmination and set as
// Julian dates (UT). A pass travels as this record from the search to the
// result lists, the details, the pass map, its printed sheet and the listing.
#include "astro/records.h"

#include <QString>

namespace core {

struct RecordPassaggio {
    Satelement elementi;
    RigaDati righe;
    QString numero;
    double jdSorgere = 0, jdCulmine = 0, jdTramonto = 0;
};

} // namespace core
