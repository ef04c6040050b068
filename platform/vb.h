#pragma once
// The classic runtime's text and number rules, in one place, so that every
// window reads and writes numbers, dates and text files the same way.
//
// Storage versus display: numbers written to or read from files and settings
// always use the point as decimal separator (Val, StrictValue, CStrC, Str,
// FormatC). Texts the user sees follow the display locale (Format, CStr).
#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace vb {

// A run-time error with its classic number: 6 Overflow, 13 Type mismatch,
// 62 Input past end of file.
class Error : public std::runtime_error {
public:
    Error(int number, const std::string& description)
        : std::runtime_error(description), m_number(number) {}
    int number() const { return m_number; }

private:
    int m_number;
};

// ------------------------------------------------------------ numbers in text

// The leading-number reading: blanks (spaces, tabs, line breaks) are skipped
// wherever they are, then the longest leading decimal number is taken: sign,
// digits, the point as decimal separator, an exponent (E or D, "1e5" is
// 100000). A text without one reads 0. Never fails; a number too large for a
// double reads as +-infinity.
double Val(QStringView text);
double Val(std::string_view text);
inline double Val(const QString& text) { return Val(QStringView(text)); }
inline double Val(const char* text) { return Val(std::string_view(text)); }

// The strict reading: the whole text, blanks around it allowed, must be one
// decimal number (point as separator, optional sign and exponent); otherwise,
// or when it overflows a double, nothing.
std::optional<double> StrictValue(QStringView text);
std::optional<double> StrictValue(std::string_view text);
inline std::optional<double> StrictValue(const QString& text) { return StrictValue(QStringView(text)); }
inline std::optional<double> StrictValue(const char* text) { return StrictValue(std::string_view(text)); }
// The strict reading that raises Error 13 (Type mismatch) on a bad text.
double CDbl(QStringView text);

// Whole numbers the classic way: CInt/CLng/CByte round a half to the even
// neighbour and raise Error 6 (Overflow) outside their range
// (-32768..32767, -2^31..2^31-1, 0..255). Int is the floor, Fix truncates.
int CInt(double x);
std::int32_t CLng(double x);
int CByte(double x);
double Int(double x);
double Fix(double x);

// ------------------------------------------------------------ numbers to text

// Storage form: up to 15 significant digits for a double, 7 for a float (so
// a float such as 45.4 is written "45.4"), point as separator, no grouping,
// exponent form "1E+16" only for very large or small values. Reads back with
// Val or StrictValue to the same value of its type.
QString CStrC(double x);
QString CStrC(float x);
// The same with a leading blank for numbers that are not negative, as Str did.
QString Str(double x);
QString Str(float x);
// The storage form with the display locale's decimal separator (what the user sees).
QString CStr(double x);
QString CStr(float x);

// ------------------------------------------------------------ Format pictures
//
// Number pictures: "0" a digit always shown, "#" a digit shown only when
// significant, "." the decimal point, "," grouping by three (in the integer
// digits), "%" the value times 100 with the sign shown, "\x" and "..." literal,
// any other character copied; up to three sections "positive;negative;zero".
// The last shown digit is rounded, a half away from zero, from the value's
// 15 significant digits (so 2.675 with "0.00" gives 2.68). A negative value
// that rounds to zero keeps its minus sign ("-0.0"), as the classic runtime did.
// Examples: Format(95.27, "000.0") = "095.3", Format(0, "###") = "",
// Format(7, "#0.000#") = "7.000", Format(5.12345, "#0.000#") = "5.1235",
// Format(149597870.7, "000,000,000") = "149,597,871".
//
// Date pictures (letters in either case): d dd (day), ddd dddd (weekday
// name), m mm (month; the minute right after an hour or before a second),
// mmm mmmm (month name), y (day of the year), yy yyyy, h hh (24-hour), n nn
// (minute), s ss, ":" and "/" copied, other characters copied.
// Examples: "dd mmmm yyyy  hh:mm:ss", "dd mmm yyyy hh:mm", "yyyymmdd hh:mm:ss".
// The named picture "Long Time" is the display locale's long time of day.
//
// A number given a date picture (or "Long Time") is a date serial, as
// toDateSerial makes them, shown to the nearest second: Format(0.75,
// "hh:mm:ss") = "18:00:00". An empty picture gives the number's plain text.

