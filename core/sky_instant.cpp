#include "core/sky_instant.h"

#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/msat.h"
#include "core/settings.h"

namespace core {

void CieloIstante::Orizzontali(double ra, double dec, double& azimuth, double& altezza) const
{
    mAstro::Precessione_Da_J2000(tempi.GiornoGiuliano, ra, dec);
    mAstro::Equatoriali_Orizzontali(ra, dec, latitudine, tempi.TempoSiderale, azimuth, altezza);
}

CieloIstante Calcola_Cielo(const QDateTime& locale)
{
    CieloIstante c;
    c.corpi = gudtCorpi;
    c.latitudine = gsngLatitudine;
    if (!locale.date().isValid() || !locale.time().isValid())
        return c;
    try {
        c.tempi = mAstro::Calcola_Tempi(mAstro::Da_QDateTime(locale), gsngFusoOrario, gbytOraLegale, gsngLongitudine);
    } catch (const mAstro::ErroreData&) {
        return c;
    }
    mAstro::Istante i;
    i.GiornoGiuliano = c.tempi.GiornoGiuliano;
    i.GiornoGiuliano0h = c.tempi.GiornoGiuliano0h;
    i.Latitudine = gsngLatitudine;
    i.TempoSiderale = c.tempi.TempoSiderale;
    i.Quota = gsngQuota;
    const mAstro::DatiSole sole = mAstro::Calcola_Sole(i, c.corpi[mAstro::kSole]);
    mAstro::Calcola_Luna(i, sole, c.corpi[mAstro::kLuna]);
    mAstro::Calcola_Pianeti(i, c.corpi);
    c.valido = true;
    return c;
}

CieloIstante Cielo_Corrente()
{
    CieloIstante c;
    c.corpi = gudtCorpi;
    c.latitudine = gsngLatitudine;
    c.tempi.GiornoGiuliano = gdblGiornoGiuliano;
    c.tempi.GiornoGiuliano0h = gdblGiornoGiuliano0h;
    c.tempi.TempoSideraleGreenwich = gdblTempoSideraleGreenwich;
    c.tempi.TempoSiderale = gdblTempoSiderale;
    c.valido = true;
    return c;
}

bool Giorno_Giuliano_Locale(const QDateTime& locale, double& jd)
{
    if (!locale.date().isValid() || !locale.time().isValid())
        return false;
    try {
        jd = mAstro::Calcola_Tempi(mAstro::Da_QDateTime(locale), gsngFusoOrario, gbytOraLegale, gsngLongitudine)
                 .GiornoGiuliano;
    } catch (const mAstro::ErroreData&) {
        return false;
    }
    return true;
}

bool Calcola_Satellite(const Satelement& s, double jd, Valori& v, astro::ModelloSatellite* modello)
{
    astro::UsciteSatellite u;
    return astro::Calcola_Satellite(s, mSat::Osservatore_Corrente(), mSat::Opzioni_Correnti(), jd, v, u, modello);
}

} // namespace core
