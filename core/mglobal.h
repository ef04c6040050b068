#pragma once
// Small procedures shared by many windows: whether a window is open, the
// computer's time-zone state, the file name at the end of a URL, the network
// state and the text of a duration. None keeps state between calls.
// The drawing helpers (gradient, arrow, transparent copy) are in
// common/window_helpers.h.
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

namespace mGlobal {

// True when a loaded window has that name (compared without regard to case).
// A window's name is its class name or its object name. Never loads a window.
// A window counts as loaded from its creation to its destruction, hidden or
// not. Windows are found through the registered windows below and through the
// window lister that the user interface installs (common/window_helpers.h).
bool Form_Aperta(const QString& name);

// Makes a window known to Form_Aperta until it is destroyed.
void Registra_Finestra(QObject* window);
// Installs the function that lists the program's live windows (or removes it
// with an empty function).
void Imposta_Elenco_Finestre(std::function<QList<QObject*>()> lister);

// The computer's time-zone state: bias in minutes to add to local time to get
// universal time (daylight offset included when in force) and whether
// daylight time is in force. False when the state is unknown: bias 0 and the
// flag left as it was.
bool Leggi_Fuso_Orario(float& bias, bool& daylight);

// The text after the last "/" of a URL; the whole URL when it has none.
QString Nome_File_Da_URL(const QString& url);

// True when the computer reports a network connection.
bool Connessione_Internet();

// A duration in seconds as "HH:MM:SS" (hours grow past two digits for 100
// hours and more; fractions of a second are dropped; a negative duration is
// 00:00:00; a duration that is not a number, or of 10^15 seconds and more,
// gives the empty text).
QString Formatta_Durata(float seconds);

} // namespace mGlobal
