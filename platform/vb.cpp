#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vb {

// ================================================================ reading numbers

namespace {

inline char16_t u16(QChar c) { return c.unicode(); }
inline char16_t u16(char c) { return char16_t(static_cast<unsigned char>(c)); }

bool isBlankForVal(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Parses the longest leading number of an ASCII text without blanks.
// Returns the number of characters used (0 when there is no number).
template <typename Get>
std::size_t scanNumber(std::size_t n, Get at, std::string& out)
{
    std::size_t i = 0;
    out.clear();
    if (i < n && (at(i) == '+' || at(i) == '-'))
        out += char(at(i++));
    std::size_t digits = 0;
    while (i < n && at(i) >= '0' && at(i) <= '9') {
        out += char(at(i++));
        ++digits;
    }
    if (i < n && at(i) == '.') {
        out += '.';
        ++i;
        while (i < n && at(i) >= '0' && at(i) <= '9') {
            out += char(at(i++));
            ++digits;
        }
    }
    if (digits == 0) {
        out.clear();
        return 0;
    }
    // Exponent only when at least one digit follows.
    if (i < n && (at(i) == 'e' || at(i) == 'E' || at(i) == 'd' || at(i) == 'D')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < n && (at(j) == '+' || at(j) == '-'))
            exp += char(at(j++));
        std::size_t ed = 0;
        while (j < n && at(j) >= '0' && at(j) <= '9') {
            exp += char(at(j++));
            ++ed;
        }
        if (ed > 0) {
            out += exp;
            i = j;
        }
    }
    return i;
}

double toDouble(const std::string& s)
{
    // strtod follows LC_NUMERIC; the text only has a point, so read it in
    // the C way whatever the locale.
    QByteArray b(s.c_str());
    bool ok = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(b), &ok);
    if (ok)
        return v;
    // Out of range: +-HUGE_VAL, or 0 below the smallest number (what strtod
    // gives, read here without the C library's number locale).
    const char* p = s.c_str();
    const char* fine = p + s.size();
    while (p < fine && (*p == ' ' || *p == '\t'))
        ++p;
    const bool meno = p < fine && *p == '-';
    if (p < fine && (*p == '-' || *p == '+'))
        ++p;
    double v2 = 0;
    const auto letto = std::from_chars(p, fine, v2);
    if (letto.ec == std::errc::invalid_argument)
        return 0.0;  // no number at all (a plus zero, not a minus one)
    if (letto.ec == std::errc::result_out_of_range) {
        // Too large or too small: the exponent's sign tells which.
        const std::string_view resto(p, size_t(fine - p));
        const auto e = resto.find_first_of("eE");
        const bool piccolo = e != std::string_view::npos && e + 1 < resto.size() && resto[e + 1] == '-';
        v2 = piccolo ? 0.0 : HUGE_VAL;
    }
    return meno ? -v2 : v2;
}

template <typename Str>
double valImpl(const Str& text)
{
    std::u16string compact;
    compact.reserve(std::size_t(text.size()));
    for (auto ch : text) {
        const char16_t c = u16(ch);
        if (!isBlankForVal(c))
            compact += c;
    }
    std::string num;
    if (scanNumber(compact.size(), [&](std::size_t i) { return compact[i]; }, num) == 0)
        return 0.0;
    return toDouble(num);
}

template <typename Str>
std::optional<double> strictImpl(const Str& text)
{
    std::size_t b = 0, e = std::size_t(text.size());
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (b < e && blank(u16(text[b])))
        ++b;
    while (e > b && blank(u16(text[e - 1])))
        --e;
    if (b == e)
        return std::nullopt;
    std::string num;
    const std::size_t used =
        scanNumber(e - b, [&](std::size_t i) { return u16(text[b + i]); }, num);
    if (used == 0 || used != e - b)
        return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(num.c_str()), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

double Val(QStringView text)
{
    return valImpl(text);
}

double Val(std::string_view text)
{
    return valImpl(text);
}

std::optional<double> StrictValue(QStringView text)
{
    return strictImpl(text);
}

std::optional<double> StrictValue(std::string_view text)
{
    return strictImpl(text);
}

double CDbl(QStringView text)
{
    if (auto v = StrictValue(text))
        return *v;
    throw Error(13, "Type mismatch");
}

namespace {
double roundHalfEven(double x)
{
    const double r = std::round(x); // half away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return r;
}
} // namespace

int CInt(double x)
{
    const double r = roundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw Error(6, "Overflow");
    return int(r);
}

std::int32_t CLng(double x)
{
    const double r = roundHalfEven(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw Error(6, "Overflow");
    return std::int32_t(r);
}

int CByte(double x)
{
    const double r = roundHalfEven(x);
    if (!(r >= 0.0 && r <= 255.0))
        throw Error(6, "Overflow");
    return int(r);
}

double Int(double x)
{
    return std::floor(x);
}

double Fix(double x)
{
    return std::trunc(x);
}

// ================================================================ numbers to text

namespace {

QString plainNumber(double x, int significant)
{
    if (std::isnan(x))
        return QStringLiteral("NaN");
    if (std::isinf(x))
        return x < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (x == 0)
        return QStringLiteral("0");
    // Written without the C library's number locale: a program started
    // under a locale with a decimal comma has it in LC_NUMERIC.
    char buf[64];
    const auto fatto = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, significant - 1);
    // buf: [-]d.ddddde[+-]xx
    std::string s(buf, fatto.ptr);
    const auto epos = s.find('e');
    std::string mant = s.substr(0, epos);
    const int exp = std::atoi(s.c_str() + epos + 1);
    bool neg = false;
    if (!mant.empty() && mant[0] == '-') {
        neg = true;
        mant.erase(0, 1);
    }
    std::string digits;
    for (char c : mant)
        if (c != '.')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out;
    if (exp >= significant || exp < -5) {
        // Exponent form: d.dddE+xx
        out = digits.substr(0, 1);
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exp < 0 ? '-' : '+', std::abs(exp));
        out += e;
    } else if (exp >= 0) {
        const std::size_t intLen = std::size_t(exp) + 1;
        if (digits.size() <= intLen) {
            out = digits + std::string(intLen - digits.size(), '0');
        } else {
            out = digits.substr(0, intLen) + "." + digits.substr(intLen);
        }
    } else {
        out = "0." + std::string(std::size_t(-exp - 1), '0') + digits;
    }
    if (neg)
        out.insert(out.begin(), '-');
    return QString::fromLatin1(out.c_str());
}

QString localised(QString s)
{
    const QString point = displayLocale().decimalPoint();
    if (point != QStringLiteral("."))
        s.replace(u'.', point);
    return s;
}

} // namespace