// For the user: the display locale's decimal point and grouping.
QString Format(double value, QStringView picture);
// For storage and for "format then read back" rounding: '.' and ','.
QString FormatC(double value, QStringView picture);
// A text: with a number picture, a text that reads strictly as a number is
// formatted as that number; with a date picture, a text CDate can read is
// formatted as that date-time; any other text comes back unchanged (so
// "???" stays "???").
QString Format(const QString& text, QStringView picture);
QString Format(const QDateTime& when, QStringView picture);
QString Format(const QDate& day, QStringView picture);
// Reads a date-time text as the program writes them: "dd mmm yyyy  hh:mm:ss"
// and the other day-month-year pictures (month by number or by name, full or
// abbreviated, in the language's names, the display locale's or English),
// "yyyymmdd hh:mm:ss", ISO "yyyy-MM-dd[Thh:mm[:ss]]", or a time alone
// "hh:mm[:ss]" (on 30 December 1899, as the classic runtime did). The time
// is optional after a date. Nothing when the text is none of these.
std::optional<QDateTime> CDate(QStringView text);

// Whether a picture is a date picture (holds no "0" or "#" placeholder).
bool isDatePicture(QStringView picture);

// The locale whose decimal point, grouping and default month and weekday
// names the user sees. Default: the system's.
void setDisplayLocale(const QLocale& locale);
QLocale displayLocale();
// Its decimal point and group separator (kept until the locale changes).
const QString& displayDecimalPoint();
const QString& displayGroupSeparator();

// Month and weekday names for date pictures. An empty function means the
// display locale's names. weekday: 1 = Monday ... 7 = Sunday.
struct DateNames {
    std::function<QString(int month, bool abbreviated)> month;
    std::function<QString(int weekday, bool abbreviated)> weekday;
};
void setDateNames(DateNames names);
const DateNames& dateNames();

// ------------------------------------------------------------ text helpers

// Blanks are spaces only (tabs stay), as the classic functions had it.
QString Trim(QStringView s);
QString LTrim(QStringView s);
QString RTrim(QStringView s);
// Proper case: the first letter of every word upper case, the others lower
// case; words are separated by blanks, tabs and line breaks.
QString ProperCase(QStringView s);
// 1-based substrings that never fail: a start beyond the end gives "".
QString Mid(QStringView s, int start, int length = -1);
QString Left(QStringView s, int length);
QString Right(QStringView s, int length);
// Columns `from` to `to` (1-based, inclusive) of a line, as far as it goes.
QString Columns(QStringView s, int from, int to);
// A field of `width` characters: LSet left-aligned (blanks after), RSet
// right-aligned (blanks before); a longer text keeps its leftmost characters.
QString LSet(QStringView s, int width);
QString RSet(QStringView s, int width);

// ------------------------------------------------------------ screen units

inline constexpr double kTwipsPerInch = 1440.0;
// 15 twips a pixel at 96 dots per inch.
int TwipsToPixels(double twips, double dpi = 96.0);
double PixelsToTwips(double pixels, double dpi = 96.0);
// Picture sizes were given in HiMetric units (hundredths of a millimetre).
inline double PixelsToHimetric(double pixels, double dpi = 96.0) { return pixels * 2540.0 / dpi; }
inline double HimetricToPixels(double himetric, double dpi = 96.0) { return himetric * dpi / 2540.0; }

// ------------------------------------------------------------ colours

// Colours are R + 256 G + 65536 B; a value with the top bit set is a system
// colour by index (5 window, 8 window text, 15 button face, ...).
constexpr std::uint32_t RGB(int r, int g, int b)
{
    return std::uint32_t(r & 255) | (std::uint32_t(g & 255) << 8) | (std::uint32_t(b & 255) << 16);
}
QColor toQColor(std::uint32_t color);
std::uint32_t fromQColor(const QColor& color);

