#pragma once
// The few texts this layer shows itself (a program that cannot be started,
// the buttons of the manual's window) come from the program's language
// files like every other text. The language lookup of the layer above
// installs itself here at start; until it does, every text is empty.
#include <QString>
#include <QStringList>

namespace platform {

using TextLookup = QString (*)(const QString& section, const QString& key);

// Installs the lookup (null: none).
void setTextLookup(TextLookup lookup);

// The text of `key` in `section` of the language file in use.
QString Testo_Lingua(const QString& section, const QString& key);

// A reason shown to the user: the text of `key` with its %1, %2 filled in
// one pass by `values`. Never empty: without a language lookup (or where the
// text has no place for a value) the values follow the text.
QString Testo_Motivo(const QString& section, const QString& key, const QStringList& values = {});

} // namespace platform
