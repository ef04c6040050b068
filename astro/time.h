#pragma once
// Time keeping: calendar date-times, Julian dates, day of the year and mean
// sidereal time. Pure and re-entrant; the program's time globals are filled
// from these results by mAstro::Aggiorna_Tempo in core/.
#include <stdexcept>

namespace mAstro {

// A calendar date-time to the whole second, without time zone (what the
// program's Date values hold). Year, month 1..12, day 1..31, hour 0..23,
// minute 0..59, second 0..59 once normalised.
struct DataOra {
    int Anno = 1899;
    int Mese = 12;
    int Giorno = 30;
    int Ora = 0;
    int Minuto = 0;
    int Secondo = 0;

    friend bool operator==(const DataOra&, const DataOra&) = default;
};

// Raised when a date-time leaves the range the program's dates can hold
// (years 100 to 9999) or a non-finite number is turned into a date.
class ErroreData : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Days from 1 January 1970 of a (proleptic Gregorian) calendar date; month
// and day may lie outside their ranges (day 0 is the last day of the month
// before, month 13 January of the next year).
long long Giorni_Da_Data(long long anno, long long mese, long long giorno);
// The calendar date of a day count of Giorni_Da_Data (time of day 00:00:00).
DataOra Data_Da_Giorni(long long giorni);

// The date-time plus a number of seconds (negative goes back), with carries
// through minutes, hours, days, months and years. Raises ErroreData when the
// result leaves years 100 to 9999.
DataOra Aggiungi_Secondi(const DataOra& d, long long secondi);

// Day of the year, 1 for 1 January.
int Giorno_Anno(int anno, int mese, int giorno);

// Julian date of a calendar date; the day may carry a fraction (0.5 is noon)
// and may be 0 (the last day of the month before). Dates before 15 October
// 1582 are read in the Julian calendar.
double Giorno_Giuliano(double anno, double mese, double giorno);

// Local date-time, to the whole second, in a zone of fusoOrario hours east of
// Greenwich with oraLegale (0 or 1) hours of daylight saving, of the Julian
// date jd (UT). Raises ErroreData for a non-finite jd or a date outside
// years 100 to 9999.
DataOra Data_Da_Giuliano(double jd, double fusoOrario, int oraLegale);

// Every time quantity the program derives from one local date-time.
struct Tempi {
    DataOra DataLocale;            // the local date-time given
    DataOra DataUT;                // universal date-time
    double AnnoUT = 0, MeseUT = 0, GiornoUT = 0;
    double AnnoLocale = 0, MeseLocale = 0, GiornoLocale = 0;
    double OraUT = 0;              // decimal hours, 0 to below 24
    double OraLocale = 0;
    int GiornoAnnoUT = 0;          // 1 for 1 January
    int GiornoAnnoLocale = 0;
    double GiornoGiuliano = 0;     // Julian date (UT) of the instant
    double GiornoGiuliano0h = 0;   // Julian date of the preceding 0h UT
    double TempoSideraleGreenwich = 0; // mean sidereal time, hours, [0, 24)
    double TempoSiderale = 0;          // local mean sidereal time, hours, [0, 24)
};

// The time quantities of the local date-time for an observer whose zone is
// fusoOrario hours east of Greenwich, with oraLegale hours of daylight saving
// and longitude in degrees (east positive). Raises ErroreData when the
// universal date-time leaves years 100 to 9999.
Tempi Calcola_Tempi(const DataOra& locale, double fusoOrario, int oraLegale, double longitudine);

// The Julian date and local mean sidereal time of a run of local date-times
// of one observer (a listing's instants): the very figures Calcola_Tempi
// gives for each, with the calendar date worked out only when the day
// changes.
class SerieTempi {
public:
    // Raises ErroreData, as Calcola_Tempi does, for a zone or longitude that
    // is not a finite number or a zone offset out of range.
    SerieTempi(double fusoOrario, int oraLegale, double longitudine);
    // The local date-time as whole seconds from 1 January 1970 00:00:00 of
    // the (proleptic Gregorian) calendar. Raises ErroreData when the local or
    // the universal date-time leaves years 100 to 9999.
    void Calcola(long long secondiLocali, double& giornoGiuliano, double& tempoSiderale);

private:
    long long m_scarto = 0; // seconds from UT to local time
    double m_longitudine = 0;
    bool m_giornoLocaleValido = false, m_giornoUTValido = false;
    long long m_giornoLocale = 0, m_giornoUT = 0;
    double m_anno = 0, m_mese = 0, m_giorno = 0; // of the UT date
};

// Julian date of the 0h UT that precedes (or equals) jd.
double Giuliano_0h(double jd);

// Greenwich mean sidereal time, hours, for the Julian date at 0h UT and the
// hours of UT elapsed since.
double Tempo_Siderale_Greenwich(double jd0h, double oraUT);

} // namespace mAstro
