#include "listings/listing_lines.h"

#include "astro/mate.h"
#include "core/clock.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/vb.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <limits>

namespace listings {

namespace {

const QString kSezione = QStringLiteral("frmDetails");

// Text of a set (a name may carry NUL bytes or bidirectional controls) as
// the listing shows it: control characters as blanks, the width kept.
QString testo(const std::string& s)
{
    return vb::displayable(QString::fromUtf8(s.data(), qsizetype(s.size())));
}

QString lingua(const char* sezione, const char* chiave)
{
    return mLang::Testo_Lingua(QString::fromLatin1(sezione), QString::fromLatin1(chiave));
}

QString F(double v, const char16_t* picture)
{
    return vb::Format(v, QStringView(picture));
}

// The cosine of an angle, kept within [-1, 1] against rounding, as degrees.
double angolo(double coseno)
{
    if (!std::isfinite(coseno))
        return 0.0;
    return mMate::ArcoCoseno(std::clamp(coseno, -1.0, 1.0)) * mMate::kRadiantiGradi;
}

const QString k3 = QStringLiteral("   ");
const QString k2 = QStringLiteral("  ");
const QString k4 = QStringLiteral("    ");

} // namespace

QString Etichetta(const char* chiave, int larghezza)
{
    return vb::LSet(mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave)), larghezza);
}

QString R(int w, const QString& s)
{
    return vb::RSet(s, w);
}

double Passo_Automatico(qint64 m)
{
    double passo = 120.0; // exactly 720 minutes
    if (m > 720)
        passo = 180.0;
    if (m < 720)
        passo = 120.0;
    if (m < 60)
        passo = 60.0;
    if (m < 20)
        passo = 30.0;
    if (m < 10)
        passo = 15.0;
    return passo;
}

QDateTime Inizio_Automatico(const QDateTime& inizio)
{
    QDateTime t0 = inizio.addSecs(-15);
    const int s = t0.time().second();
    int indietro = s;
    if (s > 45)
        indietro = s - 45;
    else if (s > 30)
        indietro = s - 30;
    else if (s > 15)
        indietro = s - 15;
    return t0.addSecs(-indietro);
}

qint64 Minuti_Calendario(const QDateTime& a, const QDateTime& b)
{
    // From the date and time fields alone, whatever the times' spec: a time
    // made by the program carries a zone, and rebuilding it from its spec
    // would put it in the computer's own zone (whose daylight-saving change
    // would add or take an hour, or void a time in the hour it skips).
    auto minuto = [](const QDateTime& d) { return d.time().hour() * 60LL + d.time().minute(); };
    return a.date().daysTo(b.date()) * 1440 + minuto(b) - minuto(a);
}

QStringList Intestazione_Satellite(const Satelement& e, const RigaDati& r, const char* chiaveNome,
                                   int larghezza)
{
    QStringList h;
    const QString pad = QString(larghezza - 7, u' ');
    h << Etichetta(chiaveNome, larghezza) + QStringLiteral(": ") + vb::Trim(testo(e.Nome));
    h << QStringLiteral("Norad #") + pad + QStringLiteral(": ") + testo(e.NumeroCatalogo);
    h << QStringLiteral("ID #   ") + pad + QStringLiteral(": ") + vb::Mid(testo(r.Riga1), 10, 6);
    const QDate epoca = QDate(int(e.AnnoEpoca), 1, 1).addDays(qint64(std::floor(e.GiornoEpoca)) - 1);
    h << Etichetta("elementiorbita", larghezza) + QStringLiteral(": ") + vb::Format(epoca, u"dd mmm yyyy")
             + QStringLiteral(" - ") + F(e.GiornoEpoca, u"Long Time") + QStringLiteral(" UTC");
    return h;
}

