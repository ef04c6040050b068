// Pointer handling of the local sky chart: the pop-up menu, the zoom box,
// the time labels of the principal's pass, picking a star or a body, and the
// coordinates under the pointer in the caption.
#include "maps/local_sky_window.h"
#include "maps/local_sky_menu.h"

#include "sky/object_box.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/transit.h"
#include "platform/canvas_widget.h"
#include "platform/vb.h"
#include "common/main_window_link.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace {

using vb::RGB;


constexpr double kRad = 0.0174532925;

// The chart's pointers: 1 normal, 2 time picking, 3 zoom.
QCursor Puntatore(int immagine)
{
    if (immagine != 2 && immagine != 3)
        return QCursor(Qt::CrossCursor);
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (immagine == 2) {
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(0, 16, 11, 16);
        p.drawLine(21, 16, 31, 16);
        p.drawLine(16, 0, 16, 11);
        p.drawLine(16, 21, 16, 31);
        p.drawEllipse(QPointF(23, 7), 5, 5);
        p.drawLine(QPointF(23, 7), QPointF(23, 4));
        p.drawLine(QPointF(23, 7), QPointF(25, 7));
        return QCursor(pm, 16, 16);
    }
    p.setPen(QPen(Qt::white, 2));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.drawLine(QPointF(8, 12), QPointF(16, 12));
    p.drawLine(QPointF(12, 8), QPointF(12, 16));
    return QCursor(pm, 12, 12);
}

} // namespace

void frmLocalSky::Imposta_Puntatore(int immagine)
{
    Picture1->setCursor(Puntatore(immagine));
}

bool frmLocalSky::dentro(double x, double y) const
{
    const platform::Canvas& c = Picture1->canvas();
    const double d = c.scaleWidth() == 400 ? 2 : 1;
    return gsngLatoSx / d < x && x < gsngLatoDx / d && gsngLatoDy < y && y < gsngLatoSy;
}

void frmLocalSky::Picture1_MouseDown(int button, int /*shift*/, double X, double Y)
{
    platform::Canvas& c = Picture1->canvas();
    m_xAncora = 0;
    m_yAncora = 0;
    if (button == 2) {
        if (MainWindowLink* m = MainWindowLink::instance())
            if (QMenu* menu = m->menu(QStringLiteral("mnuLocalSky")))
                menu->popup(QCursor::pos());
        return;
    }
    if (button != 1)
        return;
    if (maps::cielo::Spunta("mnuLocalSkyTempi")) {
        double migliore = 99999.0;
        m_puntoScelto = 0;
        if (dentro(X, Y)) {
            for (int k = 1; k <= core::Ultimo_Punto() - 1; ++k) {
                const core::PuntoPassaggio& p = gudtPuntiPassaggio[k];
                const double s = (X - p.XMappa) * (X - p.XMappa) + (Y - p.YMappa) * (Y - p.YMappa);
                if (s < migliore) {
                    migliore = s;
                    m_puntoScelto = k;
                }
            }
        }
        if (m_puntoScelto > 0 && migliore < std::abs(c.scaleHeight()) / 10) {
            const core::PuntoPassaggio& p = gudtPuntiPassaggio[m_puntoScelto];
            c.setCurrentX(p.XMappa);
            c.setCurrentY(p.YMappa);
            c.setForeColor(RGB(255, 255, 255));
            m_xAncora = p.XMappa;
            m_yAncora = p.YMappa;
        }
    }
    c.setCurrentX(X);
    c.setCurrentY(Y);
    m_xInizio = float(X);
    m_yInizio = float(Y);
}

void frmLocalSky::Picture1_MouseMove(int button, int /*shift*/, double X, double Y)
{
    platform::Canvas& c = Picture1->canvas();
    if (button == 1 && maps::cielo::Spunta("mnuLocalSkyZoom")) {
        c.setFillStyle(platform::Canvas::FillTransparent);
        pflgSatellite = false;
        c.setAutoRedraw(false);
        c.Cls();
        c.Line(m_xInizio, m_yInizio, X, Y, RGB(255, 255, 255), platform::Canvas::Box);
    } else if (button == 1 && maps::cielo::Spunta("mnuLocalSkyTempi") && m_xAncora != 0 && m_yAncora != 0) {
        pflgSatellite = false;
        c.setAutoRedraw(false);
        c.Cls();
        c.Line(m_xAncora, m_yAncora, X, Y, RGB(255, 255, 255));
    }
    double az = 0, alt = 0;
    Mappatura_inversa(float(X), float(Y), az, alt);
    if (alt < 0)
        return;
    const QString prefisso = m_titolo + QStringLiteral(" - ") + m_testoData + QLatin1Char(' ') + m_oraLocale
                             + QStringLiteral(" -  ");
    if (maps::cielo::Spunta("mnuLocalSkyCoordEquat")) {
        double ore = 0, minuti = 0, secondi = 0, gradi = 0, primi = 0;
        QString segno;
        mAstro::Orizzontali_Equatoriali(az * kRad, alt * kRad, ore, minuti, secondi, gradi, primi, segno);
        setWindowTitle(prefisso + fraSatellitePrincipale->lblAR->text() + QLatin1Char(' ') + vb::Format(ore, u"00h")
                       + vb::Format(minuti, u" 00m ") + vb::Format(secondi, u"00s ") + fraSatellitePrincipale->lblDec->text()
                       + QLatin1Char(' ') + segno + vb::Format(gradi, u"00°") + vb::Format(primi, u" 00'"));
    } else {
        const double azG = std::floor(az), azP = std::floor((az - azG) * 60);
        const double altG = std::floor(alt), altP = std::floor((alt - altG) * 60);
        setWindowTitle(prefisso + fraSatellitePrincipale->lblAz->text() + QLatin1Char(' ') + vb::Format(azG, u"000°")
                       + vb::Format(azP, u" 00' ") + fraSatellitePrincipale->lblAlt->text() + QLatin1Char(' ')
                       + vb::Format(altG, u"00°") + vb::Format(altP, u" 00'"));
    }
}

