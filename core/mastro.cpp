#include "core/mastro.h"

#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/vb.h"

#include <QTimeZone>

namespace mAstro {

DataOra Da_QDateTime(const QDateTime& d)
{
    DataOra r;
    const QDate data = d.date();
    const QTime ora = d.time();
    r.Anno = data.year();
    r.Mese = data.month();
    r.Giorno = data.day();
    r.Ora = ora.hour();
    r.Minuto = ora.minute();
    r.Secondo = ora.second();
    return r;
}

QDateTime A_QDateTime(const DataOra& d)
{
    // One zone for every call: building it is dearer than the date-time.
    static const QTimeZone utc = QTimeZone::utc();
    return QDateTime(QDate(d.Anno, d.Mese, d.Giorno), QTime(d.Ora, d.Minuto, d.Secondo), utc);
}

bool Aggiorna_Tempo(const QDateTime& locale)
{
    if (!locale.date().isValid() || !locale.time().isValid())
        return false;
    Tempi t;
    try {
        t = Calcola_Tempi(Da_QDateTime(locale), gsngFusoOrario, gbytOraLegale, gsngLongitudine);
    } catch (const ErroreData&) {
        return false;
    }
    gdatDataLocale = locale;
    gdatDataUT = A_QDateTime(t.DataUT);
    gdblAnnoUT = t.AnnoUT;
    gdblMeseUT = t.MeseUT;
    gdblGiornoUT = t.GiornoUT;
    gdblAnnoLocale = t.AnnoLocale;
    gdblMeseLocale = t.MeseLocale;
    gdblGiornoLocale = t.GiornoLocale;
    gdblOraUT = t.OraUT;
    gdblOraLocale = t.OraLocale;
    gintGiornoAnnoUT = t.GiornoAnnoUT;
    gintGiornoAnnoLocale = t.GiornoAnnoLocale;
    gdblGiornoGiuliano = t.GiornoGiuliano;
    gdblGiornoGiuliano0h = t.GiornoGiuliano0h;
    gdblTempoSideraleGreenwich = t.TempoSideraleGreenwich;
    gdblTempoSiderale = t.TempoSiderale;
    return true;
}

QDateTime Data_Da_Giuliano(double jd)
{
    try {
        return A_QDateTime(Data_Da_Giuliano(jd, gsngFusoOrario, gbytOraLegale));
    } catch (const ErroreData&) {
        return {};
    }
}

namespace {

Istante IstanteCorrente()
{
    Istante i;
    i.GiornoGiuliano = gdblGiornoGiuliano;
    i.GiornoGiuliano0h = gdblGiornoGiuliano0h;
    i.Latitudine = gsngLatitudine;
    i.TempoSiderale = gdblTempoSiderale;
    i.Quota = gsngQuota;
    return i;
}

} // namespace

void Calcola_Sole()
{
    const DatiSole s = Calcola_Sole(IstanteCorrente(), gudtCorpi[kSole]);
    gdblDeclinazioneSole = s.Declinazione;
    gdblAscensioneSole = s.AscensioneRetta;
    gdblLongitudineSole = s.Longitudine;
    gdblAnomaliaMediaSole = s.AnomaliaMedia;
}

bool Calcola_Luna()
{
    DatiSole s;
    s.Declinazione = gdblDeclinazioneSole;
    s.AscensioneRetta = gdblAscensioneSole;
    s.Longitudine = gdblLongitudineSole;
    s.AnomaliaMedia = gdblAnomaliaMediaSole;
    return Calcola_Luna(IstanteCorrente(), s, gudtCorpi[kLuna]);
}

bool Calcola_Pianeta()
{
    return Calcola_Pianeti(IstanteCorrente(), gudtCorpi) == 0;
}

void Equatoriali_Orizzontali(double ra, double dec, double& azimuth, double& altezza)
{
    Precessione_Da_J2000(gdblGiornoGiuliano, ra, dec);
    Equatoriali_Orizzontali(ra, dec, gsngLatitudine, gdblTempoSiderale, azimuth, altezza);
}

void Orizzontali_Equatoriali(double az, double h, double& oreAR, double& minutiAR, double& secondiAR,
                             double& gradiDec, double& minutiDec, QString& segno)
{
    const CoordinateEquatoriali c = Orizzontali_Equatoriali(az, h, gsngLatitudine, gdblTempoSiderale);
    oreAR = c.oreAR;
    minutiAR = c.minutiAR;
    secondiAR = c.secondiAR;
    gradiDec = c.gradiDec;
    minutiDec = c.minutiDec;
    segno = QString::fromStdString(c.segno);
}

namespace {

// An azimuth text ("000.0") with the display locale's decimal point, as
// every figure the user reads.
QString Azimuth_Locale(const std::string& testo)
{
    QString t = QString::fromStdString(testo);
    const QString punto = vb::displayLocale().decimalPoint();
    if (punto != QStringLiteral("."))
        t.replace(u'.', punto);
    return t;
}

void Scrivi_Esito(const SorgereTramonto& r, QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                  QString& azimuthTramonto, QString& messaggio)
{
    if (r.sorge) {
        oraSorgere = QString::fromStdString(r.testoOraSorgere);
        azimuthSorgere = Azimuth_Locale(r.testoAzimuthSorgere);
    }
    if (r.tramonta) {
        oraTramonto = QString::fromStdString(r.testoOraTramonto);
        azimuthTramonto = Azimuth_Locale(r.testoAzimuthTramonto);
    }
    if (!r.chiaveMessaggio.empty())
        messaggio = mLang::Testo_Lingua(QStringLiteral("frmRiseSet"), QString::fromStdString(r.chiaveMessaggio));
}

} // namespace

void Calcola_Sorgere_Tramonto_Sole(double latitudine, double longitudine, double& zona, const QDate& data,
                                   QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                                   QString& azimuthTramonto, QString& messaggio)
{
    if (!data.isValid())
        return;
    const SorgereTramonto r =
        Calcola_Sorgere_Tramonto_Sole(latitudine, longitudine, zona, data.year(), data.month(), data.day());
    Scrivi_Esito(r, oraSorgere, oraTramonto, azimuthSorgere, azimuthTramonto, messaggio);
}

void Calcola_Sorgere_Tramonto_Luna(double latitudine, double longitudine, double& zona, const QDate& data,
                                   QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                                   QString& azimuthTramonto, QString& messaggio)
{
    if (!data.isValid())
        return;
    const SorgereTramonto r =
        Calcola_Sorgere_Tramonto_Luna(latitudine, longitudine, zona, data.year(), data.month(), data.day());
    Scrivi_Esito(r, oraSorgere, oraTramonto, azimuthSorgere, azimuthTramonto, messaggio);
}

void Calcola_Sorgere_Tramonto_Sole(double latitudine, double longitudine, double& zona, const QDateTime& data,
                                   QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                                   QString& azimuthTramonto, QString& messaggio)
{
    Calcola_Sorgere_Tramonto_Sole(latitudine, longitudine, zona, data.date(), oraSorgere, oraTramonto,
                                  azimuthSorgere, azimuthTramonto, messaggio);
}

void Calcola_Sorgere_Tramonto_Luna(double latitudine, double longitudine, double& zona, const QDateTime& data,
                                   QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                                   QString& azimuthTramonto, QString& messaggio)
{
    Calcola_Sorgere_Tramonto_Luna(latitudine, longitudine, zona, data.date(), oraSorgere, oraTramonto,
                                  azimuthSorgere, azimuthTramonto, messaggio);
}

} // namespace mAstro