QStringList Intestazione_Effemeride(const Satelement& e, const RigaDati& r, int opzione)
{
    QStringList h;
    h << QString();
    h << Intestazione_Satellite(e, r, "satellite", 9);
    switch (opzione) {
    case TipoOBS:
        h << QString();
        h << Etichetta("localita", 9) + QStringLiteral(": ") + vb::displayable(gstrLocalita) + QStringLiteral(" (")
                 + lingua("Def", "lat") + QLatin1Char(' ') + F(gsngLatitudine, u"#0.000°") + QLatin1Char(' ')
                 + lingua("Def", "lon") + QLatin1Char(' ') + F(gsngLongitudine, u"##0.000°")
                 + QLatin1Char(')');
        h << QString();
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazioneobs"));
        break;
    case TipoECI:
        h << QString();
        h << QStringLiteral("                        --------------------(km.)---------------------  "
                            "-------------(km/sec)-------------");
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazioneeci"));
        break;
    case TipoLLA:
        h << QString();
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazionella"));
        break;
    default:
        h << QString();
        h << Etichetta("localita", 9) + QStringLiteral(": ") + vb::displayable(gstrLocalita);
        h << QString();
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazionerad"));
        break;
    }
    h << QString();
    return h;
}

QStringList Intestazione_Relativo(const Satelement& a, const RigaDati& ra, const Satelement& b,
                                  const RigaDati& rb, int opzione)
{
    QStringList h;
    h << QString();
    h << Intestazione_Satellite(a, ra, "satellitea", 11);
    h << Intestazione_Satellite(b, rb, "satelliteb", 11);
    h << QString();
    if (opzione == TipoECI) {
        h << QString(25, u' ')
                 + QStringLiteral("------------Satellite A----------    -----------Satellite B-----------");
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazionerelativoeci"));
    } else {
        h << QString(54, u' ') + QStringLiteral("-------Satellite A------    -------Satellite B------");
        const char* chiave = opzione == TipoOBS   ? "intestazionerelativoobs"
                             : opzione == TipoLLA ? "intestazionerelativolla"
                                                  : "intestazionerelativorad";
        h << mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave));
    }
    h << QString();
    return h;
}

QString Equatoriali::testoAR() const
{
    return F(ore, u"00") + QLatin1Char('h') + F(minuti, u"00") + QLatin1Char('m') + F(secondi, u"00")
           + QLatin1Char('s');
}

QString Equatoriali::testoDec() const
{
    return segno + F(gradi, u"00") + QStringLiteral("°") + F(primi, u"00") + QLatin1Char('\'');
}

double Equatoriali::arDecimale() const
{
    return mMate::Gradi_Decimali(ore, minuti, secondi);
}

double Equatoriali::decDecimale() const
{
    const double d = gradi + primi / 60.0;
    return segno == QLatin1String("-") ? -d : d;
}

namespace {

// Appends D, the instant as the listing shows it, to L. Millions of lines
// may be made one after the other: the date's text is made once a day (for
// the language in use), the time's from its digits.
void Aggiungi_Istante(QString& L, const QDateTime& t)
{
    thread_local QDate giorno;
    thread_local QLocale lingua = QLocale::c();
    thread_local QString testoGiorno;
    thread_local bool pronto = false;
    const QLocale adesso = vb::displayLocale();
    if (!pronto || t.date() != giorno || !(adesso == lingua)) {
        giorno = t.date();
        lingua = adesso;
        testoGiorno = vb::Format(giorno, u"dd mmm yyyy");
        pronto = true;
    }
    const QTime ora = t.time();
    const char16_t cifre[] = {u' ',
                              u' ',
                              char16_t(u'0' + ora.hour() / 10),
                              char16_t(u'0' + ora.hour() % 10),
                              u':',
                              char16_t(u'0' + ora.minute() / 10),
                              char16_t(u'0' + ora.minute() % 10),
                              u':',
                              char16_t(u'0' + ora.second() / 10),
                              char16_t(u'0' + ora.second() % 10)};
    L += testoGiorno;
    L.append(reinterpret_cast<const QChar*>(cifre), 10);
}

} // namespace

QString Testo_Istante(const QDateTime& t)
{
    QString L;
    L.reserve(24);
    Aggiungi_Istante(L, t);
    return L;
}

// ---------------------------------------------------------------- cells

