#pragma once
// What the user is told about a file the program could not read.
#include <QString>

namespace common {

// When the file is there, the reason the reader gave (too large, not an
// ordinary file, no permission), titled with the file; when it is not,
// that it was not found.
void Avvisa_File_Non_Letto(const QString& percorso, const QString& motivo);

} // namespace common