// ------------------------------------------------------------ dates as numbers

// The classic date serial: days since 30 December 1899 with the time of day
// as the fraction (local wall time, no zone).
double toDateSerial(const QDateTime& when);
QDateTime fromDateSerial(double serial);

// ------------------------------------------------------------ text files

enum class TextEncoding { Utf8, Utf8Bom, Windows1252, Utf16LeBom, Utf16BeBom };
enum class LineEnding { CrLf, Lf, Cr };

struct TextDocument {
    QString text;                      // as in the file, line ends untouched
    TextEncoding encoding = TextEncoding::Utf8;
    LineEnding lineEnding = LineEnding::CrLf; // the first line end found (CR LF when none)
    // A UTF-16 file whose bytes are not valid UTF-16 (an odd count, a lone
    // surrogate): the text holds replacement characters.
    bool decodingError = false;
};

// UTF-16 (little- or big-endian) when the bytes begin with its byte-order
// mark; UTF-8 when they are valid UTF-8 (a byte-order mark is noted and
// dropped); else Windows-1252. The byte-order mark is never in the text.
TextDocument decodeText(const QByteArray& bytes);
// Whether the bytes begin with a UTF-16 byte-order mark.
bool hasUtf16Bom(const QByteArray& bytes);
// Whether a document is text a person wrote: decoded without error and free
// of NUL characters (a picture, an archive, a program is not).
bool isPlainText(const TextDocument& document);
// Characters Windows-1252 cannot hold become '?'.
QByteArray encodeText(const QString& text, TextEncoding encoding);
QString decodeWindows1252(const QByteArray& bytes);
QByteArray encodeWindows1252(const QString& text);
// Every CR LF, lone CR and lone LF becomes `ending`.
QString withLineEndings(const QString& text, LineEnding ending);
QString lineEndingText(LineEnding ending);

// The most a text file the program reads may hold: far more than any element
// file, list or data file, far less than would exhaust memory.
inline constexpr qint64 kMaxTextFileBytes = 64 * 1024 * 1024;
// A whole file's bytes, at most `maxBytes`: a larger file is refused with a
// reason naming the file, and so, at once, is anything that is not an
// ordinary file (a named pipe that would wait for a writer, a device such as
// /dev/zero that never ends, a folder).
std::optional<QByteArray> readFileBytes(const QString& path, qint64 maxBytes = kMaxTextFileBytes,
                                        QString* error = nullptr);
// When `path` exists and is not an ordinary file (following links), the
// reason readFileBytes gives for it, naming the file; else nothing (an
// ordinary file, or none there). For the commands that check a chosen file
// before they open a window for it.
std::optional<QString> notRegularFile(const QString& path);
// The reasons readFileBytes gives for a file that is not an ordinary one and
// for one larger than `maxBytes`, naming the file, in the user's language.
QString notRegularReason(const QString& path);
QString tooLargeReason(const QString& path, qint64 maxBytes);
// readFileBytes and decodeText.
std::optional<TextDocument> readTextFile(const QString& path, QString* error = nullptr);
// Written whole through a temporary file: a failed write leaves the old file
// as it was and returns false with the reason.
bool writeTextFile(const QString& path, const QString& text, TextEncoding encoding,
                   QString* error = nullptr);
