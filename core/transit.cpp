#include "core/transit.h"

#include "astro/mate.h"
#include "core/clock.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/msat.h"
#include "core/working_list.h"
#include "platform/vb.h"

#include <QLocale>

#include <cmath>

std::vector<core::PuntoPassaggio> gudtPuntiPassaggio(1);
std::vector<core::EtichettaPassaggio> gudtEtichettePassaggio(1);

namespace core {

namespace {
constexpr std::uint32_t kGiallo = 0x00FFFF; // RGB(255, 255, 0)
constexpr std::uint32_t kRosso = 0x0000FF;  // RGB(255, 0, 0)

QString Testo_Magnitudine(const Valori& v)
{
    // The whole number: the label rounds it once, to its own picture.
    if (v.Magnitudine.isNumber())
        return QString::number(v.Magnitudine.valore, 'g', 15);
    return QString::fromStdString(v.Magnitudine.testo());
}

// Whole seconds, rounded to the nearest.
qint64 Secondi(double s)
{
    return qint64(std::llround(s));
}
} // namespace

int Ultimo_Punto()
{
    return gudtPuntiPassaggio.empty() ? 0 : int(gudtPuntiPassaggio.size()) - 1;
}

int Ultima_Etichetta()
{
    return gudtEtichettePassaggio.empty() ? 0 : int(gudtEtichettePassaggio.size()) - 1;
}

void Svuota_Etichette()
{
    gudtEtichettePassaggio.assign(1, EtichettaPassaggio{});
}

void Svuota_Passaggio()
{
    gudtPuntiPassaggio.assign(1, PuntoPassaggio{});
    Svuota_Etichette();
}

QString Testo_Etichetta(const PuntoPassaggio& p, const QString& parolaMag)
{
    // Date and time read apart: as one date-time the text would be taken in
    // the computer's own zone, where an hour skipped for daylight saving
    // holds no time at all.
    const qsizetype spazio = p.Orario.indexOf(u' ');
    const QDate data = QDate::fromString(p.Orario.left(spazio), QStringLiteral("yyyy-MM-dd"));
    const QTime ora = QTime::fromString(p.Orario.mid(spazio + 1), QStringLiteral("hh:mm:ss"));
    QString testo = spazio > 0 && data.isValid() && ora.isValid() ? ora.toString(QStringLiteral("hh:mm:ss"))
                                                                  : p.Orario;
    if (!p.Magnitudine.isEmpty()) {
        bool ok = false;
        const double m = p.Magnitudine.toDouble(&ok);
        testo += QLatin1Char(' ') + parolaMag.toLower()
                 + (ok ? vb::Format(m, u"#0.0") : p.Magnitudine);
    }
    return testo;
}

int Calcola_Passaggio(const Proiezione& mappatura)
{
    const double periodo = gudtValori[1].Periodo;
    if (!std::isfinite(periodo) || periodo <= 0 || WorkingList::instance().isEmpty())
        return 0;
    // The clock tick must not touch the time globals and slot 1 meanwhile.
    FlagGuard orologio(pflgCentrale, false);

    const float passo = float(periodo / 180);
    // A step under one second would never move the clock on.
    const qint64 secondiPasso = std::max<qint64>(1, Secondi(passo));
    QDateTime t = gdatDataCorrente.addSecs(-secondiPasso);

    gudtPuntiPassaggio.assign(1, PuntoPassaggio{});
    int n = 0;
    if (mAstro::Aggiorna_Tempo(gdatDataCorrente) && mSat::Calcola_Satellite(1, gdblGiornoGiuliano)) {
        float x0 = 0, y0 = 0;
        mappatura(gudtValori[1].Azimuth, gudtValori[1].Altezza, x0, y0);
        const QDateTime fine = t.addSecs(Secondi(periodo));
        while (t < fine) {
            t = t.addSecs(secondiPasso);
            if (!mAstro::Aggiorna_Tempo(t) || !mSat::Calcola_Satellite(1, gdblGiornoGiuliano))
                break;
            const Valori& v = gudtValori[1];
            float x = x0, y = y0;
            mappatura(v.Azimuth, v.Altezza, x, y);
            PuntoPassaggio p;
            p.XMappa = x;
            p.YMappa = y;
            p.Orario = t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            p.Magnitudine = v.Stato != StatoEclisse ? Testo_Magnitudine(v) : QString();
            p.Azimuth = v.Azimuth;
            p.Altezza = v.Altezza;
            p.Colore = v.Stato != StatoEclisse ? kGiallo : kRosso;
            gudtPuntiPassaggio.push_back(p);
            ++n;
            if (v.Altezza < 0) {
                // The last point is where the track meets the horizon.
                mMate::Interseca_Orizzonte(x0, y0, x, y);
                PuntoPassaggio& h = gudtPuntiPassaggio.back();
                h.XMappa = x;
                h.YMappa = y;
                h.Orario.clear();
                h.Magnitudine.clear();
                h.Azimuth = 0;
                h.Altezza = 0;
                break;
            }
            x0 = x;
            y0 = y;
        }
    }
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    mSat::Calcola_Satellite(1, gdblGiornoGiuliano);
    return n;
}

} // namespace core
