#pragma once
// What the whole-program tests share: the program's data and settings loaded
// in one language, a stopped clock at 2013-11-26 23:00 UT, and the sets of
// the sample element file.
#include "support/sample_sets.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/vb.h"

#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

namespace apptest {

using testsupport::Set_Campione;

// The program's language file (e.g. "english"), data files and settings,
// and the stopped clock; false when the data files do not load.
inline bool Prepara_Programma(const QString& lingua)
{
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + lingua + QStringLiteral(".ini"));
    mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    vb::setDisplayLocale(QLocale::c());
    if (!Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)).ok)
        return false;
    Leggi_impostazioni();
    core::CentralClock::instance().reset();
    gdatDataCorrente = QDateTime(QDate(2013, 11, 26), QTime(23, 0), Qt::UTC);
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    return true;
}

inline void Ripristina_Programma()
{
    core::CentralClock::instance().reset();
    pflgCentrale = pflgSatellite = false;
    gdatDataCorrente = QDateTime();
    mLang::Imposta_Cartella_Programma(QString());
    mLang::Usa_File_Lingua({});
}

} // namespace apptest