namespace {

// Cell values that are no figure.
constexpr qint32 kNonNumero = std::numeric_limits<qint32>::min();  // NaN or infinite
constexpr qint32 kFuoriScala = kNonNumero + 1;                      // too large for a cell
constexpr qint32 kMagVuota = kNonNumero + 2;                        // in the Earth's shadow
constexpr qint32 kMagSconosciuta = kNonNumero + 3;                  // no standard magnitude

constexpr double kScala[] = {1.0, 10.0, 100.0, 1000.0};

constexpr qint32 kMenoZero = kNonNumero + 4;                       // a negative figure that rounds to 0

// 10^n for the exponents a figure can have.
double potenza10(int n)
{
    static const auto tabella = [] {
        std::array<double, 81> t{};
        for (int i = 0; i < 81; ++i)
            t[size_t(i)] = std::pow(10.0, i - 40);
        return t;
    }();
    return tabella[size_t(std::clamp(n, -40, 40) + 40)];
}

// floor(log10(a)) for a > 0, from the binary exponent and the table of
// powers of ten (outside the table, log10 itself).
int Esponente10(double a)
{
    int e2 = 0;
    std::frexp(a, &e2);  // a = m 2^e2, 0.5 <= m < 1
    // 2^(e2-1) <= a < 2^e2: floor(log10 a) is one of two neighbours.
    int k = int(std::floor((e2 - 1) * 0.30102999566398120));
    if (k < -38 || k > 38)
        return int(std::floor(std::log10(a)));
    // Next to a power of ten log10 may round either way: ask it there, so
    // the figures come out as they always have.
    for (int j = k - 1; j <= k + 2; ++j) {
        const double p = potenza10(j);
        if (a > p * (1 - 1e-12) && a < p * (1 + 1e-12))
            return int(std::floor(std::log10(a)));
    }
    if (a >= potenza10(k + 1))
        ++k;
    else if (a < potenza10(k))
        --k;
    return k;
}

// A figure rounded to `posti` decimal places as the number pictures round
// it: the figure read to 15 significant digits, then a half away from zero
// (1.005 gives 1.01). In units of the last place.
qint32 Q(double v, int posti)
{
    if (!std::isfinite(v))
        return kNonNumero;
    const double a = std::fabs(v);
    if (a == 0)
        return 0;
    const double y = a * kScala[posti];
    if (y > 2.0e9)
        return kFuoriScala;
    double q = std::floor(y);
    // What 15 significant digits of the figure make of the part left over:
    // a grain of at most 1e-5 here (y stays below 2e9), so only a part left
    // over within that of a half needs it worked out.
    const double resto = y - q;
    if (resto >= 0.5)
        q += 1;
    else if (resto >= 0.5 - 1e-5 && resto >= 0.5 - 0.5 * potenza10(Esponente10(a) - 14 + posti))
        q += 1;
    if (q == 0)
        return v < 0 ? kMenoZero : 0;
    return qint32(v < 0 ? -q : q);
}

// The decimal point of the language in use, read once per line (the
// display locale keeps it).
thread_local QString g_punto = QStringLiteral(".");
void Leggi_Punto()
{
    g_punto = vb::displayDecimalPoint();
}

// The text of a figure being put in a line: at most a sign, ten digits, the
// decimal point and three places.
struct Cifre {
    char16_t c[32];
    int n = 0;
    void aggiungi(char16_t x) { c[n++] = x; }
    void aggiungi(QStringView s)
    {
        for (const QChar x : s)
            if (n < 31)
                c[n++] = x.unicode();
    }
};

// What N gives, as characters.
void Cifre_N(qint32 q, int posti, Cifre& out)
{
    if (q == kNonNumero) {
        out.aggiungi(u"NaN");
        return;
    }
    if (q == kFuoriScala) {
        out.aggiungi(u'*');
        return;
    }
    if (q == kMenoZero) {
        out.aggiungi(u'-');
        q = 0;
    }
    qint64 u = q;
    if (u < 0) {
        out.aggiungi(u'-');
        u = -u;
    }
    const qint64 scala = qint64(kScala[posti]);
    qint64 intero = u / scala;
    char16_t tmp[20];
    int k = 0;
    do {
        tmp[k++] = char16_t(u'0' + intero % 10);
        intero /= 10;
    } while (intero > 0);
    while (k > 0)
        out.aggiungi(tmp[--k]);
    if (posti > 0) {
        out.aggiungi(QStringView(g_punto));
        qint64 frazione = u % scala;
        for (int i = posti - 1; i >= 0; --i) {
            tmp[i] = char16_t(u'0' + frazione % 10);
            frazione /= 10;
        }
        for (int i = 0; i < posti; ++i)
            out.aggiungi(tmp[i]);
    }
}

// Appends a text right-aligned in exactly w characters (a longer one keeps
// its leftmost w), as R does.
void Aggiungi_R(QString& L, int w, const char16_t* t, int n)
{
    if (n >= w) {
        L.append(reinterpret_cast<const QChar*>(t), w);
        return;
    }
    for (int i = n; i < w; ++i)
        L += u' ';
    L.append(reinterpret_cast<const QChar*>(t), n);
}

// Appends sep and then the figure of a cell right-aligned in w.
void Aggiungi_N(QString& L, const QString& sep, int w, qint32 q, int posti)
{
    L += sep;
    Cifre c;
    Cifre_N(q, posti, c);
    Aggiungi_R(L, w, c.c, c.n);
}

// The figure of a cell in a number picture with `posti` decimal places and at
// least one integer digit ("0.00", "#0.00", "0.0", "0.000"): what Format
// gives for the figure, made from the digits of the cell.
QString N(qint32 q, int posti)
{
    Cifre c;
    Cifre_N(q, posti, c);
    return QString(reinterpret_cast<const QChar*>(c.c), c.n);
}

qint32 Q_Magnitudine(const MagnitudineVisuale& m)
{
    if (m.isUnknown())
        return kMagSconosciuta;
    if (!m.isNumber())
        return kMagVuota;
    return Q(m.valore, 1);
}

QString N_Magnitudine(qint32 q)
{
    if (q == kMagSconosciuta)
        return QStringLiteral("???");
    if (q == kMagVuota)
        return QString();
    return N(q, 1);
}

qint32 intero(double v)
{
    return std::isfinite(v) && std::fabs(v) < 1e4 ? qint32(std::llround(v)) : 0;
}

// Right ascension as hours, minutes and seconds in one cell; declination as
// its sign, degrees and minutes.
qint32 Q_AR(double ore, double minuti, double secondi)
{
    return intero(ore) * 10000 + intero(minuti) * 100 + intero(secondi);
}
qint32 Q_Dec(const QString& segno, double gradi, double primi)
{
    return (segno == QLatin1String("-") ? 10000000 : 0) + intero(gradi) * 100 + intero(primi);
}
// Format(x, "00") of a whole number.
void Aggiungi_Due(QString& L, qint32 x)
{
    if (x < 0) {
        L += u'-';
        x = -x;
    }
    if (x < 10)
        L += u'0';
    L += QString::number(x);
}
QString N_AR(qint32 q)
{
    QString L;
    L.reserve(9);
    Aggiungi_Due(L, q / 10000);
    L += u'h';
    Aggiungi_Due(L, (q / 100) % 100);
    L += u'm';
    Aggiungi_Due(L, q % 100);
    L += u's';
    return L;
}
QString N_Dec(qint32 q, bool conSegno = true)
{
    QString L;
    L.reserve(8);
    if (conSegno)
        L += q >= 10000000 ? u'-' : u'+';
    q %= 10000000;
    Aggiungi_Due(L, q / 100);
    L += u'\u00b0';
    Aggiungi_Due(L, q % 100);
    L += u'\'';
    return L;
}

} // namespace

