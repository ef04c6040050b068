#pragma once
// The pieces of the element-file download that need no network and no
// window: turning an entry of the download list into an address, deciding
// whether a received body is an element file worth saving over the user's
// file, and the figures of the transfer display. QtCore only, so that a fuzz
// target can call them on any bytes.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace network {

// Limits of one transfer. The largest element file of the services is a few
// megabytes; a body past the limit is no element file and is refused.
inline constexpr qint64 kLimiteCorpo = 64LL * 1024 * 1024;
// Redirects followed at most (a moved service answers with one or two).
inline constexpr int kMassimoRedirect = 5;
// Milliseconds without a byte from the server before the transfer is given up.
inline constexpr int kTempoMassimoMs = 30000;
// Bytes a reply's header may take, as servers bound their own (tens of
// kilobytes; an element-set service sends well under one).
inline constexpr qint64 kLimiteIntestazione = 64 * 1024;

// The address of a download entry: blanks around it dropped; "http://" or
// "https://" in any letter case kept as the scheme, none means http; a port
// may follow the host; a text without "/" after the host asks for "/".
// An empty, unreadable or host-less entry gives an invalid QUrl.
QUrl Url_Da_Voce(const QString& voce);

// Whether a body holds NORAD element sets, three lines each (name line,
// line 1, line 2), and nothing else. Line ends may be CR LF, LF or CR; blank
// lines may follow the last set. Line 1 and line 2 begin "1 " and "2 ", are
// at least 69 characters long and carry the same catalogue number, so a
// body cut short in its last set, an HTML page or an error text is refused.
// A line holding a control character (escape, bell, NUL, DEL, the C1 range;
// a tab is allowed) is refused too: names are shown and written back as they
// are. So is a set with a number field that the element-set parser would
// refuse for not holding a number whole (a blank inside it, a letter, a
// symbol): saved over the user's file it would be left out there.
struct ControlloElementi {
    bool valido = false;
    int insiemi = 0;     // whole sets read
    int riga = 0;        // when not valid: the line (from 1) where it stopped
                         // looking like element sets; 0 for an empty body
    bool controllo = false;  // refused for a control character in that line
    // Refused for a number field of that line, columns da to a, that does
    // not hold a number whole (0 otherwise).
    int da = 0;
    int a = 0;
};
ControlloElementi Controlla_elementi(const QByteArray& corpo);

// The speed in thousands of bytes a second, to two decimals: the whole bytes
// per second divided by 1000. Nothing when no time has passed.
std::optional<double> Velocita(qint64 ricevuti, double secondi);
// "5.12 KB", "12.5 KB", "3 KB": the shortest decimal form.
QString Testo_velocita(double kb);
// Whole seconds left: (announced - received) / 1024 / speed, dropped to a
// whole number. Nothing when the speed is 0.
std::optional<double> Secondi_rimasti(qint64 dimensione, qint64 ricevuti, double velocita);

} // namespace network