QString CStrC(double x)
{
    return plainNumber(x, 15);
}

QString CStrC(float x)
{
    return plainNumber(double(x), 7);
}

QString Str(double x)
{
    const QString s = CStrC(x);
    return (x >= 0 || std::isnan(x)) ? u' ' + s : s;
}

QString Str(float x)
{
    const QString s = CStrC(x);
    return (x >= 0 || std::isnan(x)) ? u' ' + s : s;
}

QString CStr(double x)
{
    return localised(CStrC(x));
}

QString CStr(float x)
{
    return localised(CStrC(x));
}

// ================================================================ locale and names

namespace {
std::optional<QLocale>& localeOverride()
{
    static std::optional<QLocale> l;
    return l;
}
DateNames& namesStore()
{
    static DateNames n;
    return n;
}
} // namespace

void setDisplayLocale(const QLocale& locale)
{
    localeOverride() = locale;
}

QLocale displayLocale()
{
    return localeOverride() ? *localeOverride() : QLocale();
}

namespace {
// The decimal point and group separator of the display locale, made again
// only when the locale is another one.
struct SeparatoriLocale {
    QLocale locale{QLocale::c()};
    QString punto, gruppo;
    bool pronti = false;
};
const SeparatoriLocale& separatori()
{
    thread_local SeparatoriLocale s;
    const QLocale l = displayLocale();
    if (!s.pronti || !(l == s.locale)) {
        s.locale = l;
        s.punto = l.decimalPoint();
        s.gruppo = l.groupSeparator();
        s.pronti = true;
    }
    return s;
}
} // namespace

const QString& displayDecimalPoint()
{
    return separatori().punto;
}

const QString& displayGroupSeparator()
{
    return separatori().gruppo;
}

void setDateNames(DateNames names)
{
    namesStore() = std::move(names);
}

const DateNames& dateNames()
{
    return namesStore();
}

namespace {
QString monthName(int month, bool abbreviated)
{
    const DateNames& n = dateNames();
    if (n.month)
        return n.month(month, abbreviated);
    return displayLocale().monthName(month, abbreviated ? QLocale::ShortFormat : QLocale::LongFormat);
}
QString weekdayName(int weekday, bool abbreviated)
{
    const DateNames& n = dateNames();
    if (n.weekday)
        return n.weekday(weekday, abbreviated);
    return displayLocale().dayName(weekday, abbreviated ? QLocale::ShortFormat : QLocale::LongFormat);
}
} // namespace

// ================================================================ Format: numbers

namespace {

// Splits a picture into sections at ';' outside quotes and escapes.
QList<QString> sections(QStringView picture)
{
    QList<QString> out;
    QString cur;
    bool inQuote = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == u'"')
            inQuote = !inQuote;
        if (!inQuote && c == u'\\' && i + 1 < picture.size()) {
            cur += c;
            cur += picture[++i];
            continue;
        }
        if (!inQuote && c == u';') {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

enum class TokKind { IntDigit, FracDigit, Point, Group, Percent, Literal };
struct Tok {
    TokKind kind;
    QChar ch;     // placeholder '0' or '#', or the literal character
    QString text; // literal text
};

struct NumberPicture {
    QList<Tok> toks;
    int intPlaces = 0;
    int intMin = 0;     // digits always shown
    int fracPlaces = 0;
    QString fracKinds;  // '0' or '#' per decimal place
    bool hasPoint = false;
    bool grouping = false;
    bool percent = false;
};

NumberPicture parseNumberPicture(QStringView pic)
{
    NumberPicture p;
    bool afterPoint = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < pic.size(); ++i) {
        const QChar c = pic[i];
        if (c == u'\\' && i + 1 < pic.size()) {
            p.toks.append({TokKind::Literal, {}, QString(pic[++i])});
        } else if (c == u'"') {
            qsizetype j = i + 1;
            QString lit;
            while (j < pic.size() && pic[j] != u'"')
                lit += pic[j++];
            p.toks.append({TokKind::Literal, {}, lit});
            i = j;
        } else if (c == u'0' || c == u'#') {
            if (afterPoint) {
                p.toks.append({TokKind::FracDigit, c, {}});
                p.fracKinds += c;
                ++p.fracPlaces;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = p.intPlaces;
                p.toks.append({TokKind::IntDigit, c, {}});
                ++p.intPlaces;
            }
        } else if (c == u'.' && !afterPoint) {
            afterPoint = true;
            p.hasPoint = true;
            p.toks.append({TokKind::Point, c, {}});
        } else if (c == u',' && !afterPoint) {
            p.grouping = true;
            p.toks.append({TokKind::Group, c, {}});
        } else if (c == u'%') {
            p.percent = true;
            p.toks.append({TokKind::Percent, c, {}});
        } else {
            p.toks.append({TokKind::Literal, {}, QString(c)});
        }
    }
    p.intMin = firstZero < 0 ? 0 : p.intPlaces - firstZero;
    return p;
}

// The value's decimal digits, rounded half away from zero at `decimals`
// places after the point, from its 15 significant digits.
// intDigits has no leading zeros ("" for zero); fracDigits has `decimals` digits.
// The same for figures of ordinary size, without building the digits one
// text at a time: false when the figure is not one.
bool roundedDigitsQuick(double v, int decimals, std::string& intDigits, std::string& fracDigits)
{
    if (!(v > 0 && v < 1e15) || decimals > 20)
        return false;
    char buf[40];
    const auto fine = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14).ptr;
    // d.ddddddddddddddde[+-]xx
    if (fine - buf < 19 || buf[1] != '.' || buf[16] != 'e')
        return false;
    char cifre[15];
    cifre[0] = buf[0];
    std::memcpy(cifre + 1, buf + 2, 14);
    int esponente = 0;
    for (const char* c = buf + 18; c < fine; ++c)
        esponente = esponente * 10 + (*c - '0');
    if (buf[17] == '-')
        esponente = -esponente;
    const int punto = esponente + 1;  // digits before the point
    if (punto > 16 || punto < -30)
        return false;
    auto cifra = [&](int k) { return k >= 0 && k < 15 ? cifre[k] : '0'; };  // k-th digit from the first
    char ip[20], fp[24];
    const int nInt = std::max(0, punto);
    for (int i = 0; i < nInt; ++i)
        ip[i] = cifra(i);
    for (int i = 0; i < decimals; ++i)
        fp[i] = cifra(punto + i);
    // Adds one to the last of n digits; true when it carries out of them all.
    auto piuUno = [](char* d, int n) {
        for (int i = n - 1; i >= 0; --i) {
            if (d[i] != '9') {
                ++d[i];
                return false;
            }
            d[i] = '0';
        }
        return true;
    };
    // A carry out of every integer digit.
    const bool riporto = cifra(punto + decimals) >= '5' && piuUno(fp, decimals) && piuUno(ip, nInt);
    intDigits.clear();
    if (riporto) {
        intDigits += '1';
        intDigits.append(ip, std::size_t(nInt));
    } else {
        int nz = 0;
        while (nz < nInt && ip[nz] == '0')
            ++nz;
        intDigits.append(ip + nz, std::size_t(nInt - nz));
    }
    fracDigits.assign(fp, std::size_t(decimals));
    return true;
}

