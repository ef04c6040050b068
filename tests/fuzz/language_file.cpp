// Language files: read into the lookup table, then looked up.
#include "core/mlang.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = fuzz::Scrivi(QStringLiteral("lingua.ini"), fuzz::Byte(data, size));
    gblnLinguaCaricata = false;
    mLang::Carica_File_Lingua(file);
    mLang::Leggi_Chiave_Lingua(QStringLiteral("MDIForm1"), QStringLiteral("mnuFile"), QString(), file);
    mLang::Leggi_Chiave_Lingua(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("x"), file);
    qsizetype i = 0;
    while (mLang::Cerca_Riga(i, QStringLiteral("["), false))
        FUZZ_CHECK(i >= 1 && i <= gstrRigheLingua.size());
    mLang::Chiavi_Mancanti(file, file);
    return 0;
}
