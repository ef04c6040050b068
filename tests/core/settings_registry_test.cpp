// Reading and writing single settings through the settings store.
#include "core/mreg.h"
#include "platform/services.h"
#include "platform/settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    platform::MemorySettingsStore store;
    platform::ScopedServices services{[this] {
        platform::Services s;
        s.settings = &store;
        return s;
    }()};
};

// Runs f and gives the number and text of the RegistryError it throws.
template <typename F>
std::pair<qint32, QString> errorOf(F f)
{
    try {
        f();
    } catch (const mReg::RegistryError& e) {
        return {e.number(), e.text()};
    }
    ADD_FAILURE() << "no RegistryError thrown";
    return {0, {}};
}

TEST_F(RegistryTest, MissingSectionOrKeyGivesDefaultWithoutCreatingIt)
{
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Mappamondo", "Griglia", "-1"), "-1");
    EXPECT_FALSE(store.hasSection("Mappamondo"));
    mReg::Salva_Impostazione("Astrovela", "Mappamondo", "Citta", "0");
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Mappamondo", "Griglia", "dflt"), "dflt");
}

TEST_F(RegistryTest, WrittenTextReadsBackExactly)
{
    const QStringList texts = {"0", "1", "-1", "Italy: Milano", "  blanks  ", "a=b;[c]",
                               QString::fromUtf8("Città €"), "line\nbreak"};
    for (const QString& t : texts) {
        mReg::Salva_Impostazione("Astrovela", "Generali", "K", t);
        EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Generali", "K", "default"), t);
    }
    // An empty value is a value: it does not fall back to the default.
    mReg::Salva_Impostazione("Astrovela", "Database", "Primario", "");
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Database", "Primario", "default"), "");
}

TEST_F(RegistryTest, EmptyArgumentsRaiseTheirNumbersInOrderAndWriteNothing)
{
    auto e = errorOf([] { mReg::Salva_Impostazione("   ", "", "", "x"); });
    EXPECT_EQ(e.first, -2147220504);
    EXPECT_EQ(e.second, "AppName may not be empty");
    e = errorOf([] { mReg::Salva_Impostazione("Astrovela", "   ", "", "x"); });
    EXPECT_EQ(e.first, -2147220503);
    EXPECT_EQ(e.second, "Section may not be empty");
    e = errorOf([] { mReg::Leggi_Impostazione("Astrovela", "Generali", "  ", "d"); });
    EXPECT_EQ(e.first, -2147220502);
    EXPECT_EQ(e.second, "Key may not be empty");
    EXPECT_FALSE(store.hasSection("   "));
    EXPECT_FALSE(store.hasSection(""));
}

TEST_F(RegistryTest, AppAndSectionAreTrimmedButTheKeyIsNot)
{
    mReg::Salva_Impostazione(" Astrovela ", "  Osservatore ", "Quota", "133");
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Osservatore", "Quota", "d"), "133");
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Osservatore", " Quota", "d"), "d");
    // Another application's settings are kept apart from ours.
    mReg::Salva_Impostazione("Other", "Osservatore", "Quota", "9");
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Osservatore", "Quota", "d"), "133");
    EXPECT_EQ(mReg::Leggi_Impostazione("Other", "Osservatore", "Quota", "d"), "9");
}

TEST_F(RegistryTest, FailedWriteIsReportedWithTheStoreCode)
{
    store.setFailWrites(true);
    auto e = errorOf([] { mReg::Salva_Impostazione("Astrovela", "Nuova", "K", "v"); });
    EXPECT_EQ(e.first, -2147219504 + 5);
    EXPECT_EQ(e.second, "Could not open/create registry section");
    store.setFailWrites(false);
    mReg::Salva_Impostazione("Astrovela", "Nuova", "K", "v");
    store.setFailWrites(true);
    e = errorOf([] { mReg::Salva_Impostazione("Astrovela", "Nuova", "K", "w"); });
    EXPECT_EQ(e.first, -2147219504 + 5);
    EXPECT_EQ(e.second, "Could not set key value");
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Nuova", "K", "d"), "v");
}

TEST(RegistryFileTest, UnwritableSettingsFileRaisesAndKeepsNothing)
{
    QTemporaryDir dir;
    // A plain file where the settings folder should be: the folder cannot be made.
    QFile blocker(dir.filePath("cfg"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    platform::IniSettingsStore store(dir.filePath("cfg/Astrovela/Astrovela.conf"));
    platform::Services s;
    s.settings = &store;
    platform::ScopedServices scoped(s);
    try {
        mReg::Salva_Impostazione("Astrovela", "Generali", "Lingua", "english.ini");
        ADD_FAILURE() << "write to an impossible place reported success";
    } catch (const mReg::RegistryError& e) {
        EXPECT_EQ(e.number() - mReg::ErrStoreBase, 5);
        EXPECT_FALSE(e.detail().isEmpty());
    }
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Generali", "Lingua", "none"), "none");
}

TEST(RegistryNoStoreTest, ReadsGiveDefaultsAndWritesFailCleanly)
{
    platform::ScopedServices none(platform::Services{});
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Generali", "Lingua", "d"), "d");
    EXPECT_THROW(mReg::Salva_Impostazione("Astrovela", "Generali", "Lingua", "x"),
                 mReg::RegistryError);
}

} // namespace
