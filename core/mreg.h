#pragma once
// Access to the program's settings: one text value per section and key.
//
// Every setting of the program passes through these two procedures. They
// know nothing of the meaning of the values: everything is text. The values
// live in the settings store installed in platform::services().settings
// (our INI file in the user's configuration folder; an in-memory store in
// tests).
#include <QList>
#include <QString>
#include <stdexcept>

namespace mReg {

// Error numbers. The argument checks use fixed numbers; a failure of the
// store uses ErrStoreBase plus a system result code (5 = access denied), so a
// caller can recover the cause by subtraction.
constexpr qint32 ErrAppNameEmpty = -2147220504; // 0x800403E8
constexpr qint32 ErrSectionEmpty = -2147220503; // 0x800403E9
constexpr qint32 ErrKeyEmpty = -2147220502;     // 0x800403EA
constexpr qint32 ErrStoreBase = -2147219504;    // 0x800407D0
constexpr qint32 ResultAccessDenied = 5;

// A numbered failure of the settings procedures.
class RegistryError : public std::runtime_error {
public:
    RegistryError(qint32 number, const QString& text, const QString& detail = {});

    qint32 number() const { return m_number; }
    // The fixed text of the failure ("Could not set key value", ...).
    QString text() const { return m_text; }
    // What the store said about it (may be empty): for messages to the user.
    QString detail() const { return m_detail; }

private:
    qint32 m_number;
    QString m_text;
    QString m_detail;
};

// The stored text of Key under AppName\Section, or `def` when the section or
// the key does not exist. AppName and Section are trimmed of blanks, Key is
// used exactly as passed. Throws RegistryError when an argument is empty.
QString Leggi_Impostazione(const QString& AppName, const QString& Section, const QString& Key,
                           const QString& def);

// Writes `value` under AppName\Section\Key, creating the section when needed.
// Throws RegistryError when an argument is empty or the value could not be
// kept (read-only or full disk, no store installed); nothing is written then.
void Salva_Impostazione(const QString& AppName, const QString& Section, const QString& Key,
                        const QString& value);

// Several values under AppName, kept as one: the settings file is written
// once, with all of them or (RegistryError) none. Each is checked as
// Salva_Impostazione checks its own before anything is written.
struct Impostazione {
    QString Section;
    QString Key;
    QString value;
};
void Salva_Impostazioni(const QString& AppName, const QList<Impostazione>& values);

} // namespace mReg
