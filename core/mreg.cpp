#include "core/mreg.h"

#include "platform/services.h"
#include "platform/settings_store.h"

namespace mReg {

RegistryError::RegistryError(qint32 number, const QString& text, const QString& detail)
    : std::runtime_error(text.toStdString()), m_number(number), m_text(text), m_detail(detail)
{
}

namespace {

const QString kProgramName = QStringLiteral("Astrovela");

// Removes leading and trailing blanks (spaces only, as the settings always did).
QString trimBlanks(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s.at(b) == u' ')
        ++b;
    while (e > b && s.at(e - 1) == u' ')
        --e;
    return s.mid(b, e - b);
}

// Checks the arguments and gives the store's section name. The program's own
// settings live directly under their section; another application name is
// kept apart as "<name>\<section>".
QString storeSection(const QString& AppName, const QString& Section, const QString& Key)
{
    const QString app = trimBlanks(AppName);
    if (app.isEmpty())
        throw RegistryError(ErrAppNameEmpty, QStringLiteral("AppName may not be empty"));
    const QString section = trimBlanks(Section);
    if (section.isEmpty())
        throw RegistryError(ErrSectionEmpty, QStringLiteral("Section may not be empty"));
    if (trimBlanks(Key).isEmpty())
        throw RegistryError(ErrKeyEmpty, QStringLiteral("Key may not be empty"));
    if (app.compare(kProgramName, Qt::CaseInsensitive) == 0)
        return section;
    return app + u'\\' + section;
}

} // namespace

QString Leggi_Impostazione(const QString& AppName, const QString& Section, const QString& Key,
                           const QString& def)
{
    const QString section = storeSection(AppName, Section, Key);
    const platform::SettingsStore* store = platform::services().settings;
    if (!store)
        return def; // nothing stored anywhere: every key is missing
    const std::optional<QString> v = store->value(section, Key);
    return v ? *v : def;
}

void Salva_Impostazione(const QString& AppName, const QString& Section, const QString& Key,
                        const QString& value)
{
    Salva_Impostazioni(AppName, {Impostazione{Section, Key, value}});
}

void Salva_Impostazioni(const QString& AppName, const QList<Impostazione>& values)
{
    QList<platform::SettingsStore::Voce> voci;
    voci.reserve(values.size());
    for (const Impostazione& v : values)
        voci.append({storeSection(AppName, v.Section, v.Key), v.Key, v.value});
    platform::SettingsStore* store = platform::services().settings;
    if (!store)
        throw RegistryError(ErrStoreBase + ResultAccessDenied,
                            QStringLiteral("Could not open/create registry section"),
                            QStringLiteral("No settings store is open."));
    bool sectionsExisted = true;
    for (const auto& v : voci)
        sectionsExisted = sectionsExisted && store->hasSection(v.section);
    QString reason;
    if (!store->setValues(voci, &reason)) {
        if (!sectionsExisted)
            throw RegistryError(ErrStoreBase + ResultAccessDenied,
                                QStringLiteral("Could not open/create registry section"), reason);
        throw RegistryError(ErrStoreBase + ResultAccessDenied,
                            QStringLiteral("Could not set key value"), reason);
    }
}

} // namespace mReg