// The bytes written whole through a temporary file, as writeTextFile; the
// reason of a failure is the system's ("No space left on device"), or
// saveRefusedReason's when the temporary file could not be made.
bool writeFileWhole(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Why a file could not be saved through a new copy made beside it (a
// QSaveFile that would not open), `reason` being what the save gave: the
// system's reason for the file itself when the user may not write it; when
// the user may not make files in its folder, that, naming the folder, with
// the system's reason ("Permission denied in the folder ..."); else `reason`.
// In the user's language, a phrase that reads alone on a line as after a
// colon.
QString saveRefusedReason(const QString& path, const QString& reason);
// Saves a document back in the encoding it was read with; its text's line
// ends are turned into the document's line ending first.
bool writeTextFile(const QString& path, const TextDocument& document, QString* error = nullptr);

// The system's reason for a failure ("Permission denied", as the C library
// or Qt gives it) in the user's language; a reason the language files do
// not hold comes back as it is. A reason already in English is recognised
// too, so a reason kept from before a language was chosen can be told again
// in the one chosen since.
QString systemReason(const QString& reason);
// The reason of a system error number, in the user's language.
QString systemReason(int errnum);
// Whether nothing is at `path` (no such file, or a part of its folder is
// missing or a file). False when something is there, also one the user may
// not look at: that is a reason to tell, not a missing file.
bool fileMissing(const QString& path);
// The name under which a copy of the file `path` is kept beside it without
// writing over anything: FILE.bak, or when that name is taken FILE.1.bak,
// FILE.2.bak... (a dangling link counts as taken: writing through it would
// create its target somewhere else). With `contents`, a name on that way
// that already holds exactly those bytes, an ordinary file, is given
// instead: the copy is there already.
QString freeCopyName(const QString& path, const QByteArray* contents = nullptr);
// Makes `folder` with the folders above it that are missing. False when one
// cannot be made (no permission, a file in its place), with a reason that
// names that folder and gives the system's.
bool makeFolder(const QString& folder, QString* error = nullptr);

// ------------------------------------------------------------ texts of this layer

// The texts this layer gives the user (reasons of failures) come from the
// user's language: the layer that holds the language files installs a
// lookup of (section, key); without it, or for a key it lacks, the English
// text given here is used.
using TextLookup = std::function<QString(const QString& section, const QString& key)>;
void setTextLookup(TextLookup lookup);
QString layerText(const QString& section, const QString& key, const QString& english);

// ------------------------------------------------------------ outside text on screen

// Text from outside the program (a satellite name, a file name, a server's
// reply, an element line) as it may be shown: control characters (C0, DEL,
// C1, and the bidirectional embeddings, overrides and isolates) become
// blanks, so that no escape, bell, line break or reversed text reaches a label.
QString displayable(QStringView text);
// The lines of such a text as they may be shown: CR LF, a lone CR and a lone
// LF each end a line, and every line is displayable().
QStringList displayableLines(const QString& text);
// Whether a text holds a control character (tabs and line ends included).
bool hasControlCharacters(QStringView text);

// ------------------------------------------------------------ sequential readers

// Lines as the classic line input read them: CR LF or a lone CR ends a line;
// a lone LF is kept inside the line. A final line end gives no extra empty line.
class LineReader {
public:
    explicit LineReader(QString text) : m_text(std::move(text)) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    // The next line without its end; raises Error 62 at the end of the text.
    QString readLine();
    // Characters consumed so far.
    qsizetype position() const { return m_pos; }
    qsizetype size() const { return m_text.size(); }

private:
    QString m_text;
    qsizetype m_pos = 0;
};

// Comma-separated fields as the classic list input read them: fields end at
// a comma or a line end (CR LF, CR or LF); blanks and tabs around a field are
// skipped; a field in double quotes is read without its quotes (no escapes;
// anything after the closing quote up to the comma is dropped); rows may be
// spread over lines, the reader only counts fields.
class ListReader {
public:
    explicit ListReader(QString text) : m_text(std::move(text)) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    // The next field as text; raises Error 62 at the end of the text.
    QString readString();
    // The next field as a number (point as separator, ".5" allowed); an
    // empty field reads 0. Nothing when the field is not a number.
    // Raises Error 62 at the end of the text.
    std::optional<double> readNumber();
    // readNumber that raises Error 13 (Type mismatch) on a field that is not a number.
    double readDouble();
    qsizetype position() const { return m_pos; }

private:
    QString readField(bool* quoted);
    QString m_text;
    qsizetype m_pos = 0;
};

// A text field as the list writer put it: between double quotes, no escaping.
QString WriteField(const QString& text);

} // namespace vb
