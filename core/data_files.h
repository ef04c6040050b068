#pragma once
// The fixed data tables the program loads once from its own folder: the star
// catalogue, the constellation figures and names, the planet elements (into
// the body table), the satellites' standard magnitudes and radio frequencies.
//
// Tables with a record per row keep the program's 1-based numbering: entry 0
// exists, is never filled and is never drawn; entries 1 .. size()-1 hold the
// rows in file order. The magnitude table is indexed by catalogue number from
// 0. Everything is filled by Carica_dati and read-only afterwards, except the
// chart fields of the stars and constellation lines (azimuth, elevation, chart
// position), which each chart rewrites when it draws, and gudtRecordStella.

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "astro/records.h"
#include "core/frequency_table.h"

// ---------------------------------------------------------------------------
// File names and fixed counts

inline constexpr const char* kFileStelle = "stars.bin";
inline constexpr const char* kFileLineeCostellazioni = "clines.dat";
inline constexpr const char* kFileNomiCostellazioni = "cnames.dat";
inline constexpr const char* kFilePianeti = "planets.dat";
inline constexpr const char* kFileMagnitudini = "magnitud.dat";
inline constexpr const char* kFileFrequenze = "frequen.dat";

inline constexpr int kNumStelle = 9010;              // stars loaded, brightest first
inline constexpr int kMinLineeCostellazioni = 646;   // clines.dat holds at least this many rows
inline constexpr int kNumNomiCostellazioni = 89;     // 88 constellations, Serpens in two parts
inline constexpr int kNumCorpi = 10;                 // rows of planets.dat and of the body table
inline constexpr int kLunghezzaRecordStella = 35;    // bytes per record of stars.bin
inline constexpr int kMaxNumeroCatalogo = 99999;     // largest catalogue number an element set can carry

// ---------------------------------------------------------------------------
// Records

// One record of stars.bin (35 bytes, little-endian). The character fields are
// the file's bytes as they stand, blank-padded, always of their full length.
struct RecordStella {
    float AscensioneRetta = 0.0f;   // hours
    float Declinazione = 0.0f;      // degrees
    std::int16_t Magnitudine = 0;   // visual magnitude x 100
    std::string Riservato = std::string(2, ' ');
    std::string Spettro = std::string(2, ' ');        // spectral class
    std::string Lettera = std::string(2, ' ');        // Bayer letter
    std::string Costellazione = std::string(3, ' ');  // constellation abbreviation
    std::string Nome = std::string(16, ' ');          // proper name
};

// One entry of the star table. Only the position is loaded; the rest is
// written by the chart that draws the star.
struct Stella {
    float AscensioneRetta = 0.0f;   // hours
    float Declinazione = 0.0f;      // degrees
    float Azimuth = 0.0f;
    float Altezza = 0.0f;
    float XMappa = 0.0f;
    float YMappa = 0.0f;
};

// One segment of a constellation figure.
struct LineaCostellazione {
    float AscensioneRetta1 = 0.0f;  // hours
    float Declinazione1 = 0.0f;     // degrees
    float Azimuth1 = 0.0f;
    float Altezza1 = 0.0f;
    float XMappa1 = 0.0f;
    float YMappa1 = 0.0f;
    float AscensioneRetta2 = 0.0f;
    float Declinazione2 = 0.0f;
    float Azimuth2 = 0.0f;
    float Altezza2 = 0.0f;
    float XMappa2 = 0.0f;
    float YMappa2 = 0.0f;
};

// The label of one constellation.
struct NomeCostellazione {
    double AscensioneRetta = 0.0;   // hours
    double Declinazione = 0.0;      // degrees
    QString Nome;                   // full name
    QString Sigla;                  // abbreviation, exactly 3 characters
};

// The orbital elements and name key of one row of planets.dat, in the columns
// of the file; Carica_dati copies them into the body table gudtCorpi.
struct ElementiCorpo {
    std::string Nome;               // key of the body's name in the language section "Planets"
    double PeriodoOrbitale = 0.0;
    double LongitudineEpoca = 0.0;
    double LongitudinePerielio = 0.0;
    double Eccentricita = 0.0;
    double SemiasseMaggiore = 0.0;
    double Inclinazione = 0.0;
    double LongitudineNodo = 0.0;
    double DiametroUnitario = 0.0;
    double MagnitudineUnitaria = 0.0;
};

// ---------------------------------------------------------------------------
// The tables

// Star table, entries 1 .. kNumStelle in the record order of stars.bin.
extern std::vector<Stella> gudtStelle;
// The star record read last (by the loader, or by a chart for a picked star).
extern RecordStella gudtRecordStella;
// Constellation segments, entries 1 .. size()-1 (at least kMinLineeCostellazioni).
extern std::vector<LineaCostellazione> gudtLineeCostellazioni;
// Constellation labels, entries 1 .. kNumNomiCostellazioni.
extern std::vector<NomeCostellazione> gudtNomiCostellazioni;
// Standard magnitude text by catalogue number, 0 .. size()-1; an empty text
// (or a number at or beyond size()) means the magnitude is unknown.
extern std::vector<std::string> gstrMagnitudini;
// Radio frequency rows, entries 1 .. size()-1 in file order: Riga0 the
// catalogue number text, Riga1 the uplink and Riga2 the downlink in MHz,
// each as the file writes it (the point is the decimal separator); indexed
// by catalogue number whenever it is filled.
extern TabellaFrequenze gudtFrequenze;

// Number of constellation segments loaded (gudtLineeCostellazioni.size() - 1).
int Numero_Linee_Costellazioni();
// Number of frequency rows loaded (gudtFrequenze.size() - 1).
int Numero_Frequenze();

// ---------------------------------------------------------------------------
// Loading

// What Carica_dati reports. On failure nothing of the tables has changed;
// the caller shows Testo_Lingua("MDIForm1", "erroredb") and ends the program.
struct EsitoCaricaDati {
    bool ok = true;
    QString file;        // name of the data file that could not be read
    int riga = 0;        // 1-based line of that file where reading stopped, 0 when not a text line
    QString dettaglio;   // what was wrong, in the user's language, for the message's second line
    explicit operator bool() const { return ok; }
};

// Reads the six fixed data files from `cartella` (the program folder) into
// the tables above and the orbital elements and name keys of the body table
// gudtCorpi (core/globals_time.h).
// All files are read first; the tables are replaced only when every file has
// been read without fault.
EsitoCaricaDati Carica_dati(const QString& cartella);

// Reads the bytes of one fixed data file (named as in the program folder) as
// Carica_dati would, without changing any table: where and why it stopped.
EsitoCaricaDati Verifica_File_Dati(const QString& nome, const QByteArray& byte);

// The message for a failed load, in the user's language: the "erroredb" text,
// then the file and line where reading stopped.
QString Testo_Errore_Dati(const EsitoCaricaDati& esito);

// Decodes one 35-byte record of stars.bin.
RecordStella Decodifica_Record_Stella(const char* byte35);

// A character field of a star record as text to show: UTF-8 when the bytes
// are valid UTF-8 (the Bayer letter is a Greek letter in two UTF-8 bytes),
// else Windows-1252; blanks around it removed.
QString Testo_Campo_Stella(const std::string& campo);

// Reads record `numero` (1-based) of stars.bin in `cartella` into
// gudtRecordStella, for the details of a picked star. False, with the record
// left unchanged, when the file cannot be read or has no such record.
bool Leggi_Record_Stella(const QString& cartella, int numero);