int Celle_Effemeride(int opzione)
{
    switch (opzione) {
    case TipoOBS:
        return 9;
    case TipoECI:
        return 8;
    case TipoLLA:
        return 3;
    default:
        return 2;
    }
}

void Riempi_Effemeride(int opzione, const Istante& s, qint32* c)
{
    const Valori& v = s.v;
    switch (opzione) {
    case TipoOBS:
        c[0] = Q(v.Altezza, 2);
        c[1] = Q(v.Azimuth, 2);
        c[2] = Q(v.Distanza, 1);
        c[3] = Q(v.Quota, 1);
        c[4] = Q_Magnitudine(v.Magnitudine);
        c[5] = Q(100.0 * v.Fase, 1);
        c[6] = Q(v.AngoloFase, 1);
        c[7] = Q(s.altezzaSole, 2);
        c[8] = qint32(v.Stato);
        break;
    case TipoECI:
        for (int i = 0; i < 3; ++i) {
            c[i] = Q(s.posizione[size_t(i)], 3);
            c[4 + i] = Q(s.velocita[size_t(i)], 3);
        }
        c[3] = Q(v.DistanzaGeocentrica, 3);
        c[7] = Q(v.Velocita, 3);
        break;
    case TipoLLA:
        c[0] = Q(v.Latitudine, 2);
        c[1] = Q(v.Longitudine360, 2);
        c[2] = Q(v.Quota, 1);
        break;
    default:
        c[0] = Q_AR(s.eq.ore, s.eq.minuti, s.eq.secondi);
        c[1] = Q_Dec(s.eq.segno, s.eq.gradi, s.eq.primi);
        break;
    }
}

