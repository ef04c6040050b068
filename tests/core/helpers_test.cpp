// The small shared helpers: durations, URL file names, time zone, network, open windows.
#include "core/mglobal.h"
#include "platform/network_check.h"
#include "platform/services.h"
#include "platform/time_zone_info.h"

#include <QObject>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

TEST(HelpersTest, DurationsAsHoursMinutesSeconds)
{
    EXPECT_EQ(mGlobal::Formatta_Durata(0), "00:00:00");
    EXPECT_EQ(mGlobal::Formatta_Durata(59), "00:00:59");
    EXPECT_EQ(mGlobal::Formatta_Durata(60), "00:01:00");
    EXPECT_EQ(mGlobal::Formatta_Durata(3599), "00:59:59");
    EXPECT_EQ(mGlobal::Formatta_Durata(3725), "01:02:05");
    EXPECT_EQ(mGlobal::Formatta_Durata(59.7f), "00:00:59");
    // A day and more (a slow download of a big file).
    EXPECT_EQ(mGlobal::Formatta_Durata(86399), "23:59:59");
    EXPECT_EQ(mGlobal::Formatta_Durata(86400), "24:00:00");
    EXPECT_EQ(mGlobal::Formatta_Durata(90061), "25:01:01");
    EXPECT_EQ(mGlobal::Formatta_Durata(360000), "100:00:00");
    // Nonsense figures (no speed measured yet) do not make nonsense texts.
    EXPECT_EQ(mGlobal::Formatta_Durata(-5), "00:00:00");
    EXPECT_EQ(mGlobal::Formatta_Durata(std::numeric_limits<float>::infinity()), "");
    EXPECT_EQ(mGlobal::Formatta_Durata(std::numeric_limits<float>::quiet_NaN()), "");
    EXPECT_EQ(mGlobal::Formatta_Durata(std::numeric_limits<float>::max()), "");
}

TEST(HelpersTest, FileNameAtTheEndOfAUrl)
{
    EXPECT_EQ(mGlobal::Nome_File_Da_URL("celestrak.org/NORAD/elements/visual.txt"), "visual.txt");
    EXPECT_EQ(mGlobal::Nome_File_Da_URL("http://host/dir/"), "");
    EXPECT_EQ(mGlobal::Nome_File_Da_URL("noslash.txt"), "noslash.txt");
    EXPECT_EQ(mGlobal::Nome_File_Da_URL(""), "");
}

class FixedTimeZone : public platform::TimeZoneInfo {
public:
    std::optional<platform::TimeZoneState> state;
    std::optional<platform::TimeZoneState> current() const override { return state; }
};

class FixedNetwork : public platform::NetworkCheck {
public:
    bool connected = false;
    bool isConnected() const override { return connected; }
};

TEST(HelpersTest, TimeZoneStateOfTheComputer)
{
    FixedTimeZone tz;
    platform::Services s;
    s.timeZone = &tz;
    platform::ScopedServices scoped(s);

    float bias = 99;
    bool daylight = true;
    tz.state = platform::TimeZoneState{-60, false}; // Central Europe in winter
    EXPECT_TRUE(mGlobal::Leggi_Fuso_Orario(bias, daylight));
    EXPECT_EQ(bias, -60.0f);
    EXPECT_FALSE(daylight);
    tz.state = platform::TimeZoneState{300 - 60, true}; // New York in summer
    EXPECT_TRUE(mGlobal::Leggi_Fuso_Orario(bias, daylight));
    EXPECT_EQ(bias, 240.0f);
    EXPECT_TRUE(daylight);
    // Unknown: bias 0, flag left as it was.
    tz.state.reset();
    EXPECT_FALSE(mGlobal::Leggi_Fuso_Orario(bias, daylight));
    EXPECT_EQ(bias, 0.0f);
    EXPECT_TRUE(daylight);
}

TEST(HelpersTest, NetworkStateComesFromThePlatform)
{
    FixedNetwork net;
    platform::Services s;
    s.network = &net;
    {
        platform::ScopedServices scoped(s);
        EXPECT_FALSE(mGlobal::Connessione_Internet());
        net.connected = true;
        EXPECT_TRUE(mGlobal::Connessione_Internet());
    }
    platform::ScopedServices none(platform::Services{});
    EXPECT_FALSE(mGlobal::Connessione_Internet());
}

TEST(HelpersTest, OpenWindowsAreFoundByNameWithoutCase)
{
    auto map = std::make_unique<QObject>();
    map->setObjectName("frmWorldMap");
    mGlobal::Registra_Finestra(map.get());
    EXPECT_TRUE(mGlobal::Form_Aperta("FRMWORLDMAP"));
    EXPECT_TRUE(mGlobal::Form_Aperta("frmworldmap"));
    EXPECT_FALSE(mGlobal::Form_Aperta("frmWorld"));
    EXPECT_FALSE(mGlobal::Form_Aperta(""));
    map.reset(); // unloaded
    EXPECT_FALSE(mGlobal::Form_Aperta("frmWorldMap"));

    // Windows the user interface lists are found as well.
    QObject track;
    track.setObjectName("frmTrack");
    mGlobal::Imposta_Elenco_Finestre([&track] { return QList<QObject*>{&track}; });
    EXPECT_TRUE(mGlobal::Form_Aperta("FrmTrack"));
    mGlobal::Imposta_Elenco_Finestre({});
    EXPECT_FALSE(mGlobal::Form_Aperta("frmTrack"));
}

} // namespace
