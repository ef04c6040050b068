// The first start on a settings folder that cannot be written (a full disk):
// the language picker's choice holds for this run and one message says why
// it is not kept.
#include "core/mlang.h"
#include "core/settings.h"
#include "core/startup.h"
#include "platform/fakes.h"
#include "platform/settings_store.h"
#include "shell/language_picker.h"
#include "support/full_disk.h"
#include "support/named_pipe.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <cstring>

namespace {

// A first start: a program folder with the two language files and every
// fixed data file (their contents do not matter to the start's checks), no
// language chosen yet; the settings in the store Impostazioni makes.
class FirstStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.isValid() && user.isValid());
        for (const char* name : {"english.ini", "italiano.ini"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + name, program.filePath(name)));
        for (const QString& f : core::File_Fissi()) {
            QFile d(program.filePath(f));
            ASSERT_TRUE(d.open(QIODevice::WriteOnly));
            d.write("x");
        }
        mLang::Usa_File_Lingua({});
        mLang::Imposta_Cartella_Programma(program.path());
        gstrFileLingua.clear();
        gblnLinguaCaricata = false;
        avvio.cartellaProgramma = program.path();
        avvio.cartellaUtente = user.filePath("data");
    }
    void TearDown() override
    {
        scope.reset();
        mLang::Imposta_Cartella_Programma({});
        mLang::Imposta_Lingua_Non_Salvata({});
        gstrFileLingua.clear();
        gblnLinguaCaricata = false;
    }
    // The program's settings kept in this file for the rest of the test.
    platform::IniSettingsStore& Impostazioni(const QString& file)
    {
        scope.reset();
        ini.emplace(file);
        platform::Services servizi = fakes.services();
        servizi.settings = &*ini;
        scope.emplace(servizi);
        return *ini;
    }

    QTemporaryDir program, user;
    platform::FakeServices fakes;
    std::optional<platform::IniSettingsStore> ini;
    std::optional<platform::ScopedServices> scope;
    core::Avvio avvio;
};

} // namespace

TEST_F(FirstStart, AFullSettingsFolderKeepsTheChosenLanguageForThisRunAndSaysWhy)
{
    platform::IniSettingsStore& ini = Impostazioni(user.filePath("conf/Astrovela.conf"));
    int mostrato = 0;
    int esito = -1;
    avvio.scegliLingua = [&] {
        ++mostrato;
        frmLanguage picker(program.path());
        ASSERT_EQ(picker.lstLingua->count(), 2);
        picker.lstLingua->setCurrentRow(1);   // Italiano
        FullDisk pieno(0);
        ASSERT_TRUE(pieno.active());
        picker.cmdOK_Click();
        esito = picker.result();
    };
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    EXPECT_EQ(mostrato, 1);
    EXPECT_EQ(esito, int(QDialog::Accepted));
    EXPECT_EQ(gstrFileLingua, "italiano.ini");
    EXPECT_EQ(mLang::Testo_Lingua("Buttons", "cancel"), "Annulla");
    // One message, in the chosen language, with the system's reason.
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    const QString testo = fakes.prompt.calls[0].text;
    EXPECT_TRUE(testo.startsWith(mLang::Testo_Lingua("frmLanguage", "impostazioninonsalvate"))) << testo.toStdString();
    EXPECT_TRUE(testo.startsWith("Le impostazioni")) << testo.toStdString();
    EXPECT_TRUE(testo.contains(": File troppo grande.")) << testo.toStdString();
    EXPECT_TRUE(testo.contains(QDir::toNativeSeparators(user.filePath("conf/Astrovela.conf")))) << testo.toStdString();
    EXPECT_FALSE(ini.value("Generali", "Lingua").value_or(QString()).contains("italiano"));
    // The main window's loading reads the settings again: the choice stands.
    Leggi_impostazioni();
    core::Risolvi_File_Lingua();
    EXPECT_EQ(gstrFileLingua, "italiano.ini");
    EXPECT_EQ(mLang::Testo_Lingua("Buttons", "cancel"), "Annulla");

    // Cancel on the first start chooses nothing: the start ends.
    gstrFileLingua.clear();
    mLang::Imposta_Lingua_Non_Salvata({});
    avvio.scegliLingua = [&] {
        frmLanguage picker(program.path());
        EXPECT_FALSE(gstrFileLingua.isEmpty());   // shown in the first language meanwhile
        picker.cmdCancel_Click();
    };
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    EXPECT_TRUE(gstrFileLingua.isEmpty());
}

TEST_F(FirstStart, ASettingsFileThatCannotBeReadIsToldInTheLanguageChosen)
{
    // A named pipe where the settings file should be: the start says so
    // before any language is chosen (in English); after italiano is chosen
    // in the picker, the message on the choice not being kept is Italian
    // from its first word to its last, the reason included.
    NamedPipe tubo(user.filePath("Astrovela.conf"));
    ASSERT_TRUE(tubo.made());
    Impostazioni(tubo.path());
    avvio.scegliLingua = [&] {
        frmLanguage picker(program.path());
        picker.lstLingua->setCurrentRow(1);   // Italiano
        picker.cmdOK_Click();
    };
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    EXPECT_FALSE(tubo.waited());
    ASSERT_EQ(fakes.prompt.calls.size(), 2) << fakes.prompt.texts().join("\n--\n").toStdString();
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("The settings cannot be read"));
    const QString testo = fakes.prompt.calls[1].text;
    EXPECT_TRUE(testo.startsWith("Le impostazioni non possono essere salvate")) << testo.toStdString();
    EXPECT_TRUE(testo.contains(QDir::toNativeSeparators(tubo.path()) + " non è un file ordinario"))
        << testo.toStdString();
    for (const char* inglese : {"ordinary", "has not been read", "left as it is", "The settings file"})
        EXPECT_FALSE(testo.contains(QLatin1String(inglese))) << testo.toStdString();
    EXPECT_TRUE(testo.endsWith("Il file delle impostazioni è stato lasciato com'era.")) << testo.toStdString();
    EXPECT_FALSE(QFileInfo(tubo.path()).isFile());
}
