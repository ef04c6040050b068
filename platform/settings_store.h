#pragma once
// Where the program keeps its settings: text values under a section and a key.
// The real store is an INI file in the user's configuration folder; tests use
// the in-memory store.
#include <QHash>
#include <QString>
#include <memory>
#include <optional>

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or nothing when the section or the key does not exist.
    virtual std::optional<QString> value(const QString& section, const QString& key) const = 0;
    // Writes one value; false with a reason in *error when it could not be kept.
    virtual bool setValue(const QString& section, const QString& key, const QString& text,
                          QString* error = nullptr) = 0;
    virtual bool hasSection(const QString& section) const = 0;

    struct Voce {
        QString section;
        QString key;
        QString text;
    };
    // Writes several values as one: all of them are kept, or (false, with a
    // reason in *error) none. By default one value after the other.
    virtual bool setValues(const QList<Voce>& voci, QString* error = nullptr);
    // Why the stored settings could not be read, as told to the user (the
    // file named); empty when they were read or there were none yet.
    virtual QString readFailure() const { return {}; }
    // When the stored settings held lines that are not settings (which the
    // next write leaves out): keeps them as they were read under a name of
    // their own, and gives what to tell the user (the file, the first such
    // line, the copy kept, or why none could be kept). Once: empty the next
    // time, and when there is nothing to tell.
    virtual QString keepUnreadLines() { return {}; }
};

// Settings kept in memory only (tests, and a store that failed to open).
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<QString> value(const QString& section, const QString& key) const override;
    bool setValue(const QString& section, const QString& key, const QString& text,
                  QString* error = nullptr) override;
    bool hasSection(const QString& section) const override;

    // Tests: make the next writes fail as a full or read-only disk would.
    void setFailWrites(bool fail) { m_failWrites = fail; }

private:
    QHash<QString, QHash<QString, QString>> m_sections;
    bool m_failWrites = false;
};

// Settings in an INI file of our own. Texts are kept exactly as written
// (no quoting, no type guessing, any characters); the file is rewritten
// whole, in UTF-8, through a temporary file, so a failed write leaves the old
// one intact. It is read in UTF-8 or Windows-1252 with any line ends.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(QString filePath);

    std::optional<QString> value(const QString& section, const QString& key) const override;
    bool setValue(const QString& section, const QString& key, const QString& text,
                  QString* error = nullptr) override;
    bool hasSection(const QString& section) const override;
    // The values are put in memory and the file is written once.
    bool setValues(const QList<Voce>& voci, QString* error = nullptr) override;

    QString filePath() const { return m_path; }
    // Why the existing file could not be read ("" when it was read or did
    // not exist yet), in the language in use when it is asked. While there
    // is one, writes are refused so that a file we could not read is never
    // replaced by one holding only the new values.
    QString loadError() const;
    QString readFailure() const override;
    // The first line (from 1) of the file that is not a setting (a comment,
    // a line outside a section or without "=", a heading cut short, a line
    // holding control characters other than a tab), 0 when there is none.
    // Such lines are not written back: the file as read is kept beside it,
    // under a name that takes nothing of the user's (<file>.bak, or
    // <file>.1.bak, <file>.2.bak... when that is taken), when the user is
    // told (keepUnreadLines) or at the first save, whichever comes first.
    // The first save writes the file even when no value changed.
    int lineaScartata() const { return m_lineaScartata; }
    QString keepUnreadLines() override;
    // Where the file as read was kept (empty until it was).
    QString copia() const { return m_copia; }
    // The default place: <configuration folder>/Astrovela/Astrovela.conf
    static QString defaultFilePath();

private:
    void load();
    bool save(QString* error) const;
    // Keeps the file as read beside it (see lineaScartata), once; false with
    // the reason, naming the file and the copy, when it could not be kept.
    bool conservaCopia(QString* error) const;
    // Puts one value in memory; true when it changed anything.
    bool put(const QString& section, const QString& key, const QString& text);

    QString m_path;
    // What kept the file from being read: said again in the language in use
    // whenever it is told (the file is read before any language is chosen).
    enum class Guasto { Nessuno, NonOrdinario, TroppoGrande, Sistema };
    Guasto m_guasto = Guasto::Nessuno;
    QString m_motivoSistema;
    int m_lineaScartata = 0;
    // Whether the file on disk still holds such lines (until a save).
    bool m_righeNelFile = false;
    QString m_testoScartato;   // that line, as read
    mutable QString m_copia;   // the copy kept
    bool m_avvisato = false;
    // Sections and keys in first-written order, so the file stays readable.
    QList<QString> m_sectionOrder;
    QHash<QString, QList<QPair<QString, QString>>> m_sections;
};

} // namespace platform