void roundedDigits(double v, int decimals, std::string& intDigits, std::string& fracDigits)
{
    if (roundedDigitsQuick(std::fabs(v), decimals, intDigits, fracDigits))
        return;
    intDigits.clear();
    fracDigits.clear();
    v = std::fabs(v);
    std::string all;   // digits
    int pointPos = 0;  // digits before the point
    if (v == 0) {
        all = "0";
        pointPos = 1;
    } else {
        // The 15 significant digits as printf's "%.14e" gives them.
        char buf[64];
        const auto fine = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14).ptr;
        const std::string_view s(buf, std::size_t(fine - buf));
        const auto epos = s.find('e');
        const int exp = std::atoi(std::string(s.substr(epos + 1)).c_str());
        all.reserve(16);
        for (std::size_t i = 0; i < epos; ++i)
            if (s[i] != '.')
                all += s[i];
        pointPos = exp + 1;
    }
    // Normalise to integer part and fraction part.
    std::string ip, fp;
    if (pointPos <= 0) {
        ip = "";
        fp = std::string(std::size_t(-pointPos), '0') + all;
    } else if (std::size_t(pointPos) >= all.size()) {
        ip = all + std::string(std::size_t(pointPos) - all.size(), '0');
    } else {
        ip = all.substr(0, std::size_t(pointPos));
        fp = all.substr(std::size_t(pointPos));
    }
    bool up = fp.size() > std::size_t(decimals) && fp[std::size_t(decimals)] >= '5';
    if (fp.size() > std::size_t(decimals))
        fp.resize(std::size_t(decimals));
    while (fp.size() < std::size_t(decimals))
        fp += '0';
    if (up) {
        int i = int(fp.size()) - 1;
        for (; i >= 0; --i) {
            if (fp[std::size_t(i)] == '9') {
                fp[std::size_t(i)] = '0';
            } else {
                ++fp[std::size_t(i)];
                break;
            }
        }
        if (i < 0) {
            int k = int(ip.size()) - 1;
            for (; k >= 0; --k) {
                if (ip[std::size_t(k)] == '9') {
                    ip[std::size_t(k)] = '0';
                } else {
                    ++ip[std::size_t(k)];
                    break;
                }
            }
            if (k < 0)
                ip.insert(ip.begin(), '1');
        }
    }
    std::size_t nz = 0;
    while (nz < ip.size() && ip[nz] == '0')
        ++nz;
    intDigits = ip.substr(nz);
    fracDigits = fp;
}

QString formatSection(double v, const NumberPicture& p, bool showMinus, const QString& point,
                      const QString& group)
{
    if (p.intPlaces == 0 && p.fracPlaces == 0 && !p.hasPoint) {
        // No placeholder: only literals (and maybe '%'); classic runtime shows the literals.
        QString out;
        for (const Tok& t : p.toks)
            out += t.kind == TokKind::Literal ? t.text : QString(t.ch);
        return out;
    }
    if (p.percent)
        v *= 100.0;
    std::string id, fd;
    roundedDigits(v, p.fracPlaces, id, fd);
    // Decimal places shown as '#' drop their trailing zeros.
    int fracShown = p.fracPlaces;
    while (fracShown > 0 && p.fracKinds[fracShown - 1] == u'#' && fd[std::size_t(fracShown - 1)] == '0')
        --fracShown;
    fd.resize(std::size_t(fracShown));
    // Integer digits: at least intMin, with leading zeros.
    if (int(id.size()) < p.intMin)
        id.insert(id.begin(), std::size_t(p.intMin) - id.size(), '0');

    QString out;
    out.reserve(qsizetype(id.size() + fd.size()) + p.toks.size() + 8);
    auto intero = [&] {
        const int n = int(id.size());
        for (int i = 0; i < n; ++i) {
            if (p.grouping && i > 0 && (n - i) % 3 == 0)
                out += group;
            out += QLatin1Char(id[std::size_t(i)]);
        }
    };
    if (showMinus && v < 0)
        out += u'-';
    bool intDone = false, fracDone = false;
    for (const Tok& t : p.toks) {
        switch (t.kind) {
        case TokKind::IntDigit:
            if (!intDone) {
                intero();
                intDone = true;
            }
            break;
        case TokKind::Group:
            break;
        case TokKind::Point:
            if (!intDone) {
                intero();
                intDone = true;
            }
            out += point;
            break;
        case TokKind::FracDigit:
            if (!fracDone) {
                out += QLatin1StringView(fd.data(), qsizetype(fd.size()));
                fracDone = true;
            }
            break;
        case TokKind::Percent:
            out += u'%';
            break;
        case TokKind::Literal:
            out += t.text;
            break;
        }
    }
    return out;
}

bool isLongTime(QStringView picture);

// A number picture split into its sections and parsed, kept for the next
// calls with the same picture: listings and progress bars format millions
// of figures with a handful of pictures.
struct PictureParsed {
    QString picture;
    bool serial = false;  // a date or "Long Time" picture
    QList<NumberPicture> secs;
};

