#include "astro/time.h"

#include "astro/mate.h"

#include <cmath>
#include <string>

namespace mAstro {

namespace {

constexpr long long kSecondiGiorno = 86400;

long long DivBasso(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

void VerificaAnno(int anno)
{
    if (anno < 100 || anno > 9999)
        throw ErroreData("date outside the years 100 to 9999 (year " + std::to_string(anno) + ")");
}

bool Bisestile(int anno) { return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0; }

int GiorniMese(int anno, int mese)
{
    static const int giorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mese == 2 && Bisestile(anno) ? 29 : giorni[mese - 1];
}

void VerificaData(const DataOra& d)
{
    VerificaAnno(d.Anno);
    if (d.Mese < 1 || d.Mese > 12 || d.Giorno < 1 || d.Giorno > GiorniMese(d.Anno, d.Mese)
        || d.Ora < 0 || d.Ora > 23 || d.Minuto < 0 || d.Minuto > 59 || d.Secondo < 0 || d.Secondo > 59)
        throw ErroreData("not a valid date-time");
}

} // namespace

long long Giorni_Da_Data(long long anno, long long mese, long long giorno)
{
    // Fold the month into 1..12 first, then count days from 1 March of year 0
    // (the leap day comes last in such a year).
    anno += DivBasso(mese - 1, 12);
    mese = mese - 1 - DivBasso(mese - 1, 12) * 12 + 1;
    const long long y = mese <= 2 ? anno - 1 : anno;
    const long long era = DivBasso(y, 400);
    const long long yoe = y - era * 400;
    const long long mp = (mese + 9) % 12;
    const long long doy = (153 * mp + 2) / 5; // days before the 1st of the month, from 1 March
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + (giorno - 1);
}

DataOra Data_Da_Giorni(long long giorni)
{
    const long long z = giorni + 719468;
    const long long era = DivBasso(z, 146097);
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    DataOra d;
    d.Giorno = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    d.Mese = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.Anno = static_cast<int>(yoe + era * 400 + (d.Mese <= 2 ? 1 : 0));
    d.Ora = d.Minuto = d.Secondo = 0;
    return d;
}

DataOra Aggiungi_Secondi(const DataOra& d, long long secondi)
{
    // Anything beyond ten thousand years leaves the range anyway; refusing it
    // here keeps the sums below from overflowing.
    constexpr long long kMassimo = 10000LL * 366 * kSecondiGiorno;
    if (secondi > kMassimo || secondi < -kMassimo)
        throw ErroreData("date outside the years 100 to 9999");
    const long long totale = Giorni_Da_Data(d.Anno, d.Mese, d.Giorno) * kSecondiGiorno
                             + d.Ora * 3600LL + d.Minuto * 60LL + d.Secondo + secondi;
    const long long giorni = DivBasso(totale, kSecondiGiorno);
    const long long resto = totale - giorni * kSecondiGiorno;
    DataOra r = Data_Da_Giorni(giorni);
    r.Ora = static_cast<int>(resto / 3600);
    r.Minuto = static_cast<int>((resto % 3600) / 60);
    r.Secondo = static_cast<int>(resto % 60);
    VerificaAnno(r.Anno);
    return r;
}

int Giorno_Anno(int anno, int mese, int giorno)
{
    return static_cast<int>(Giorni_Da_Data(anno, mese, giorno) - Giorni_Da_Data(anno, 1, 0));
}

double Giorno_Giuliano(double anno, double mese, double giorno)
{
    double y = anno;
    double m = mese;
    if (mese <= 2) {
        y = anno - 1;
        m = mese + 12;
    }
    double b = 0;
    if (anno + mese / 100 + giorno / 10000 >= 1582.1015) {
        const double a = std::floor(y / 100);
        b = 2 - a + std::floor(a / 4);
    }
    const double c = y >= 0 ? std::floor(365.25 * y) : std::trunc(365.25 * y - 0.75);
    const double d = std::floor(30.6001 * (m + 1));
    return b + c + d + giorno + 1720994.5;
}

DataOra Data_Da_Giuliano(double jd, double fusoOrario, int oraLegale)
{
    if (!std::isfinite(jd) || !std::isfinite(fusoOrario))
        throw ErroreData("not a finite Julian date");
    // Keep the arithmetic below within the range where whole day counts are exact.
    if (jd < 1721000 || jd > 5400000)
        throw ErroreData("Julian date outside the years 100 to 9999");
    const double z = std::floor(jd + 0.5);
    const double f = jd + 0.5 - z;
    double a = z;
    if (z >= 2299161) {
        const double alfa = std::floor((z - 1867216.25) / 36524.25);
        a = z + 1 + alfa - std::floor(alfa / 4);
    }
    const double b = a + 1524;
    const double c = std::floor((b - 122.1) / 365.25);
    const double d = std::floor(365.25 * c);
    const double e = std::floor((b - d) / 30.6001);
    const double giorno = b - d - std::floor(30.6001 * e);
    const double mese = e < 13.5 ? e - 1 : e - 13;
    const double anno = mese <= 2.5 ? c - 4715 : c - 4716;

    DataOra ut;
    ut.Anno = static_cast<int>(anno);
    ut.Mese = static_cast<int>(mese);
    ut.Giorno = static_cast<int>(giorno);
    VerificaAnno(ut.Anno);
    // The time of day to the nearest whole second, a half up (86400 carries
    // into the next day). The Julian calendar date of an early instant is
    // carried as it stands; only the time of day is added by calendar
    // arithmetic.
    ut = Aggiungi_Secondi(ut, static_cast<long long>(std::floor(f * 86400.0 + 0.5)));
    if (std::fabs(oraLegale + fusoOrario) > 1e6)
        throw ErroreData("time zone offset out of range");
    const long long scarto = std::llround((oraLegale + fusoOrario) * 60) * 60;
    return Aggiungi_Secondi(ut, scarto);
}

SerieTempi::SerieTempi(double fusoOrario, int oraLegale, double longitudine)
{
    if (!std::isfinite(fusoOrario) || !std::isfinite(longitudine))
        throw ErroreData("time zone or longitude not a finite number");
    const double h = oraLegale + fusoOrario;
    if (std::fabs(h) > 1e6)
        throw ErroreData("time zone offset out of range");
    m_scarto = std::llround(h * 60) * 60;
    m_longitudine = longitudine;
}

void SerieTempi::Calcola(long long secondiLocali, double& giornoGiuliano, double& tempoSiderale)
{
    // Beyond ten thousand years either way the date is out of range anyway;
    // refusing it here keeps the sums below from overflowing.
    constexpr long long kMassimo = 20000LL * 366 * kSecondiGiorno;
    if (secondiLocali > kMassimo || secondiLocali < -kMassimo)
        throw ErroreData("date outside the years 100 to 9999");
    const long long giornoLocale = DivBasso(secondiLocali, kSecondiGiorno);
    if (!m_giornoLocaleValido || giornoLocale != m_giornoLocale) {
        m_giornoLocaleValido = false;
        VerificaAnno(Data_Da_Giorni(giornoLocale).Anno);
        m_giornoLocale = giornoLocale;
        m_giornoLocaleValido = true;
    }
    const long long ut = secondiLocali - m_scarto;
    const long long giornoUT = DivBasso(ut, kSecondiGiorno);
    if (!m_giornoUTValido || giornoUT != m_giornoUT) {
        m_giornoUTValido = false;
        const DataOra d = Data_Da_Giorni(giornoUT);
        VerificaAnno(d.Anno);
        m_anno = d.Anno;
        m_mese = d.Mese;
        m_giorno = d.Giorno;
        m_giornoUT = giornoUT;
        m_giornoUTValido = true;
    }
    // The same expressions, in the same order, as Calcola_Tempi.
    const long long resto = ut - giornoUT * kSecondiGiorno;
    const int ora = static_cast<int>(resto / 3600);
    const int minuto = static_cast<int>((resto % 3600) / 60);
    const int secondo = static_cast<int>(resto % 60);
    const double oraUT = ora + (minuto + secondo / 60.0) / 60.0;
    giornoGiuliano = Giorno_Giuliano(m_anno, m_mese, m_giorno + oraUT / 24);
    const double sideraleGreenwich = Tempo_Siderale_Greenwich(Giuliano_0h(giornoGiuliano), oraUT);
    tempoSiderale = mMate::Modulus(sideraleGreenwich + m_longitudine / 15, 24);
}

double Giuliano_0h(double jd)
{
    const double f = jd - std::floor(jd);
    return f >= 0.5 ? std::floor(jd) + 0.5 : std::floor(jd) - 0.5;
}

double Tempo_Siderale_Greenwich(double jd0h, double oraUT)
{
    const double t = (jd0h - 2451545.0) / 36525.0;
    double g0 = 6.697374558 + 2400.051336 * t + 2.5862e-5 * t * t;
    g0 = mMate::Modulus(g0, 24);
    return mMate::Modulus(g0 + oraUT * 1.002737909, 24);
}

Tempi Calcola_Tempi(const DataOra& locale, double fusoOrario, int oraLegale, double longitudine)
{
    VerificaData(locale);
    if (!std::isfinite(fusoOrario) || !std::isfinite(longitudine))
        throw ErroreData("time zone or longitude not a finite number");
    Tempi t;
    t.DataLocale = locale;
    const double h = oraLegale + fusoOrario;
    if (std::fabs(h) > 1e6)
        throw ErroreData("time zone offset out of range");
    t.DataUT = Aggiungi_Secondi(locale, -std::llround(h * 60) * 60);

    t.AnnoUT = t.DataUT.Anno;
    t.MeseUT = t.DataUT.Mese;
    t.GiornoUT = t.DataUT.Giorno;
    t.AnnoLocale = locale.Anno;
    t.MeseLocale = locale.Mese;
    t.GiornoLocale = locale.Giorno;

    t.OraUT = t.DataUT.Ora + (t.DataUT.Minuto + t.DataUT.Secondo / 60.0) / 60.0;
    t.OraLocale = locale.Ora + (locale.Minuto + locale.Secondo / 60.0) / 60.0;

    t.GiornoAnnoUT = Giorno_Anno(t.DataUT.Anno, t.DataUT.Mese, t.DataUT.Giorno);
    t.GiornoAnnoLocale = Giorno_Anno(locale.Anno, locale.Mese, locale.Giorno);

    t.GiornoGiuliano = Giorno_Giuliano(t.AnnoUT, t.MeseUT, t.GiornoUT + t.OraUT / 24);
    t.GiornoGiuliano0h = Giuliano_0h(t.GiornoGiuliano);
    t.TempoSideraleGreenwich = Tempo_Siderale_Greenwich(t.GiornoGiuliano0h, t.OraUT);
    t.TempoSiderale = mMate::Modulus(t.TempoSideraleGreenwich + longitudine / 15, 24);
    return t;
}

} // namespace mAstro