namespace {
void Aggiungi_Testo_R(QString& L, const QString& sep, int w, const QString& t)
{
    L += sep;
    Aggiungi_R(L, w, reinterpret_cast<const char16_t*>(t.constData()), int(t.size()));
}
} // namespace

QString Testo_Effemeride(int opzione, const QDateTime& t, const qint32* c)
{
    Leggi_Punto();
    QString L;
    L.reserve(128);
    Aggiungi_Istante(L, t);
    switch (opzione) {
    case TipoOBS:
        Aggiungi_N(L, k3, 6, c[0], 2);
        Aggiungi_N(L, k3, 6, c[1], 2);
        Aggiungi_N(L, k3, 8, c[2], 1);
        Aggiungi_N(L, k3, 8, c[3], 1);
        Aggiungi_Testo_R(L, k3, 4, N_Magnitudine(c[4]));
        Aggiungi_N(L, k3, 4, c[5], 1);
        Aggiungi_N(L, k3, 5, c[6], 1);
        Aggiungi_N(L, k3, 6, c[7], 2);
        L += k3;
        L += core::Stato2Stringa(c[8]);
        return L;
    case TipoECI:
        Aggiungi_N(L, k3, 10, c[0], 3);
        for (int i = 1; i < 4; ++i)
            Aggiungi_N(L, k2, 10, c[i], 3);
        for (int i = 4; i < 8; ++i)
            Aggiungi_N(L, k2, 7, c[i], 3);
        return L;
    case TipoLLA:
        Aggiungi_N(L, k3, 6, c[0], 2);
        Aggiungi_N(L, k3, 6, c[1], 2);
        Aggiungi_N(L, k3, 8, c[2], 1);
        return L;
    default:
        Aggiungi_Testo_R(L, k2, 10, N_AR(c[0]));
        Aggiungi_Testo_R(L, k3, 7, N_Dec(c[1]));
        return L;
    }
}

Relazione Calcola_Relazione(const Istante& a, const Istante& b)
{
    const auto& A = a.posizione;
    const auto& B = b.posizione;
    Relazione r;
    r.distanza = std::sqrt((A[0] - B[0]) * (A[0] - B[0]) + (A[1] - B[1]) * (A[1] - B[1])
                           + (A[2] - B[2]) * (A[2] - B[2]));
    const double moduli = std::sqrt(A[0] * A[0] + A[1] * A[1] + A[2] * A[2])
                          * std::sqrt(B[0] * B[0] + B[1] * B[1] + B[2] * B[2]);
    r.alfa = moduli > 0 ? angolo((A[0] * B[0] + A[1] * B[1] + A[2] * B[2]) / moduli) : 0.0;
    r.beta = angolo((a.v.VersoreEst * b.v.VersoreEst + a.v.VersoreNord * b.v.VersoreNord
                     + a.v.VersoreZenit * b.v.VersoreZenit)
                    / 1.0);
    return r;
}

int Celle_Relativo(int opzione)
{
    return opzione == TipoECI ? 7 : opzione == TipoRAD ? 7 : 9;
}

