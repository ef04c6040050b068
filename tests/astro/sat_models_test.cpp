// The propagation models on their own: the sample outputs printed in
// Spacetrack Report No. 3, the steering values of each model, and what each
// does with element registers it cannot use.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "astro/plan13.h"
#include "astro/satellite.h"
#include "astro/sdp4.h"
#include "astro/sgp4.h"
#include "sat_test_support.h"

namespace {

using astro::EsitoPropagazione;
using astro::StatoOrbitale;

struct Campione {
    double t, x, y, z, vx, vy, vz;
};

// The report's test element sets.
const char* k88888_1 = "1 88888U          80275.98708465  .00073094  13844-3  66816-4 0     8";
const char* k88888_2 = "2 88888  72.8435 115.9689 0086731  52.6988 110.5714 16.05824518   105";
const char* k11801_1 = "1 11801U          80230.29629788  .01431103  00000-0  14311-1      13";
const char* k11801_2 = "2 11801  46.7916 230.4354 7318036  47.4722  10.4117  2.28537848    13";

// The report's printed output (km, km/s), section 13.
const Campione kSGP[] = {
    {0, 2328.96594238, -5995.21600342, 1719.97894287, 2.91110113, -0.98164053, -7.09049922},
    {360, 2456.00610352, -6071.94232177, 1222.95977784, 2.67852119, -0.44705850, -7.22800565},
    {720, 2567.39477539, -6112.49725342, 713.97710419, 2.43952477, 0.09884824, -7.31889641},
    {1080, 2663.03179932, -6115.37414551, 195.73919105, 2.19531813, 0.65333930, -7.36169147},
    {1440, 2742.85470581, -6079.13580322, -328.86091614, 1.94707947, 1.21346101, -7.35499924},
};
const Campione kSGP4[] = {
    {0, 2328.97048951, -5995.22076416, 1719.97067261, 2.91207230, -0.98341546, -7.09081703},
    {360, 2456.10705566, -6071.93853760, 1222.89727783, 2.67938992, -0.44829041, -7.22879231},
    {720, 2567.56195068, -6112.50384522, 713.96397400, 2.44024599, 0.09810869, -7.31995916},
    {1080, 2663.09078980, -6115.48229980, 196.39640427, 2.19611958, 0.65241995, -7.36282432},
    {1440, 2742.55133057, -6079.67144775, -326.38095856, 1.94850229, 1.21106251, -7.35619372},
};
const Campione kSDP4[] = {
    {0, 7473.37066650, 428.95261765, 5828.74786377, 5.10715413, 6.44468284, -0.18613096},
    {360, -3305.22537232, 32410.86328125, -24697.17675781, -1.30113538, -1.15131518, -0.28333528},
    {720, 14271.28759766, 24110.46411133, -4725.76837158, -0.32050445, 2.67984074, -2.08405289},
    {1080, -9990.05883789, 22717.35522461, -23616.89062501, -1.01667246, -2.29026759, 0.72892364},
    {1440, 9787.86975097, 33753.34667969, -15030.81176758, -1.09425066, 0.92358845, -1.52230928},
};

template <size_t N>
void Verifica_Campioni(const char* l1, const char* l2, int modello, const Campione (&attesi)[N])
{
    const Satelement s = sattest::Da_Righe("", l1, l2);
    astro::ModelloSatellite m;
    m.Imposta(astro::Registri_Da_Satelement(s), modello);
    ASSERT_EQ(m.Modello(), modello);
    for (const Campione& c : attesi) {
        StatoOrbitale o;
        ASSERT_EQ(m.Propaga(c.t, o), EsitoPropagazione::Ok);
        const double dp = std::hypot(o.posizione[0] - c.x, o.posizione[1] - c.y, o.posizione[2] - c.z);
        const double dv = std::hypot(o.velocita[0] - c.vx, o.velocita[1] - c.vy, o.velocita[2] - c.vz);
        EXPECT_LT(dp, 0.015) << "tsince " << c.t;
        EXPECT_LT(dv, 2e-5) << "tsince " << c.t;
    }
}

TEST(SatModels, ReportSampleOutputs)
{
    {
        SCOPED_TRACE("SGP 88888");
        Verifica_Campioni(k88888_1, k88888_2, astro::PropagatoreSGP, kSGP);
    }
    {
        SCOPED_TRACE("SGP4 88888");
        Verifica_Campioni(k88888_1, k88888_2, astro::PropagatoreSGP4, kSGP4);
    }
    {
        SCOPED_TRACE("SDP4 11801");
        Verifica_Campioni(k11801_1, k11801_2, astro::PropagatoreSDP4, kSDP4);
    }
}

}  // namespace
