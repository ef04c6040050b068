#include "core/globals_time.h"

QDateTime gdatDataLocale;
QDateTime gdatDataUT;
double gdblAnnoUT = 0;
double gdblMeseUT = 0;
double gdblGiornoUT = 0;
double gdblAnnoLocale = 0;
double gdblMeseLocale = 0;
double gdblGiornoLocale = 0;
double gdblOraUT = 0;
double gdblOraLocale = 0;
int gintGiornoAnnoUT = 0;
int gintGiornoAnnoLocale = 0;
double gdblGiornoGiuliano = 0;
double gdblGiornoGiuliano0h = 0;
double gdblTempoSideraleGreenwich = 0;
double gdblTempoSiderale = 0;

double gdblDeclinazioneSole = 0;
double gdblAscensioneSole = 0;
double gdblLongitudineSole = 0;
double gdblAnomaliaMediaSole = 0;

mAstro::TabellaCorpi gudtCorpi{};
