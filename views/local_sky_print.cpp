#include "views/frm_local_sky.h"
void frmLocalSky::Stampa() {}