void frmLocalSky::Picture1_MouseUp(int button, int /*shift*/, double X, double Y)
{
    if (button != 1)
        return;
    platform::Canvas& c = Picture1->canvas();
    const bool zoom = maps::cielo::Spunta("mnuLocalSkyZoom");
    // The drag start is kept in single precision: compare the release in the same.
    if (zoom && float(X) != m_xInizio && float(Y) != m_yInizio) {
        X = std::clamp(X, -200.0, 200.0);
        Y = std::clamp(Y, -100.0, 100.0);
        c.Scale(m_xInizio, m_yInizio, X, Y);
        gsngLatoSx = m_xInizio;
        gsngLatoSy = m_yInizio;
        gsngLatoDx = float(X);
        gsngLatoDy = float(Y);
        pflgSatellite = true;
        gblnZoom = true;
        Genera_mappa();
        if (zoomEseguito)
            zoomEseguito();
        return;
    }
    if (maps::cielo::Spunta("mnuLocalSkyTempi")) {
        if (m_xAncora != 0 && m_yAncora != 0 && m_puntoScelto >= 1 && m_puntoScelto <= core::Ultimo_Punto()) {
            const QString testo = core::Testo_Etichetta(gudtPuntiPassaggio[m_puntoScelto],
                                                        mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("mag")));
            core::FlagGuard orologio(pflgCentrale, false);
            c.setAutoRedraw(false);
            c.Cls(); // the leader line of the drag goes
            c.setAutoRedraw(true);
            c.Line(m_xAncora, m_yAncora, X, Y, RGB(255, 255, 255));
            c.setCurrentX(X);
            c.setCurrentY(Y <= m_yAncora ? Y : Y + std::abs(c.scaleHeight()) / 30);
            c.setForeColor(RGB(255, 255, 255));
            c.Print(testo, false);
            core::EtichettaPassaggio e;
            e.XPunto = m_xAncora;
            e.YPunto = m_yAncora;
            e.XEtichetta = float(X);
            e.YEtichetta = float(Y);
            e.Punto = m_puntoScelto;
            gudtEtichettePassaggio.push_back(e);
            c.setAutoRedraw(false);
        }
        pflgSatellite = true;
        return;
    }
    if (zoom) {
        pflgSatellite = true;
        return;
    }
    if (!dentro(X, Y))
        return;
    double miglioreStella = 99999.0, miglioreCorpo = 99999.0;
    int stella = 0, corpo = 0;
    const int n = std::min<int>(gintNumStelle, int(gudtStelle.size()) - 1);
    for (int i = 1; i <= n; ++i) {
        const double s = (X - gudtStelle[i].XMappa) * (X - gudtStelle[i].XMappa)
                         + (Y - gudtStelle[i].YMappa) * (Y - gudtStelle[i].YMappa);
        if (s < miglioreStella) {
            miglioreStella = s;
            stella = i;
        }
    }
    for (int b = 1; b <= 9; ++b) {
        const double s = (X - gudtCorpi[b].XMappa) * (X - gudtCorpi[b].XMappa)
                         + (Y - gudtCorpi[b].YMappa) * (Y - gudtCorpi[b].YMappa);
        if (s < miglioreCorpo) {
            miglioreCorpo = s;
            corpo = b;
        }
    }
    const double soglia = std::abs(c.scaleHeight()) / 30;
    if (!(miglioreStella < soglia) && !(miglioreCorpo < soglia))
        return;
    int oggetto;
    if (miglioreStella >= miglioreCorpo) {
        oggetto = corpo;
    } else {
        // The star table is loaded in the record order of the catalogue.
        if (!Leggi_Record_Stella(mLang::Cartella_Programma(), stella))
            return;
        oggetto = 0;
    }
    ultimoOggetto = oggetto;
    if (mostraOggetto())
        mostraOggetto()(oggetto);
    else
        frmObject::Mostra(oggetto, MainWindowLink::window() ? MainWindowLink::window() : this);
}