void Riempi_Relativo(int opzione, const Istante& a, const Istante& b, qint32* c)
{
    const Relazione rel = Calcola_Relazione(a, b);
    const Valori& va = a.v;
    const Valori& vb_ = b.v;
    switch (opzione) {
    case TipoOBS:
        c[0] = Q(rel.alfa, 2);
        c[1] = Q(rel.beta, 2);
        c[2] = Q(rel.distanza, 1);
        c[3] = Q(va.Altezza, 2);
        c[4] = Q(va.Azimuth, 2);
        c[5] = Q(va.Quota, 1);
        c[6] = Q(vb_.Altezza, 2);
        c[7] = Q(vb_.Azimuth, 2);
        c[8] = Q(vb_.Quota, 1);
        break;
    case TipoLLA:
        c[0] = Q(std::fabs(va.LatitudineAssoluta - vb_.LatitudineAssoluta), 2);
        c[1] = Q(std::fabs(va.LongitudineAssoluta - vb_.LongitudineAssoluta), 2);
        c[2] = Q(rel.distanza, 1);
        c[3] = Q(va.LatitudineAssoluta, 2);
        c[4] = Q(va.LongitudineAssoluta, 2);
        c[5] = Q(va.Quota, 1);
        c[6] = Q(vb_.LatitudineAssoluta, 2);
        c[7] = Q(vb_.LongitudineAssoluta, 2);
        c[8] = Q(vb_.Quota, 1);
        break;
    case TipoECI:
        for (int i = 0; i < 3; ++i) {
            c[i] = Q(a.posizione[size_t(i)], 3);
            c[3 + i] = Q(b.posizione[size_t(i)], 3);
        }
        c[6] = Q(rel.distanza, 1);
        break;
    default: {
        Equatoriali delta;
        mMate::Decimali_GMS(std::fabs(a.eq.arDecimale() - b.eq.arDecimale()), delta.ore, delta.minuti,
                            delta.secondi);
        double g = 0, m = 0;
        mMate::Decimali_GM(std::fabs(a.eq.decDecimale() - b.eq.decDecimale()), g, m);
        c[0] = Q_AR(delta.ore, delta.minuti, delta.secondi);
        c[1] = Q_Dec(QStringLiteral("+"), g, m);
        c[2] = Q(rel.distanza, 1);
        c[3] = Q_AR(a.eq.ore, a.eq.minuti, a.eq.secondi);
        c[4] = Q_Dec(a.eq.segno, a.eq.gradi, a.eq.primi);
        c[5] = Q_AR(b.eq.ore, b.eq.minuti, b.eq.secondi);
        c[6] = Q_Dec(b.eq.segno, b.eq.gradi, b.eq.primi);
        break;
    }
    }
}

QString Testo_Relativo(int opzione, const QDateTime& t, const qint32* c)
{
    Leggi_Punto();
    QString L;
    L.reserve(160);
    Aggiungi_Istante(L, t);
    switch (opzione) {
    case TipoOBS:
    case TipoLLA:
        Aggiungi_N(L, k4, 6, c[0], 2);
        Aggiungi_N(L, k3, 6, c[1], 2);
        Aggiungi_N(L, k2, 8, c[2], 1);
        Aggiungi_N(L, k4, 6, c[3], 2);
        Aggiungi_N(L, k2, 6, c[4], 2);
        Aggiungi_N(L, k2, 8, c[5], 1);
        Aggiungi_N(L, k4, 6, c[6], 2);
        Aggiungi_N(L, k2, 6, c[7], 2);
        Aggiungi_N(L, k2, 8, c[8], 1);
        return L;
    case TipoECI: {
        const QString* sep = &k3;
        for (int i = 0; i < 6; ++i) {
            Aggiungi_N(L, *sep, 10, c[i], 3);
            sep = &k2;
        }
        Aggiungi_N(L, k2, 8, c[6], 1);
        return L;
    }
    default:
        Aggiungi_Testo_R(L, QStringLiteral("     "), 9, N_AR(c[0]));
        Aggiungi_Testo_R(L, k2, 6, N_Dec(c[1], false));
        Aggiungi_N(L, k3, 8, c[2], 1);
        Aggiungi_Testo_R(L, k4, 9, N_AR(c[3]));
        Aggiungi_Testo_R(L, k4, 7, N_Dec(c[4]));
        Aggiungi_Testo_R(L, QStringLiteral("        "), 9, N_AR(c[5]));
        Aggiungi_Testo_R(L, k4, 7, N_Dec(c[6]));
        return L;
    }
}

} // namespace listings