const PictureParsed& parsedPicture(QStringView picture)
{
    thread_local std::array<PictureParsed, 16> cache;
    thread_local std::size_t next = 0;
    for (const PictureParsed& c : cache)
        if (!c.picture.isNull() && QStringView(c.picture) == picture)
            return c;
    PictureParsed& c = cache[next];
    next = (next + 1) % cache.size();
    c.picture = picture.toString();
    if (c.picture.isNull())
        c.picture = QStringLiteral("");
    c.serial = isLongTime(picture) || isDatePicture(picture);
    c.secs.clear();
    if (!c.serial)
        for (const QString& sec : sections(picture))
            c.secs.append(parseNumberPicture(sec));
    return c;
}

QString formatNumber(double v, const PictureParsed& picture, const QString& point, const QString& group)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    const QList<NumberPicture>& secs = picture.secs;
    const auto vuota = [&](int i) { return secs[i].toks.isEmpty(); };
    if (v < 0 && secs.size() >= 2 && !vuota(1))
        return formatSection(-v, secs[1], false, point, group);
    if (v == 0 && secs.size() >= 3 && !vuota(2))
        return formatSection(v, secs[2], false, point, group);
    return formatSection(v, secs[0], true, point, group);
}

// "Long Time": the display locale's long time of day, without a zone name.
bool isLongTime(QStringView picture)
{
    return picture.trimmed().compare(u"Long Time", Qt::CaseInsensitive) == 0;
}

QString longTimePicture()
{
    const QString f = displayLocale().timeFormat(QLocale::LongFormat);
    QString out;
    bool inQuote = false;
    for (const QChar c : f) {
        if (c == u'\'')
            inQuote = !inQuote;
        if (!inQuote && c == u't')
            continue; // the zone
        out += c;
    }
    return out.simplified();
}

// A number given a date picture is a date serial (days since 30 December
// 1899, the time of day as the fraction), shown to the nearest second.
QString formatSerial(double serial, QStringView picture)
{
    if (!std::isfinite(serial) || std::fabs(serial) > 3.0e6)
        return {};
    const double whole = std::trunc(serial);
    qint64 secs = std::llround(std::fabs(serial - whole) * 86400.0);
    QDate day = QDate(1899, 12, 30).addDays(qint64(whole));
    if (secs >= 86400) {
        secs -= 86400;
        day = day.addDays(serial >= 0 ? 1 : -1);
    }
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(secs * 1000));
    return Format(QDateTime(day, time, QTimeZone::utc()), picture);
}

} // namespace

QString Format(double value, QStringView picture)
{
    if (picture.isEmpty())
        return CStr(value);
    const PictureParsed& p = parsedPicture(picture);
    if (p.serial)
        return formatSerial(value, picture);
    return formatNumber(value, p, displayDecimalPoint(), displayGroupSeparator());
}

QString FormatC(double value, QStringView picture)
{
    if (picture.isEmpty())
        return CStrC(value);
    const PictureParsed& p = parsedPicture(picture);
    if (p.serial)
        return formatSerial(value, picture);
    static const QString punto = QStringLiteral("."), virgola = QStringLiteral(",");
    return formatNumber(value, p, punto, virgola);
}

// ================================================================ Format: dates

bool isDatePicture(QStringView picture)
{
    bool inQuote = false;
    bool hasDateLetter = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == u'"') {
            inQuote = !inQuote;
            continue;
        }
        if (inQuote)
            continue;
        if (c == u'\\') {
            ++i;
            continue;
        }
        if (c == u'0' || c == u'#')
            return false;
        const char16_t l = QChar(c).toLower().unicode();
        if (l == u'd' || l == u'm' || l == u'y' || l == u'h' || l == u'n' || l == u's')
            hasDateLetter = true;
    }
    return hasDateLetter;
}

namespace {

struct DateTok {
    char16_t letter = 0; // 'd','m','y','h','n','s' or 0 for a literal
    int count = 0;
    QString text;
};

QList<DateTok> dateTokens(QStringView pic)
{
    QList<DateTok> toks;
    for (qsizetype i = 0; i < pic.size(); ++i) {
        const QChar c = pic[i];
        const char16_t l = c.toLower().unicode();
        if (c == u'\\' && i + 1 < pic.size()) {
            toks.append({0, 0, QString(pic[++i])});
        } else if (c == u'"') {
            qsizetype j = i + 1;
            QString lit;
            while (j < pic.size() && pic[j] != u'"')
                lit += pic[j++];
            toks.append({0, 0, lit});
            i = j;
        } else if (l == u'd' || l == u'm' || l == u'y' || l == u'h' || l == u'n' || l == u's') {
            int n = 1;
            while (i + 1 < pic.size() && pic[i + 1].toLower().unicode() == l) {
                ++n;
                ++i;
            }
            toks.append({l, n, {}});
        } else {
            toks.append({0, 0, QString(c)});
        }
    }
    // "m" or "mm" right after an hour or right before a second is the minute.
    int prevLetterIdx = -1;
    for (int i = 0; i < toks.size(); ++i) {
        if (!toks[i].letter)
            continue;
        if (toks[i].letter == u'm' && toks[i].count <= 2) {
            bool minute = prevLetterIdx >= 0 && toks[prevLetterIdx].letter == u'h';
            for (int j = i + 1; j < toks.size() && !minute; ++j) {
                if (!toks[j].letter)
                    continue;
                minute = toks[j].letter == u's';
                break;
            }
            if (minute)
                toks[i].letter = u'n';
        }
        prevLetterIdx = i;
    }
    return toks;
}

QString two(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

QString Format(const QDateTime& when, QStringView picture)
{
    if (isLongTime(picture))
        return displayLocale().toString(when.time(), longTimePicture());
    const QDate d = when.date();
    const QTime t = when.time();
    QString out;
    for (const DateTok& k : dateTokens(picture)) {
        switch (k.letter) {
        case 0:
            out += k.text;
            break;
        case u'd':
            if (k.count == 1)
                out += QString::number(d.day());
            else if (k.count == 2)
                out += two(d.day());
            else if (k.count == 3)
                out += weekdayName(d.dayOfWeek(), true);
            else
                out += weekdayName(d.dayOfWeek(), false);
            break;
        case u'm':
            if (k.count == 1)
                out += QString::number(d.month());
            else if (k.count == 2)
                out += two(d.month());
            else if (k.count == 3)
                out += monthName(d.month(), true);
            else
                out += monthName(d.month(), false);
            break;
        case u'y':
            if (k.count == 1)
                out += QString::number(d.dayOfYear());
            else if (k.count <= 3)
                out += two(d.year() % 100) + (k.count == 3 ? QString::number(d.dayOfYear()) : QString());
            else
                out += QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
            break;
        case u'h':
            out += k.count == 1 ? QString::number(t.hour()) : two(t.hour());
            break;
        case u'n':
            out += k.count == 1 ? QString::number(t.minute()) : two(t.minute());
            break;
        case u's':
            out += k.count == 1 ? QString::number(t.second()) : two(t.second());
            break;
        }
    }
    return out;
}

QString Format(const QDate& day, QStringView picture)
{
    return Format(QDateTime(day, QTime(0, 0)), picture);
}

namespace {

// Month number of a name (full or abbreviated, any case), or 0.
int monthFromName(QStringView word)
{
    const QString w = word.toString().toLower().remove(u'.');
    if (w.isEmpty())
        return 0;
    const QLocale locales[] = {displayLocale(), QLocale::c()};
    for (int m = 1; m <= 12; ++m) {
        QStringList names;
        names << monthName(m, true) << monthName(m, false);
        for (const QLocale& l : locales)
            names << l.monthName(m, QLocale::ShortFormat) << l.monthName(m, QLocale::LongFormat)
                  << l.standaloneMonthName(m, QLocale::ShortFormat) << l.standaloneMonthName(m, QLocale::LongFormat);
        for (QString n : names) {
            n = n.toLower().remove(u'.');
            if (!n.isEmpty() && n == w)
                return m;
        }
    }
    return 0;
}

// "hh:mm[:ss]" at the start of `t`; the rest must be blank.
std::optional<QTime> readTime(QStringView t)
{
    t = t.trimmed();
    const auto parts = t.split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int v[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QTime time(v[0], v[1], v[2]);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

} // namespace

std::optional<QDateTime> CDate(QStringView text)
{
    const QString t = text.trimmed().toString();
    if (t.isEmpty())
        return std::nullopt;
    // ISO forms.
    for (const char* f : {"yyyy-MM-dd hh:mm:ss", "yyyy-MM-ddThh:mm:ss", "yyyy-MM-dd hh:mm",
                          "yyyy-MM-ddThh:mm", "yyyy-MM-dd", "yyyyMMdd hh:mm:ss", "yyyyMMdd"}) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(f));
        if (dt.isValid())
            return dt;
    }
    // A time alone.
    if (auto time = readTime(t))
        return QDateTime(QDate(1899, 12, 30), *time);
    // Day, month (number or name), year, then an optional time: the date
    // parts are separated by blanks, '/', '-' or '.'.
    const QStringList words = t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return std::nullopt;
    QStringList dateParts;
    int used = 0;
    for (; used < words.size() && dateParts.size() < 4; ++used) {
        const QString& w = words[used];
        if (w.contains(u':'))
            break;
        for (const QString& p : w.split(QRegularExpression(QStringLiteral("[/.,-]")), Qt::SkipEmptyParts))
            dateParts << p;
    }
    auto isNumber = [](const QString& p) {
        bool ok = false;
        p.toInt(&ok);
        return ok;
    };
    if (!dateParts.isEmpty() && !isNumber(dateParts[0]) && monthFromName(dateParts[0]) == 0)
        dateParts.removeFirst(); // a leading weekday name
    if (dateParts.size() != 3)
        return std::nullopt;
    int day = 0, month = 0, year = 0;
    if (!isNumber(dateParts[0])) { // "mmm dd yyyy"
        month = monthFromName(dateParts[0]);
        day = dateParts[1].toInt();
        year = dateParts[2].toInt();
        if (!isNumber(dateParts[1]) || !isNumber(dateParts[2]))
            return std::nullopt;
    } else {
        const bool yearFirst = dateParts[0].size() == 4;
        const QString& d = yearFirst ? dateParts[2] : dateParts[0];
        const QString& y = yearFirst ? dateParts[0] : dateParts[2];
        if (!isNumber(d) || !isNumber(y))
            return std::nullopt;
        day = d.toInt();
        year = y.toInt();
        month = isNumber(dateParts[1]) ? dateParts[1].toInt() : monthFromName(dateParts[1]);
    }
    if (month < 1 || month > 12)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (used < words.size()) {
        auto rest = readTime(words.mid(used).join(u' '));
        if (!rest)
            return std::nullopt;
        time = *rest;
    }
    return QDateTime(date, time);
}

QString Format(const QString& text, QStringView picture)
{
    if (picture.isEmpty())
        return text;
    if (isLongTime(picture) || isDatePicture(picture)) {
        if (auto dt = CDate(text))
            return Format(*dt, picture);
        return text;
    }
    if (auto v = StrictValue(text))
        return Format(*v, picture);
    return text;
}

// ================================================================ text helpers

QString Trim(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b).toString();
}

QString LTrim(QStringView s)
{
    qsizetype b = 0;
    while (b < s.size() && s[b] == u' ')
        ++b;
    return s.mid(b).toString();
}

QString RTrim(QStringView s)
{
    qsizetype e = s.size();
    while (e > 0 && s[e - 1] == u' ')
        --e;
    return s.left(e).toString();
}

QString ProperCase(QStringView s)
{
    QString out;
    out.reserve(s.size());
    bool start = true;
    for (QChar c : s) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\0') {
            out += c;
            start = true;
            continue;
        }
        out += start ? c.toUpper() : c.toLower();
        start = false;
    }
    return out;
}

QString Mid(QStringView s, int start, int length)
{
    if (start < 1)
        start = 1;
    if (start > s.size() || length == 0)
        return {};
    if (length < 0)
        return s.mid(start - 1).toString();
    return s.mid(start - 1, length).toString();
}

QString Left(QStringView s, int length)
{
    return length <= 0 ? QString() : s.left(length).toString();
}

QString Right(QStringView s, int length)
{
    return length <= 0 ? QString() : s.right(length).toString();
}

QString Columns(QStringView s, int from, int to)
{
    if (to < from)
        return {};
    return Mid(s, from, to - from + 1);
}

QString LSet(QStringView s, int width)
{
    if (width <= 0)
        return {};
    if (s.size() >= width)
        return s.left(width).toString();
    return s.toString() + QString(width - s.size(), u' ');
}

QString RSet(QStringView s, int width)
{
    if (width <= 0)
        return {};
    if (s.size() >= width)
        return s.left(width).toString();
    return QString(width - s.size(), u' ') + s.toString();
}

// ================================================================ units and colours

int TwipsToPixels(double twips, double dpi)
{
    return int(std::lround(twips * dpi / kTwipsPerInch));
}

double PixelsToTwips(double pixels, double dpi)
{
    return pixels * kTwipsPerInch / dpi;
}

QColor toQColor(std::uint32_t color)
{
    if (color & 0x80000000u) {
        const QPalette pal = QGuiApplication::palette();
        switch (color & 0xFFu) {
        case 0: return pal.color(QPalette::Base);            // scroll bar
        case 1: return pal.color(QPalette::Window);          // desktop
        case 2: return pal.color(QPalette::Highlight);       // active caption
        case 3: return pal.color(QPalette::Mid);             // inactive caption
        case 4: return pal.color(QPalette::Window);          // menu
        case 5: return pal.color(QPalette::Base);            // window
        case 6: return pal.color(QPalette::Shadow);          // window frame
        case 7: return pal.color(QPalette::WindowText);      // menu text
        case 8: return pal.color(QPalette::Text);            // window text
        case 9: return pal.color(QPalette::HighlightedText); // caption text
        case 10: return pal.color(QPalette::Mid);            // active border
        case 11: return pal.color(QPalette::Mid);            // inactive border
        case 12: return pal.color(QPalette::Dark);           // application workspace
        case 13: return pal.color(QPalette::Highlight);
        case 14: return pal.color(QPalette::HighlightedText);
        case 15: return pal.color(QPalette::Button);         // button face
        case 16: return pal.color(QPalette::Dark);           // button shadow
        case 17: return pal.color(QPalette::Disabled, QPalette::Text); // grey text
        case 18: return pal.color(QPalette::ButtonText);
        case 19: return pal.color(QPalette::Inactive, QPalette::HighlightedText);
        case 20: return pal.color(QPalette::Light);          // button highlight
        case 21: return pal.color(QPalette::Shadow);         // 3D dark shadow
        case 22: return pal.color(QPalette::Midlight);       // 3D light
        case 23: return pal.color(QPalette::ToolTipText);
        case 24: return pal.color(QPalette::ToolTipBase);
        default: return pal.color(QPalette::Window);
        }
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

std::uint32_t fromQColor(const QColor& color)
{
    const QColor c = color.toRgb();
    return RGB(c.red(), c.green(), c.blue());
}

// ================================================================ date serials

namespace {
const QDate kSerialEpoch(1899, 12, 30);
}

double toDateSerial(const QDateTime& when)
{
    const qint64 days = kSerialEpoch.daysTo(when.date());
    const double frac = when.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the epoch the fraction counts away from zero, as it always did.
    return days >= 0 ? double(days) + frac : double(days) - frac;
}

QDateTime fromDateSerial(double serial)
{
    const double whole = std::trunc(serial);
    const double frac = std::fabs(serial - whole);
    qint64 ms = std::llround(frac * 86400000.0);
    QDate d = kSerialEpoch.addDays(qint64(whole));
    if (ms >= 86400000) {
        ms -= 86400000;
        d = d.addDays(serial >= 0 ? 1 : -1);
    }
    return QDateTime(d, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

// ================================================================ text files

namespace {
// Windows-1252 characters 0x80..0x9F; the five unused ones map to the C1 controls.
const char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

QString decodeWindows1252(const QByteArray& bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b <= 0x9F) ? QChar(k1252High[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray encodeWindows1252(const QString& text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* d = out.data();
    const char16_t* u16 = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = u16[i];
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            d[i] = char(u);
            continue;
        }
        char enc = '?';
        for (int k = 0; k < 32; ++k) {
            if (k1252High[k] == u) {
                enc = char(0x80 + k);
                break;
            }
        }
        d[i] = enc;
    }
    return out;
}

bool hasUtf16Bom(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

namespace {

// A UTF-16 text with a surrogate that has no partner.
bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return true;
            ++i;
        } else if (c.isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

} // namespace

TextDocument decodeText(const QByteArray& bytes)
{
    TextDocument doc;
    if (hasUtf16Bom(bytes)) {
        const bool little = bytes.startsWith("\xFF\xFE");
        // The mark is dropped here; a second one is text (U+FEFF) and stays.
        QStringDecoder utf16(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        const QByteArray body = bytes.mid(2);
        doc.text = utf16.decode(body);
        doc.encoding = little ? TextEncoding::Utf16LeBom : TextEncoding::Utf16BeBom;
        doc.decodingError = utf16.hasError() || body.size() % 2 != 0 || hasLoneSurrogate(doc.text);
    } else {
        QByteArray body = bytes;
        bool bom = false;
        if (body.startsWith("\xEF\xBB\xBF")) {
            bom = true;
            body = body.mid(3);
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(body);
        if (!utf8.hasError()) {
            doc.text = text;
            doc.encoding = bom ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
        } else {
            doc.text = decodeWindows1252(bytes);
            doc.encoding = TextEncoding::Windows1252;
        }
    }
    doc.lineEnding = LineEnding::CrLf;
    for (qsizetype i = 0; i < doc.text.size(); ++i) {
        const QChar c = doc.text[i];
        if (c == u'\r') {
            doc.lineEnding = (i + 1 < doc.text.size() && doc.text[i + 1] == u'\n') ? LineEnding::CrLf
                                                                                 : LineEnding::Cr;
            break;
        }
        if (c == u'\n') {
            doc.lineEnding = LineEnding::Lf;
            break;
        }
    }
    return doc;
}

bool isPlainText(const TextDocument& document)
{
    return !document.decodingError && !document.text.contains(QChar(0));
}

namespace {

TextLookup& textLookup()
{
    static TextLookup lookup;
    return lookup;
}

bool isControl(char16_t u)
{
    // C0, DEL, C1, the line and paragraph separators, and the embeddings,
    // overrides and isolates of bidirectional text (U+202A-U+202E,
    // U+2066-U+2069), which would show a name reversed or move the text
    // beside it.
    return u < 0x20 || (u >= 0x7F && u < 0xA0) || u == 0x2028 || u == 0x2029 || (u >= 0x202A && u <= 0x202E)
        || (u >= 0x2066 && u <= 0x2069);
}

} // namespace

void setTextLookup(TextLookup lookup)
{
    textLookup() = std::move(lookup);
}

QString layerText(const QString& section, const QString& key, const QString& english)
{
    if (const TextLookup& lookup = textLookup()) {
        const QString t = lookup(section, key);
        if (!t.isEmpty())
            return t;
    }
    return english;
}

QString displayable(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out)
        if (isControl(c.unicode()))
            c = u' ';
    return out;
}

QStringList displayableLines(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    QStringList lines = t.split(u'\n');
    for (QString& line : lines)
        line = displayable(line);
    return lines;
}

bool hasControlCharacters(QStringView text)
{
    for (QChar c : text)
        if (isControl(c.unicode()))
            return true;
    return false;
}

QByteArray encodeText(const QString& text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextEncoding::Windows1252:
        return encodeWindows1252(text);
    case TextEncoding::Utf16LeBom:
        return QByteArray("\xFF\xFE") + QStringEncoder(QStringEncoder::Utf16LE).encode(text);
    case TextEncoding::Utf16BeBom:
        return QByteArray("\xFE\xFF") + QStringEncoder(QStringEncoder::Utf16BE).encode(text);
    }
    return text.toUtf8();
}

QString lineEndingText(LineEnding ending)
{
    switch (ending) {
    case LineEnding::CrLf: return QStringLiteral("\r\n");
    case LineEnding::Lf: return QStringLiteral("\n");
    case LineEnding::Cr: return QStringLiteral("\r");
    }
    return QStringLiteral("\r\n");
}

QString withLineEndings(const QString& text, LineEnding ending)
{
    const QString eol = lineEndingText(ending);
    QString out;
    out.reserve(text.size() + text.size() / 20);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += eol;
        } else if (c == u'\n') {
            out += eol;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// The system's reasons the language files hold: an error number, its key in
// the section "Dialogs", and the English words (those of the C library).
struct MotivoSistema {
    int numero;
    const char* chiave;
    const char* inglese;
};
constexpr MotivoSistema kMotiviSistema[] = {
    {EACCES, "permessonegato", "Permission denied"},
    {EPERM, "operazionenonpermessa", "Operation not permitted"},
    {ENOENT, "fileinesistente", "No such file or directory"},
    {ENOTDIR, "nonecartella", "Not a directory"},
    {EISDIR, "ecartella", "Is a directory"},
    {EROFS, "sololettura", "Read-only file system"},
    {ENOSPC, "discopieno", "No space left on device"},
    {EDQUOT, "quotasuperata", "Disk quota exceeded"},
    {EFBIG, "filetroppogrande", "File too large"},
    {EEXIST, "fileesistente", "File exists"},
    {ENAMETOOLONG, "nometroppolungo", "File name too long"},
    {ELOOP, "troppicollegamenti", "Too many levels of symbolic links"},
    {EIO, "erroreingressouscita", "Input/output error"},
    {EBUSY, "risorsaoccupata", "Device or resource busy"},
    {ETXTBSY, "fileinuso", "Text file busy"},
    {EMFILE, "troppifileaperti", "Too many open files"},
    {ENFILE, "troppifileapertisistema", "Too many open files in system"},
};

QString motivoDi(const MotivoSistema& m)
{
    return layerText(QStringLiteral("Dialogs"), QLatin1String(m.chiave), QLatin1String(m.inglese));
}

} // namespace

QString systemReason(const QString& reason)
{
    for (const MotivoSistema& m : kMotiviSistema)
        if (reason == qt_error_string(m.numero) || reason == QLatin1String(m.inglese))
            return motivoDi(m);
    return reason;
}

QString systemReason(int errnum)
{
    for (const MotivoSistema& m : kMotiviSistema)
        if (m.numero == errnum)
            return motivoDi(m);
    return qt_error_string(errnum);
}

bool fileMissing(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
        return false;
    return errno == ENOENT || errno == ENOTDIR;
}

QString freeCopyName(const QString& path, const QByteArray* contents)
{
    const auto libero = [](const QString& nome) {
        const QFileInfo info(nome);
        return !info.exists() && !info.isSymLink();
    };
    const auto giaCopiato = [contents](const QString& nome) {
        const QFileInfo info(nome);
        if (!contents || info.isSymLink() || !info.isFile() || info.size() != contents->size())
            return false;
        QFile f(nome);
        return f.open(QIODevice::ReadOnly) && f.readAll() == *contents;
    };
    QString nome = path + QStringLiteral(".bak");
    for (int n = 1; !libero(nome) && !giaCopiato(nome); ++n)
        nome = path + QLatin1Char('.') + QString::number(n) + QStringLiteral(".bak");
    return nome;
}

bool makeFolder(const QString& folder, QString* error)
{
    const QString assoluta = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (QFileInfo(assoluta).isDir())
        return true;
    // From the top down: the first folder missing is made, then the next.
    const QStringList parti = assoluta.split(u'/', Qt::SkipEmptyParts);
    QString percorso;
    for (const QString& parte : parti) {
        percorso += u'/' + parte;
        if (QFileInfo(percorso).isDir())
            continue;
        if (::mkdir(QFile::encodeName(percorso).constData(), 0777) == 0)
            continue;
        const int numero = errno;
        if (numero == EEXIST && QFileInfo(percorso).isDir())
            continue; // made meanwhile by another program
        if (error)
            *error = layerText(QStringLiteral("Dialogs"), QStringLiteral("cartellanonfatta"),
                               QStringLiteral("The folder %1 could not be made: %2."))
                         .arg(QDir::toNativeSeparators(percorso), systemReason(numero));
        return false;
    }
    return true;
}

QString notRegularReason(const QString& path)
{
    return layerText(QStringLiteral("frmFile"), QStringLiteral("filenonregolare"),
                     QStringLiteral("%1 is not an ordinary file (it is a named pipe, a device or a folder): "
                                    "it has not been read."))
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

QString tooLargeReason(const QString& path, qint64 maxBytes)
{
    return layerText(QStringLiteral("frmFile"), QStringLiteral("filetroppogrande"),
                     QStringLiteral("The file %1 is larger than %2 MB: it has not been read."))
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
        .arg(std::max<qint64>(1, maxBytes / (1024 * 1024)));
}

std::optional<QString> notRegularFile(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return std::nullopt;
    return notRegularReason(path);
}

std::optional<QByteArray> readFileBytes(const QString& path, qint64 maxBytes, QString* error)
{
    QFile f;
    if (path.startsWith(u':')) {
        // A file built into the program.
        f.setFileName(path);
        if (!f.open(QIODevice::ReadOnly)) {
            if (error)
                *error = systemReason(f.errorString());
            return std::nullopt;
        }
    } else {
        // Opened without waiting and looked at before anything is read:
        // opening a named pipe waits for a writer, for ever if none comes,
        // and a device may never end. Only an ordinary file is read.
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            if (error)
                *error = systemReason(errno);
            return std::nullopt;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            if (error)
                *error = notRegularReason(path);
            return std::nullopt;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            if (error)
                *error = systemReason(f.errorString());
            return std::nullopt;
        }
    }
    const auto tooLarge = [&] {
        if (error)
            *error = tooLargeReason(path, maxBytes);
        return std::nullopt;
    };
    if (!f.isSequential() && f.size() > maxBytes)
        return tooLarge();
    // In pieces, to one byte past the limit: a device, a pipe or a file that
    // grows has no size to trust.
    QByteArray bytes;
    constexpr qint64 kPiece = 1 << 20;
    for (;;) {
        const qint64 want = std::min(kPiece, maxBytes + 1 - bytes.size());
        if (want <= 0)
            return tooLarge();
        const QByteArray piece = f.read(want);
        if (f.error() != QFileDevice::NoError) {
            if (error)
                *error = systemReason(f.errorString());
            return std::nullopt;
        }
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > maxBytes)
        return tooLarge();
    return bytes;
}

std::optional<TextDocument> readTextFile(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = readFileBytes(path, kMaxTextFileBytes, error);
    if (!bytes)
        return std::nullopt;
    return decodeText(*bytes);
}

bool writeTextFile(const QString& path, const QString& text, TextEncoding encoding, QString* error)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        if (error)
            *error = layerText(QStringLiteral("frmFile"), QStringLiteral("cartellainesistente"),
                               QStringLiteral("The folder %1 does not exist."))
                         .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    return writeFileWhole(path, encodeText(text, encoding), error);
}

bool writeFileWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile f(path);
    // Unbuffered, so that a short write (full disk) shows in write()'s
    // result instead of being lost in the flush at commit.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = saveRefusedReason(path, f.errorString());
        return false;
    }
    // A write that stops part-way (full disk, file-size limit) reports no
    // error of its own; writing the rest again fails at once and so gives
    // the system's reason ("No space left on device", "File too large").
    qint64 scritti = 0;
    while (scritti < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + scritti, bytes.size() - scritti);
        if (n <= 0)
            break;
        scritti += n;
    }
    if (scritti != bytes.size() || !f.commit()) {
        if (error) {
            *error = systemReason(f.errorString());
            if (f.error() == QFileDevice::NoError || error->isEmpty())
                *error = layerText(QStringLiteral("frmFile"), QStringLiteral("nonscrittointero"),
                                   QStringLiteral("The file could not be written whole."));
        }
        return false;
    }
    return true;
}

QString saveRefusedReason(const QString& path, const QString& reason)
{
    const QFileInfo info(path);
    // The file first, as the save asks of it first: one the user may not
    // write is refused whatever its folder allows.
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    struct stat st {};
    if (::stat(file.constData(), &st) == 0 && !S_ISDIR(st.st_mode)
        && ::faccessat(AT_FDCWD, file.constData(), W_OK, AT_EACCESS) != 0)
        return systemReason(errno);
    // The new copy is made in the file's folder and then takes the old
    // file's place, so that the old one is never left half-written: a
    // folder where the user may make no file refuses the save, however
    // writable the file itself.
    if (::faccessat(AT_FDCWD, QFile::encodeName(info.absolutePath()).constData(), W_OK | X_OK, AT_EACCESS) != 0
        && errno != ENOENT && errno != ENOTDIR) {
        const int numero = errno;
        return layerText(QStringLiteral("frmFile"), QStringLiteral("cartellanonscrivibile"),
                         QStringLiteral("%2 in the folder %1, where no new file may be made (a file is saved "
                                        "by writing its new copy beside it, which then takes its place)"))
            .arg(QDir::toNativeSeparators(info.absolutePath()), systemReason(numero));
    }
    return systemReason(reason);
}

bool writeTextFile(const QString& path, const TextDocument& document, QString* error)
{
    return writeTextFile(path, withLineEndings(document.text, document.lineEnding), document.encoding,
                         error);
}

// ================================================================ readers

QString LineReader::readLine()
{
    if (atEnd())
        throw Error(62, "Input past end of file");
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != u'\r')
        ++m_pos;
    QString line = m_text.mid(start, m_pos - start);
    if (m_pos < m_text.size()) { // at a CR
        ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
    }
    return line;
}

QString ListReader::readField(bool* quoted)
{
    if (atEnd())
        throw Error(62, "Input past end of file");
    *quoted = false;
    const qsizetype n = m_text.size();
    auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (m_pos < n && isBlank(m_text[m_pos]))
        ++m_pos;
    QString field;
    if (m_pos < n && m_text[m_pos] == u'"') {
        *quoted = true;
        const qsizetype start = ++m_pos;
        while (m_pos < n && m_text[m_pos] != u'"')
            ++m_pos;
        field = m_text.mid(start, m_pos - start);
        if (m_pos < n)
            ++m_pos; // closing quote
        // Anything up to the delimiter is dropped.
        while (m_pos < n && m_text[m_pos] != u',' && m_text[m_pos] != u'\r' && m_text[m_pos] != u'\n')
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && m_text[m_pos] != u',' && m_text[m_pos] != u'\r' && m_text[m_pos] != u'\n')
            ++m_pos;
        field = m_text.mid(start, m_pos - start);
        qsizetype e = field.size();
        while (e > 0 && isBlank(field[e - 1]))
            --e;
        field.truncate(e);
    }
    // Consume the delimiter: a comma, or one line end (CR LF counts once).
    if (m_pos < n) {
        if (m_text[m_pos] == u',') {
            ++m_pos;
        } else if (m_text[m_pos] == u'\r') {
            ++m_pos;
            if (m_pos < n && m_text[m_pos] == u'\n')
                ++m_pos;
        } else if (m_text[m_pos] == u'\n') {
            ++m_pos;
        }
    }
    return field;
}

QString ListReader::readString()
{
    bool quoted = false;
    return readField(&quoted);
}

std::optional<double> ListReader::readNumber()
{
    bool quoted = false;
    const QString f = readField(&quoted);
    if (Trim(f).isEmpty())
        return 0.0;
    return StrictValue(f);
}

double ListReader::readDouble()
{
    if (auto v = readNumber())
        return *v;
    throw Error(13, "Type mismatch");
}

QString WriteField(const QString& text)
{
    return u'"' + text + u'"';
}

} // namespace vb
