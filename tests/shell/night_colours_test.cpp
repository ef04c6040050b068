// Night colours: the palette put on, and the user's colours put back exactly;
// every surface the style paints (the options' pages, frames, group boxes,
// buttons, title bars) in the palette's own colours, and the day's look
// back pixel for pixel.
#include "shell/night_colours.h"

#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/help_service.h"
#include "platform/help_window.h"
#include "settings/settings_dialog.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSizeGrip>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <tuple>

namespace {

QPalette userPalette()
{
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Window, QColor(10, 20, 30));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
    p.setColor(QPalette::Inactive, QPalette::Highlight, QColor(200, 100, 50));
    return p;
}

class NightTest : public ::testing::Test {
protected:
    void SetUp() override { before = QApplication::palette(); }
    void TearDown() override { QApplication::setPalette(before); }
    QPalette before;
};

// Every colour of every group and role, for an exact comparison.
void expectSamePalette(const QPalette& a, const QPalette& b)
{
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = QPalette::ColorGroup(g);
            const auto role = QPalette::ColorRole(r);
            EXPECT_EQ(a.color(group, role), b.color(group, role)) << "group " << g << " role " << r;
        }
}

TEST_F(NightTest, NightPaletteFollowsTheTable)
{
    // The night table itself: R64 scroll bar, grey 128 disabled text, R255 window text.
    EXPECT_EQ(mNight::Colore_Notte(0), 64u);
    EXPECT_EQ(mNight::Colore_Notte(1), 0u);
    EXPECT_EQ(mNight::Colore_Notte(8), 255u);
    EXPECT_EQ(mNight::Colore_Notte(17), 0x808080u);
    EXPECT_EQ(mNight::Colore_Notte(28), 0u);
    EXPECT_EQ(mNight::Colore_Notte(27), 64u);

    QApplication::setPalette(userPalette());
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    const QPalette night = QApplication::palette();
    EXPECT_EQ(night.color(QPalette::Window), QColor(128, 0, 0));
    EXPECT_EQ(night.color(QPalette::Base), QColor(128, 0, 0));
    EXPECT_EQ(night.color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(night.color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(night.color(QPalette::ButtonText), QColor(0, 0, 0));
    EXPECT_EQ(night.color(QPalette::Disabled, QPalette::Text), QColor(128, 128, 128));
    EXPECT_EQ(night.color(QPalette::Inactive, QPalette::Highlight), QColor(128, 0, 0));
    // A link in a page (the manual's contents) can be read: not in the
    // page's own colour, in the text's.
    EXPECT_EQ(night.color(QPalette::Link), QColor(255, 0, 0));
    EXPECT_EQ(night.color(QPalette::LinkVisited), QColor(255, 0, 0));
    // No colour of the night palette has green or blue in it, except the grey.
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
        const QColor c = night.color(QPalette::Active, QPalette::ColorRole(r));
        if (r != QPalette::PlaceholderText && r != QPalette::NoRole) {
            EXPECT_TRUE(c.green() == 0 && c.blue() == 0) << "role " << r;
        }
    }
    // The saved table holds the user's window colour (button face element 15).
    EXPECT_EQ(mNight::Colore_Salvato(15), 10u + 256u * 20u + 65536u * 30u);
    mNight::Ripristina_Colori();
}

TEST_F(NightTest, OnOffOnOffPutsTheUsersColoursBackEachTime)
{
    QApplication::setPalette(userPalette());
    const QPalette user = QApplication::palette();
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    mNight::Ripristina_Colori();
    expectSamePalette(QApplication::palette(), user);

    // The user changes colours between two night sessions.
    QPalette changed = user;
    changed.setColor(QPalette::Base, QColor(250, 250, 200));
    QApplication::setPalette(changed);
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    EXPECT_NE(QApplication::palette().color(QPalette::Base), QColor(250, 250, 200));
    mNight::Chiusura(); // closing while the night mode is on
    expectSamePalette(QApplication::palette(), changed);
}

TEST_F(NightTest, WorkspaceBehindChildWindowsTurnsBlackAndBack)
{
    QMdiArea area;
    const QBrush dayBrush(QColor(90, 90, 160));
    area.setBackground(dayBrush);
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    EXPECT_EQ(area.background().color(), QColor(0, 0, 0));
    mNight::Ripristina_Colori();
    EXPECT_EQ(area.background(), dayBrush);
}

// The colours the night palette names: pure reds 64, 128 and 255, black
// and the grey of disabled text.
bool coloreDellaNotte(QRgb c)
{
    return (qGreen(c) == 0 && qBlue(c) == 0 && (qRed(c) == 0 || qRed(c) == 64 || qRed(c) == 128 || qRed(c) == 255))
        || c == qRgb(128, 128, 128);
}

// The pixels of `immagine` (a grab of `radice`) outside `escluse` whose
// colour the palette does not name: the first few, with their place.
std::string fuoriPalette(const QImage& immagine, const QRegion& escluse, const char* dove)
{
    std::string out;
    int quanti = 0;
    for (int y = 0; y < immagine.height(); ++y)
        for (int x = 0; x < immagine.width(); ++x) {
            const QRgb c = immagine.pixel(x, y);
            if (coloreDellaNotte(c) || escluse.contains(QPoint(x, y)))
                continue;
            if (++quanti <= 5)
                out += QStringLiteral(" (%1,%2)=%3,%4,%5")
                           .arg(x).arg(y).arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c))
                           .toStdString();
        }
    return quanti ? dove + (": " + std::to_string(quanti) + " pixels, e.g." + out) : std::string();
}

// Where text stands inside `radice` (in its coordinates): the controls
// that show text or pictures, and the titles of group boxes. What is left
// is what the style paints: page areas, frames, group boxes, edges.
QRegion testi(QWidget* radice)
{
    QRegion r;
    for (QWidget* c : radice->findChildren<QWidget*>()) {
        if (!c->isVisible())
            continue;
        const QRect dove(c->mapTo(radice, QPoint(0, 0)), c->size());
        if (auto* g = qobject_cast<QGroupBox*>(c)) {
            const QFontMetrics fm = g->fontMetrics();
            r += QRect(dove.topLeft(), QSize(fm.horizontalAdvance(g->title()) + 24, fm.height() + 2));
        } else if (auto* t = qobject_cast<QTabBar*>(c)) {
            for (int i = 0; i < t->count(); ++i)
                r += t->tabRect(i).adjusted(3, 3, -3, -3).translated(dove.topLeft());
        } else if (qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c) || qobject_cast<QComboBox*>(c)
                   || qobject_cast<QLineEdit*>(c) || qobject_cast<QAbstractScrollArea*>(c)
                   || qobject_cast<QAbstractSpinBox*>(c) || c->findChildren<QWidget*>().isEmpty()) {
            r += dove;
        }
    }
    return r;
}

// What the screen shows of `w` (not a fresh drawing of it): a window that
// was not drawn again after a change still shows the old colours there.
QImage schermo(QWidget* w)
{
    QWidget* finestra = w->window();
    const QPoint o = w->mapTo(finestra, QPoint(0, 0));
    return finestra->screen()
        ->grabWindow(finestra->winId(), o.x(), o.y(), w->width(), w->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A region of the layout in the device pixels of a picture, `k` to a
// pixel, each part grown to whole device pixels.
QRegion inPixel(const QRegion& r, qreal k)
{
    QRegion out;
    for (const QRect& t : r)
        out += QTransform::fromScale(k, k).mapRect(QRectF(t)).toAlignedRect();
    return out;
}

// A button's own face, its text left out.
QRegion testoDelPulsante(QAbstractButton* b)
{
    const QRect t = b->style()->itemTextRect(b->fontMetrics(), b->rect(), Qt::AlignCenter | Qt::TextShowMnemonic, true,
                                             b->text());
    return QRegion(t.adjusted(-2, -2, 2, 2));
}

// ------------------------------------------------ places compared with the day
QImage foto(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Two colours that make an edge: the day's gradients change a unit or two
// from one row to the next, its faintest lines (a group box's) by 24, the
// night's by tens. On a plain ground (`soglia` 3) any pixel drawn on it
// counts: at 1.5x and 2x the day's lines have a faint outer row.
bool bordo(QRgb a, QRgb b, int soglia = 16)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))})
        > soglia;
}

// Going from `da` by `passo`, how many steps to the first pixel that makes
// an edge with the one at `da` (-1: none within `n`).
int primoBordo(const QImage& img, QPoint da, QPoint passo, int n, int soglia = 16)
{
    for (int i = 1; i < n && img.rect().contains(da + passo * i); ++i)
        if (bordo(img.pixel(da + passo * i), img.pixel(da), soglia))
            return i;
    return -1;
}

// How many edges a line of pixels crosses, from `da` by `passo`, n pixels.
int bordiLungo(const QImage& img, QPoint da, QPoint passo, int n)
{
    int quanti = 0;
    for (int i = 1; i < n; ++i)
        quanti += bordo(img.pixel(da + passo * (i - 1)), img.pixel(da + passo * i));
    return quanti;
}

// What stands out inside `dove` from the colour its rows start with (the
// ground of a bar or a button changes from row to row, not along a row).
QRect inchiostro(const QImage& img, const QRect& area, int soglia = 16)
{
    // A part in the window's corner, grown to whole device pixels, may
    // reach a pixel past the picture's edge.
    const QRect dove = area & img.rect();
    QRect r;
    for (int y = dove.top(); y <= dove.bottom(); ++y)
        for (int x = dove.left(); x <= dove.right(); ++x)
            if (bordo(img.pixel(x, y), img.pixel(dove.left(), y), soglia))
                r |= QRect(x, y, 1, 1);
    return r;
}

// Two places that agree within a pixel (what is drawn differs: the day's
// rounded corners and soft shades, the night's flat edges).
::testing::AssertionResult stessoPosto(const QRect& giorno, const QRect& notte, int tolleranza = 1)
{
    const auto testo = [](const QRect& r) {
        return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
    };
    if (giorno.isNull() != notte.isNull()
        || std::abs(giorno.left() - notte.left()) > tolleranza || std::abs(giorno.top() - notte.top()) > tolleranza
        || std::abs(giorno.right() - notte.right()) > tolleranza
        || std::abs(giorno.bottom() - notte.bottom()) > tolleranza)
        return ::testing::AssertionFailure() << "by day " << testo(giorno) << ", at night " << testo(notte);
    return ::testing::AssertionSuccess();
}

struct NightOptionsTest : NightTest {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    void SetUp() override
    {
        NightTest::SetUp();
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        Leggi_impostazioni();
    }
    void TearDown() override
    {
        delete frmSettings::instance(false);
        mLang::Usa_File_Lingua(QString());
        NightTest::TearDown();
    }
};

// Every control of `finestra` the user reaches with Tab, as it is now (the
// page shown), each one's picture without the keyboard and with it.
struct ConLaTastiera {
    QWidget* w;
    QImage senza, con;
};
std::vector<ConLaTastiera> conLaTastiera(QWidget* finestra)
{
    std::vector<ConLaTastiera> out;
    QWidget* prima = QApplication::focusWidget();
    // As after a Tab: the window shows where the keys are.
    finestra->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    for (QWidget* w : finestra->findChildren<QWidget*>()) {
        const bool dentroUnAltro = qobject_cast<QAbstractSpinBox*>(w->parentWidget())
                                || qobject_cast<QComboBox*>(w->parentWidget());
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || !w->isVisible() || !w->isEnabled() || dentroUnAltro)
            continue;
        if (QApplication::focusWidget())
            QApplication::focusWidget()->clearFocus();
        QApplication::processEvents();
        const QImage senza = foto(w);
        w->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        out.push_back({w, senza, foto(w)});
    }
    finestra->window()->setAttribute(Qt::WA_KeyboardFocusChange, false);
    if (prima)
        prima->setFocus(Qt::OtherFocusReason);
    else if (QApplication::focusWidget())
        QApplication::focusWidget()->clearFocus();
    QApplication::processEvents();
    return out;
}

// Options in night colours, in the workspace as the user has it: on every
// page the page area, its frames and group boxes, the page buttons, the
// title bar of the window in front are painted in the palette's colours
// only (the style would otherwise shade them from it, about red 162, green
// 41, blue 41 under the page's red text); every control the keys reach with
// Tab shows that it has them, wherever the day shows it. Night colours off:
// every pixel as before they were on.
TEST_F(NightOptionsTest, OptionsPagesAreInThePalettesColoursAndTheDayComesBackWhole)
{
    QMainWindow principale;
    auto* area = new QMdiArea(&principale);
    principale.setCentralWidget(area);
    principale.resize(1100, 800);
    principale.show();
    frmSettings* d = frmSettings::Mostra(0);
    ASSERT_NE(d, nullptr);
    QMdiSubWindow* cornice = area->activeSubWindow();
    ASSERT_TRUE(cornice && cornice->widget() == d);
    QTest::qWait(300);  // the frame placed and drawn, as the user sees it
    std::vector<QImage> pagineDiGiorno;
    std::vector<std::vector<ConLaTastiera>> tastieraDiGiorno;
    for (int pagina = 0; pagina < d->SSTab1->count(); ++pagina) {
        d->SSTab1->setCurrentIndex(pagina);
        QApplication::processEvents();
        pagineDiGiorno.push_back(foto(d->SSTab1));
        tastieraDiGiorno.push_back(conLaTastiera(d));
    }
    d->SSTab1->setCurrentIndex(0);
    QTest::qWait(100);
    // The day as it is before the night colours go on (the keyboard back
    // where it was before the controls were tried).
    const QImage giorno = schermo(&principale);

    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    QTest::qWait(300);
    for (int pagina = 0; pagina < d->SSTab1->count(); ++pagina) {
        d->SSTab1->setCurrentIndex(pagina);
        QApplication::processEvents();
        SCOPED_TRACE(d->schede[size_t(pagina)]->text().toStdString());
        const QImage area = schermo(d->SSTab1);
        // The pictures are in device pixels, k to a pixel of the layout.
        const qreal k = d->SSTab1->devicePixelRatioF();
        EXPECT_EQ(fuoriPalette(area, inPixel(testi(d->SSTab1), k), "page area"), "");
        // A blank corner of the page is the window's colour of the palette.
        EXPECT_EQ(QColor(area.pixel(area.width() - 8, area.height() - 8)).name().toStdString(), "#800000");
        // Each group box's frame where the day has it: below its title,
        // clear of the title's letters.
        const QImage notte = foto(d->SSTab1);
        const QImage& diGiorno = pagineDiGiorno[size_t(pagina)];
        for (QGroupBox* b : d->SSTab1->currentWidget()->findChildren<QGroupBox*>()) {
            if (!b->isVisible())
                continue;
            SCOPED_TRACE(b->title().toStdString());
            const QRect r = QTransform::fromScale(k, k).mapRect(QRect(b->mapTo(d->SSTab1, QPoint(0, 0)), b->size()));
            const QPoint alto(r.right() - qRound(6 * k), r.top()), sinistra(r.left(), r.bottom() - qRound(4 * k));
            // From the page's plain ground just outside the box, the
            // faint outer row of the day's line at 1.5x and 2x included.
            const QPoint sopra = alto - QPoint(0, 1), fuori = sinistra - QPoint(1, 0);
            EXPECT_EQ(primoBordo(notte, sopra, {0, 1}, r.height(), 3), primoBordo(diGiorno, sopra, {0, 1}, r.height(), 3))
                << "the top edge";
            EXPECT_EQ(primoBordo(notte, fuori, {1, 0}, r.width(), 3), primoBordo(diGiorno, fuori, {1, 0}, r.width(), 3))
                << "the left edge";
        }
        // From the keyboard: each control Tab reaches shows that it has the
        // keys, as by day.
        const std::vector<ConLaTastiera> tastiera = conLaTastiera(d);
        const std::vector<ConLaTastiera>& tastieraGiorno = tastieraDiGiorno[size_t(pagina)];
        ASSERT_EQ(tastiera.size(), tastieraGiorno.size());
        for (size_t i = 0; i < tastiera.size(); ++i) {
            const ConLaTastiera& c = tastiera[i];
            ASSERT_EQ(c.w, tastieraGiorno[i].w);
            if (tastieraGiorno[i].senza != tastieraGiorno[i].con) {
                EXPECT_NE(c.senza, c.con) << "at night nothing shows that the keys are in " << c.w->metaObject()->className()
                                          << " " << c.w->objectName().toStdString();
            }
        }
        EXPECT_GT(tastiera.size(), 0u);
    }
    const qreal k = principale.devicePixelRatioF();
    for (QToolButton* b : d->schede)
        EXPECT_EQ(fuoriPalette(schermo(b), inPixel(testoDelPulsante(b), k), "page button"), "") << b->text().toStdString();
    // The window in front: its title bar in the active caption's colour,
    // the title and the picture of the window left out.
    const int alto = cornice->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, cornice);
    const QImage titolo = schermo(cornice).copy(0, 0, qRound(cornice->width() * k), qRound(alto * k));
    const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
    const int largo = fm.horizontalAdvance(cornice->windowTitle()) * 3 / 2 + 16;
    QRegion nomeEIcona(QRect((cornice->width() - largo) / 2, 0, largo, alto));
    nomeEIcona += QRect(0, 0, alto + 4, alto);
    EXPECT_EQ(fuoriPalette(titolo, inPixel(nomeEIcona, k), "title bar"), "");
    EXPECT_EQ(QColor(titolo.pixel(qRound((alto + 10) * k), qRound(alto / 2 * k))).name().toStdString(), "#400000");

    mNight::Ripristina_Colori();
    d->SSTab1->setCurrentIndex(0);
    QTest::qWait(300);
    EXPECT_TRUE(schermo(&principale) == giorno) << "the day's look did not come back whole";
}

// ---------------------------------------------------------------- the gallery
// Every kind of widget the program uses, drawn by day and at night: what
// the night style draws stands where the day's does, and every state the
// day shows (the page shown, a limit reached, something that cannot be
// used) shows at night as well, in the palette's colours.

// An icon of the program's kind: a few plain colours.
QIcon icona()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter q(&p);
    q.fillRect(1, 1, 14, 14, QColor(0, 0, 160));
    q.fillRect(4, 4, 8, 8, QColor(255, 255, 0));
    q.fillRect(6, 6, 4, 4, QColor(255, 255, 255));
    return QIcon(p);
}

// Where the style puts a part of a control (an arrow, a button), as the
// control itself describes it to the style.
template <class W, class O>
QRect sottoControllo(W* w, QStyle::ComplexControl cc, QStyle::SubControl sc)
{
    struct Aperto : W {
        using W::initStyleOption;
    };
    O o;
    (w->*(&Aperto::initStyleOption))(&o);
    return w->style()->subControlRect(cc, &o, sc, w);
}

struct Galleria {
    QMainWindow finestra;
    QWidget* pannello = new QWidget;
    QGroupBox* titolato = new QGroupBox(QStringLiteral("Settings"));
    QGroupBox* muto = new QGroupBox;
    QTabWidget* schede = new QTabWidget;
    QSpinBox* massimo = new QSpinBox;
    QSpinBox* minimo = new QSpinBox;
    QSpinBox* mezzo = new QSpinBox;
    QComboBox* combo = new QComboBox;
    QSplitter* divisore = new QSplitter(Qt::Horizontal);
    QToolBar* barra = new QToolBar;
    QAction* attiva = nullptr;
    QAction* separatore = nullptr;
    QAction* spenta = nullptr;
    QAction* indietro = nullptr;
    QScrollBar* scorriInizio = new QScrollBar(Qt::Horizontal);
    QScrollBar* scorriMezzo = new QScrollBar(Qt::Horizontal);
    QTableWidget* tabella = new QTableWidget(3, 2);
    QPushButton* pulsante = new QPushButton(QStringLiteral("OK"));
    QPushButton* spento = new QPushButton(QStringLiteral("OK"));
    QCheckBox* casella = new QCheckBox(QStringLiteral("On"));
    QCheckBox* vuota = new QCheckBox(QStringLiteral("On"));
    QRadioButton* scelta = new QRadioButton(QStringLiteral("One"));
    QLineEdit* riga = new QLineEdit(QStringLiteral("text"));
    QMenu menu;

    Galleria()
    {
        auto* g = new QGridLayout(pannello);
        new QVBoxLayout(titolato);
        titolato->layout()->addWidget(new QLabel(QStringLiteral("Time")));
        new QVBoxLayout(muto);
        muto->layout()->addWidget(new QLabel(QStringLiteral("Working list")));
        for (QGroupBox* b : {titolato, muto})
            b->setMinimumSize(160, 90);
        for (const char* t : {"General", "Satellites", "Colours"})
            schede->addTab(new QLabel(QString::fromLatin1(t)), QString::fromLatin1(t));
        schede->setCurrentIndex(1);
        for (QSpinBox* s : {massimo, minimo, mezzo}) {
            s->setRange(0, 10);
            s->setFixedWidth(90);
        }
        massimo->setValue(10);
        mezzo->setValue(5);
        combo->addItems({QStringLiteral("North"), QStringLiteral("South")});
        combo->setFixedWidth(120);
        divisore->addWidget(new QLabel(QStringLiteral("Contents")));
        divisore->addWidget(new QLabel(QStringLiteral("Page")));
        divisore->setMinimumSize(200, 60);
        for (QScrollBar* b : {scorriInizio, scorriMezzo}) {
            b->setRange(0, 100);
            b->setFixedWidth(150);
        }
        scorriMezzo->setValue(50);
        tabella->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Number")});
        tabella->setFixedSize(220, 110);
        spento->setEnabled(false);
        casella->setChecked(true);
        scelta->setChecked(true);
        g->addWidget(titolato, 0, 0);
        g->addWidget(muto, 0, 1);
        g->addWidget(schede, 1, 0, 1, 2);
        g->addWidget(massimo, 2, 0);
        g->addWidget(minimo, 3, 0);
        g->addWidget(mezzo, 4, 0);
        g->addWidget(combo, 2, 1);
        g->addWidget(divisore, 5, 0, 1, 2);
        g->addWidget(scorriInizio, 3, 1);
        g->addWidget(scorriMezzo, 4, 1);
        g->addWidget(tabella, 6, 0, 1, 2);
        g->addWidget(pulsante, 7, 0);
        g->addWidget(spento, 7, 1);
        g->addWidget(casella, 8, 0);
        g->addWidget(vuota, 8, 1);
        g->addWidget(scelta, 9, 0);
        g->addWidget(riga, 9, 1);
        finestra.setCentralWidget(pannello);
        attiva = barra->addAction(icona(), QStringLiteral("Map"));
        separatore = barra->addSeparator();
        spenta = barra->addAction(icona(), QStringLiteral("Sky"));
        spenta->setEnabled(false);
        // The manual's Back, which cannot be used when it opens: a picture
        // with a drawing inside it (an arrow on a disc).
        indietro = barra->addAction(finestra.style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
        indietro->setEnabled(false);
        finestra.addToolBar(barra);
        // The menu bar above the toolbar, as in the main window; a whole
        // number of device pixels tall at every scale measured, so that what
        // is below it stands where it would without it.
        finestra.menuBar()->addMenu(QStringLiteral("File"));
        finestra.menuBar()->addMenu(QStringLiteral("View"));
        finestra.menuBar()->setFixedHeight(20);
        finestra.statusBar()->setSizeGripEnabled(true);
        finestra.statusBar()->showMessage(QStringLiteral("12:00:00"));
        menu.addAction(QStringLiteral("Night colours"))->setCheckable(true);
        menu.addSeparator();
        menu.addAction(QStringLiteral("Close all"))->setEnabled(false);
        finestra.resize(520, 780);
        finestra.show();
        QApplication::processEvents();
    }

    // The pictures are in device pixels: `k` of them to a pixel of the
    // layout (1, 1.5 or 2, as the screen has it).
    const qreal k = finestra.devicePixelRatioF();
    int d(int n) const { return qRound(n * k); }
    QPoint d(QPoint p) const { return QPoint(d(p.x()), d(p.y())); }
    // Each part in the window's picture, by where it stands in the window;
    // parts of one size give pictures of one size.
    QRect in(QWidget* w, const QRect& r) const
    {
        return QRect(d(r.topLeft() + w->mapTo(&finestra, QPoint(0, 0))), QSize(d(r.width()), d(r.height())));
    }
    QRect in(QWidget* w) const { return in(w, w->rect()); }
};

// A state the day shows on a control that is not in the gallery's first
// picture (the keyboard in it, the mouse over it, held down by the mouse):
// the control's picture without it and with it, put on and taken off again.
struct Stato {
    const char* cosa;
    QWidget* w;
    std::function<void(bool)> metti;
    // Text changes inside (a field's, selected with the keyboard, the
    // caret): only its edge is looked at for the palette's colours.
    bool testo = false;
};

std::vector<Stato> statiDellaGalleria(Galleria& g)
{
    const auto fuoco = [](QWidget* w) {
        return [w](bool si) {
            // As after a Tab: the window shows where the keys are.
            w->window()->setAttribute(Qt::WA_KeyboardFocusChange, si);
            if (si)
                w->setFocus(Qt::TabFocusReason);
            else
                w->clearFocus();
        };
    };
    const auto sotto = [](QWidget* w) {
        return [w](bool si) {
            w->setAttribute(Qt::WA_UnderMouse, si);
            w->update();
        };
    };
    const auto giu = [](QAbstractButton* b) { return [b](bool si) { b->setDown(si); }; };
    return {
        {"a combo box with the keyboard", g.combo, fuoco(g.combo)},
        {"a line edit with the keyboard", g.riga, fuoco(g.riga), true},
        {"a spin box with the keyboard", g.mezzo, fuoco(g.mezzo), true},
        {"a check box held down", g.vuota, giu(g.vuota)},
        {"a radio button held down", g.scelta, giu(g.scelta)},
        {"a button under the mouse", g.pulsante, sotto(g.pulsante)},
        {"a combo box under the mouse", g.combo, sotto(g.combo)},
        {"a spin box under the mouse", g.mezzo, sotto(g.mezzo)},
        // Not a state, but drawn again in another way: its frame at the
        // top (its contents, text, move up with it).
        {"a group box that loses its title", g.titolato,
         [b = g.titolato](bool si) { b->setTitle(si ? QString() : QStringLiteral("Settings")); }, true},
    };
}

// Each state's two pictures, as the screen has them now.
std::vector<std::pair<QImage, QImage>> fotoDegliStati(const std::vector<Stato>& stati)
{
    std::vector<std::pair<QImage, QImage>> out;
    for (const Stato& s : stati) {
        const QImage senza = foto(s.w);
        s.metti(true);
        QApplication::processEvents();
        out.emplace_back(senza, foto(s.w));
        s.metti(false);
        QApplication::processEvents();
    }
    return out;
}

// Where two pictures of one size differ.
QRect doveDifferiscono(const QImage& a, const QImage& b)
{
    QRect r;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

TEST_F(NightTest, GalleryDrawsEachPartWhereTheDayDoesWithEveryStateTheDayShows)
{
    // The style's own day colours, as the program starts with them.
    QApplication::setPalette(QApplication::style()->standardPalette());
    Galleria g;
    // Run at 1.5x and 2x as well (QT_SCALE_FACTOR): the pictures are then
    // in the screen's device pixels, more than one to a pixel of the layout.
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        ASSERT_DOUBLE_EQ(g.k, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    }
    const QImage giorno = foto(&g.finestra);
    g.menu.adjustSize();
    const QImage menuGiorno = foto(&g.menu);
    const std::vector<Stato> stati = statiDellaGalleria(g);
    const auto statiDiGiorno = fotoDegliStati(stati);
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    QApplication::processEvents();
    const QImage notte = foto(&g.finestra);
    const QImage menuNotte = foto(&g.menu);
    const auto statiDiNotte = fotoDegliStati(stati);
    // Drawn again at night (what the style keeps from the first drawing,
    // after every state was put on and off): the same window.
    EXPECT_TRUE(foto(&g.finestra) == notte) << "the window drawn again at night is not the same";
    if (qEnvironmentVariableIsSet("ASTROVELA_NIGHT_SHOTS")) {
        const QString dove = qEnvironmentVariable("ASTROVELA_NIGHT_SHOTS");
        giorno.save(dove + QStringLiteral("/gallery-day.png"));
        notte.save(dove + QStringLiteral("/gallery-night.png"));
        menuNotte.save(dove + QStringLiteral("/menu-night.png"));
    }

    // Group boxes: the frame below the title, as by day, and an untitled
    // one where the day has it.
    for (QGroupBox* b : {g.titolato, g.muto}) {
        SCOPED_TRACE(b->title().isEmpty() ? "group box without a title" : "group box with a title");
        const QRect r = g.in(b);
        const QPoint alto(r.right() - g.d(12), r.top());
        const QPoint sinistra(r.left(), r.bottom() - g.d(10));
        // From outside the box, on the window's plain ground; in device
        // pixels, the faint outer row of the day's line included.
        const QPoint sopra = alto - QPoint(0, 1), fuori = sinistra - QPoint(1, 0);
        EXPECT_EQ(primoBordo(notte, sopra, {0, 1}, r.height(), 3), primoBordo(giorno, sopra, {0, 1}, r.height(), 3))
            << "the top edge";
        EXPECT_EQ(primoBordo(notte, fuori, {1, 0}, r.width(), 3), primoBordo(giorno, fuori, {1, 0}, r.width(), 3))
            << "the left edge";
    }

    // Tabs: the page shown is open to its tab, the others are closed off
    // from the page by its edge; their tops where the day has them.
    auto* barraSchede = g.schede->findChild<QTabBar*>();
    ASSERT_NE(barraSchede, nullptr);
    for (int i : {0, 1}) {
        SCOPED_TRACE(i == 1 ? "the tab shown" : "a tab behind");
        const QRect t = g.in(barraSchede, barraSchede->tabRect(i));
        const QPoint colonna(t.left() + g.d(4), t.bottom() - g.d(3));
        EXPECT_EQ(bordiLungo(notte, colonna, {0, 1}, g.d(8)) > 0, bordiLungo(giorno, colonna, {0, 1}, g.d(8)) > 0)
            << "an edge between the tab and the page";
        const QPoint sopra(t.center().x(), t.top() - 1);
        EXPECT_NEAR(primoBordo(notte, sopra, {0, 1}, t.height()), primoBordo(giorno, sopra, {0, 1}, t.height()), 1)
            << "the top of the tab";
    }
    EXPECT_NE(bordiLungo(giorno, g.in(barraSchede, barraSchede->tabRect(0)).bottomLeft() + g.d(QPoint(4, -3)), {0, 1}, g.d(8)) > 0,
              bordiLungo(giorno, g.in(barraSchede, barraSchede->tabRect(1)).bottomLeft() + g.d(QPoint(4, -3)), {0, 1}, g.d(8)) > 0)
        << "the day itself tells the tab shown from the others";

    // Spin boxes: an arrow at its limit is drawn unlike one that can be
    // used, as by day; the arrows stand where the day's do.
    const auto freccia = [&](QSpinBox* s, QStyle::SubControl sc) {
        return g.in(s, sottoControllo<QSpinBox, QStyleOptionSpinBox>(s, QStyle::CC_SpinBox, sc));
    };
    for (const auto& [limite, sc] : {std::pair{g.massimo, QStyle::SC_SpinBoxUp}, std::pair{g.minimo, QStyle::SC_SpinBoxDown}}) {
        SCOPED_TRACE(sc == QStyle::SC_SpinBoxUp ? "at its maximum" : "at its minimum");
        const QRect a = freccia(limite, sc), b = freccia(g.mezzo, sc);
        ASSERT_TRUE(a.isValid());
        EXPECT_NE(giorno.copy(a), giorno.copy(b)) << "by day";
        EXPECT_NE(notte.copy(a), notte.copy(b)) << "the arrow at its limit looks like one that can be used";
        const QRect dentro = b.adjusted(g.d(2), g.d(2), -g.d(2), -g.d(2));
        EXPECT_TRUE(stessoPosto(inchiostro(giorno, dentro), inchiostro(notte, dentro))) << "the arrow";
        EXPECT_EQ(fuoriPalette(notte.copy(a), QRegion(), "arrow at its limit"), "");
    }

    // The combo box's arrow: in the palette's colours, where the day has it.
    {
        const QRect a = g.in(g.combo, sottoControllo<QComboBox, QStyleOptionComboBox>(g.combo, QStyle::CC_ComboBox, QStyle::SC_ComboBoxArrow));
        ASSERT_TRUE(a.isValid());
        EXPECT_EQ(fuoriPalette(notte.copy(a), QRegion(), "combo box arrow"), "");
        EXPECT_TRUE(stessoPosto(inchiostro(giorno, a.adjusted(g.d(2), g.d(2), -g.d(2), -g.d(2))), inchiostro(notte, a.adjusted(g.d(2), g.d(2), -g.d(2), -g.d(2))), g.d(2)))
            << "the combo box's arrow";
    }

    // The grips (the splitter's between its two panes, the window's in its
    // corner) and the toolbar's separator, each where the day has it.
    {
        const QRect s = g.in(g.divisore->handle(1));
        EXPECT_FALSE(inchiostro(notte, s).isNull()) << "the splitter's grip is not drawn";
        EXPECT_TRUE(stessoPosto(inchiostro(giorno, s, 3), inchiostro(notte, s, 3))) << "the splitter's grip";
        auto* maniglia = g.finestra.statusBar()->findChild<QSizeGrip*>();
        ASSERT_NE(maniglia, nullptr);
        const QRect m = g.in(maniglia);
        EXPECT_TRUE(stessoPosto(inchiostro(giorno, m, 3), inchiostro(notte, m, 3))) << "the size grip";
        const QRect t = g.in(g.barra->widgetForAction(g.separatore));
        // Its light line (white on the bar's near-white) counted as well.
        EXPECT_TRUE(stessoPosto(inchiostro(giorno, t, 10), inchiostro(notte, t, 10))) << "the toolbar's separator";
    }

    // The boxes of check boxes and radio buttons where the day has them.
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(g.casella), static_cast<QAbstractButton*>(g.scelta)}) {
        QStyleOptionButton o;
        o.initFrom(b);
        const auto se = b == g.casella ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator;
        const QRect i = g.in(b, b->style()->subElementRect(se, &o, b)).adjusted(-1, -1, 1, 1);
        EXPECT_TRUE(stessoPosto(inchiostro(giorno, i), inchiostro(notte, i))) << b->text().toStdString();
    }

    // The toolbar: the action that cannot be used is told from the other,
    // in the palette's colours.
    {
        const QRect a = g.in(g.barra->widgetForAction(g.attiva)).adjusted(g.d(3), g.d(3), -g.d(3), -g.d(3));
        const QRect b = g.in(g.barra->widgetForAction(g.spenta)).adjusted(g.d(3), g.d(3), -g.d(3), -g.d(3));
        EXPECT_NE(notte.copy(a), notte.copy(b));
        EXPECT_EQ(fuoriPalette(notte.copy(b), QRegion(), "disabled toolbar button"), "");
    }

    // The edges of what the night style draws whole (a button, a header's
    // section, a line edit's frame, a scroll bar's arrow button, a tab):
    // from the ground just outside, the first device pixel drawn on each
    // side, as by day.
    {
        auto* testata = g.tabella->horizontalHeader();
        const QRect sezione(testata->sectionViewportPosition(0), 0, testata->sectionSize(0), testata->height());
        const struct {
            const char* cosa;
            QRect r;
        } parti[] = {
            {"the button", g.in(g.pulsante)},
            {"the header's section", g.in(testata->viewport(), sezione)},
            {"the line edit", g.in(g.riga)},
            {"the scroll bar's arrow",
             g.in(g.scorriMezzo, sottoControllo<QScrollBar, QStyleOptionSlider>(g.scorriMezzo, QStyle::CC_ScrollBar, QStyle::SC_ScrollBarSubLine))},
            {"the tab behind", g.in(barraSchede, barraSchede->tabRect(0))},
        };
        for (const auto& c : parti) {
            SCOPED_TRACE(c.cosa);
            const QRect r = c.r;
            const int x = r.center().x(), y = r.center().y();
            EXPECT_EQ(primoBordo(notte, {x, r.top() - 1}, {0, 1}, r.height() / 2, 3),
                      primoBordo(giorno, {x, r.top() - 1}, {0, 1}, r.height() / 2, 3)) << "top";
            EXPECT_EQ(primoBordo(notte, {r.left() - 1, y}, {1, 0}, r.width() / 2, 3),
                      primoBordo(giorno, {r.left() - 1, y}, {1, 0}, r.width() / 2, 3)) << "left";
            EXPECT_EQ(primoBordo(notte, {r.right() + 1, y}, {-1, 0}, r.width() / 2, 3),
                      primoBordo(giorno, {r.right() + 1, y}, {-1, 0}, r.width() / 2, 3)) << "right";
        }
    }

    // The same kind of widget in two states: whatever the day tells apart,
    // the night does too.
    const struct {
        const char* cosa;
        QRect a, b;
    } coppie[] = {
        {"buttons enabled and disabled", g.in(g.pulsante), g.in(g.spento)},
        {"check boxes ticked and not", g.in(g.casella), g.in(g.vuota)},
        {"scroll bars at the start and halfway",
         g.in(g.scorriInizio, sottoControllo<QScrollBar, QStyleOptionSlider>(g.scorriInizio, QStyle::CC_ScrollBar, QStyle::SC_ScrollBarSubLine)),
         g.in(g.scorriMezzo, sottoControllo<QScrollBar, QStyleOptionSlider>(g.scorriMezzo, QStyle::CC_ScrollBar, QStyle::SC_ScrollBarSubLine))},
    };
    for (const auto& c : coppie) {
        if (giorno.copy(c.a) != giorno.copy(c.b)) {
            EXPECT_NE(notte.copy(c.a), notte.copy(c.b)) << c.cosa;
        }
    }

    // The states the day shows on a control (the keyboard, the mouse over
    // it, held down): shown at night too, where the day marks them (within
    // the part the day changes, over at least half of it each way), in the
    // palette's colours.
    for (size_t i = 0; i < stati.size(); ++i) {
        SCOPED_TRACE(stati[i].cosa);
        const auto& [giornoSenza, giornoCon] = statiDiGiorno[i];
        const auto& [notteSenza, notteCon] = statiDiNotte[i];
        const QRect diGiorno = doveDifferiscono(giornoSenza, giornoCon);
        const QRect diNotte = doveDifferiscono(notteSenza, notteCon);
        ASSERT_FALSE(diGiorno.isNull()) << "the day shows it";
        EXPECT_FALSE(diNotte.isNull()) << "the night does not show it";
        EXPECT_TRUE(diGiorno.adjusted(-1, -1, 1, 1).contains(diNotte))
            << "by day (" << diGiorno.x() << "," << diGiorno.y() << " " << diGiorno.width() << "x"
            << diGiorno.height() << "), at night (" << diNotte.x() << "," << diNotte.y() << " " << diNotte.width()
            << "x" << diNotte.height() << ")";
        EXPECT_GE(diNotte.width() * 2, diGiorno.width()) << "the mark is narrower than the day's";
        EXPECT_GE(diNotte.height() * 2, diGiorno.height()) << "the mark is lower than the day's";
        // What changes at night, in the palette's colours (text that
        // changes inside left out: the frame is the mark).
        QImage segno = notteCon;
        for (int y = 0; y < segno.height(); ++y)
            for (int x = 0; x < segno.width(); ++x)
                if (segno.pixel(x, y) == notteSenza.pixel(x, y))
                    segno.setPixel(x, y, qRgb(0, 0, 0));
        const QRegion testo = stati[i].testo ? QRegion(segno.rect().adjusted(g.d(2), g.d(2), -g.d(2), -g.d(2)))
                                             : QRegion();
        EXPECT_EQ(fuoriPalette(segno, testo, "the mark"), "");
    }

    // A disabled picture keeps its drawing (the manual's Back: its arrow on
    // its disc), greyed in the palette's colours: its arrow, the lightest
    // part of it (lighter than halfway from the picture's mean to its
    // lightest pixel), stands where the day's does, told from the disc.
    {
        QWidget* b = g.barra->widgetForAction(g.indietro);
        const QSize lato = g.barra->iconSize();
        const QRect p = g.in(b, QRect(QPoint((b->width() - lato.width()) / 2, (b->height() - lato.height()) / 2), lato));
        const QRect dentro = p.adjusted(p.width() / 4, p.height() / 4, -p.width() / 4, -p.height() / 4);
        const auto freccia = [&](const QImage& img) {
            int massimo = 0;
            qint64 somma = 0;
            for (int y = dentro.top(); y <= dentro.bottom(); ++y)
                for (int x = dentro.left(); x <= dentro.right(); ++x) {
                    massimo = std::max(massimo, qGray(img.pixel(x, y)));
                    somma += qGray(img.pixel(x, y));
                }
            const int soglia = (massimo + int(somma / (qint64(dentro.width()) * dentro.height()))) / 2;
            QRect r;
            for (int y = dentro.top(); y <= dentro.bottom(); ++y)
                for (int x = dentro.left(); x <= dentro.right(); ++x)
                    if (qGray(img.pixel(x, y)) > soglia)
                        r |= QRect(x, y, 1, 1);
            return r;
        };
        EXPECT_TRUE(stessoPosto(freccia(giorno), freccia(notte), g.d(1) + 1)) << "the disabled picture's arrow";
        EXPECT_EQ(fuoriPalette(notte.copy(p), QRegion(), "disabled picture"), "");
    }

    // The menu bar's bottom line, under its items and beyond them, where
    // the day has it.
    {
        QMenuBar* barraMenu = g.finestra.menuBar();
        const QRect voce = barraMenu->actionGeometry(barraMenu->actions().constFirst());
        for (const int x : {voce.left() + 2, barraMenu->width() - 10}) {
            const QPoint da = g.d(QPoint(x, barraMenu->height() / 2));
            EXPECT_EQ(primoBordo(notte, da, {0, 1}, g.d(barraMenu->height())),
                      primoBordo(giorno, da, {0, 1}, g.d(barraMenu->height())))
                << "the menu bar's bottom line at " << x;
        }
        EXPECT_EQ(fuoriPalette(notte.copy(g.in(barraMenu).adjusted(0, g.d(barraMenu->height() - 2), 0, 0)), QRegion(),
                               "the menu bar's bottom"),
                  "");
    }

    // Night colours off: every pixel as by day.
    mNight::Ripristina_Colori();
    QApplication::processEvents();
    EXPECT_TRUE(foto(&g.finestra) == giorno) << "the day's look did not come back whole";
    EXPECT_TRUE(foto(&g.menu) == menuGiorno) << "the menu's day look did not come back whole";
}

// The manual's page follows the night colours on and off at once, as every
// other open window does: opened by day, its links take the palette's link
// colour at night and the day's again after; opened at night, the same the
// other way. The page stays where the user is in it: the topic, the place
// it is scrolled to, the way back.
TEST_F(NightTest, TheManualsPageFollowsNightOnAndOffWhereTheUserIs)
{
    QApplication::setPalette(QApplication::style()->standardPalette());
    const QColor linkDiGiorno = QApplication::palette().color(QPalette::Link);
    platform::QtHelpService aiuto(QStringLiteral(ASTROVELA_SOURCE_DIR));
    aiuto.setHelpFile(QStringLiteral("help/english.html"));
    // Every link of the page in `colore` (they are many: the contents, the
    // references between topics).
    const auto linkIn = [](platform::HelpWindow* w, const QColor& colore) {
        int quanti = 0, altri = 0;
        for (QTextBlock b = w->browser()->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.isAnchor() && !f.anchorHref().isEmpty())
                    (f.foreground().color() == colore ? quanti : altri)++;
            }
        return ::testing::AssertionResult(quanti > 20 && altri == 0)
            << quanti << " links in " << colore.name().toStdString() << ", " << altri << " in another colour";
    };
    // What the page shows, where it is.
    const auto pagina = [](platform::HelpWindow* w) { return foto(w->browser()->viewport()); };
    const auto dove = [](platform::HelpWindow* w) {
        return std::make_tuple(w->browser()->source(), w->browser()->verticalScrollBar()->value(),
                               w->browser()->isBackwardAvailable());
    };
    // No pixel of the page in `colore`.
    const auto nessunPixel = [](const QImage& img, const QColor& colore) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == colore.rgb())
                    return false;
        return true;
    };

    // Opened by day, at the contents reached from a topic, scrolled down a
    // little.
    ASSERT_TRUE(aiuto.showContext(70));
    ASSERT_TRUE(aiuto.showContents());
    platform::HelpWindow* w = platform::HelpWindow::instance(false);
    ASSERT_NE(w, nullptr);
    QApplication::processEvents();
    w->browser()->verticalScrollBar()->setValue(w->browser()->verticalScrollBar()->value() + 40);
    QApplication::processEvents();
    const auto posto = dove(w);
    const QImage diGiorno = pagina(w);
    EXPECT_TRUE(linkIn(w, linkDiGiorno));
    EXPECT_FALSE(nessunPixel(diGiorno, linkDiGiorno)) << "no link in sight to follow";

    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    QApplication::processEvents();
    const QColor linkDiNotte = QApplication::palette().color(QPalette::Link);
    EXPECT_TRUE(linkIn(w, linkDiNotte)) << "night on";
    EXPECT_TRUE(nessunPixel(pagina(w), linkDiGiorno)) << "a link in the day's colour at night";
    EXPECT_EQ(dove(w), posto) << "night on moved the page";

    mNight::Ripristina_Colori();
    QApplication::processEvents();
    EXPECT_TRUE(linkIn(w, linkDiGiorno)) << "night off";
    EXPECT_TRUE(pagina(w) == diGiorno) << "the day's page did not come back whole";
    EXPECT_EQ(dove(w), posto) << "night off moved the page";
    w->browser()->backward();
    EXPECT_EQ(w->browser()->source().fragment(), "context-70") << "the way back is lost";
    delete w;

    // Opened at night, then night off and on again.
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    ASSERT_TRUE(aiuto.showContents());
    w = platform::HelpWindow::instance(false);
    ASSERT_NE(w, nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(linkIn(w, linkDiNotte)) << "opened at night";
    const auto postoDiNotte = dove(w);
    mNight::Ripristina_Colori();
    QApplication::processEvents();
    EXPECT_TRUE(linkIn(w, linkDiGiorno)) << "opened at night, night off";
    EXPECT_TRUE(nessunPixel(pagina(w), linkDiNotte)) << "a link in the night's colour by day";
    EXPECT_EQ(dove(w), postoDiNotte) << "night off moved the page";
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    QApplication::processEvents();
    EXPECT_TRUE(linkIn(w, linkDiNotte)) << "opened at night, night on again";
    mNight::Ripristina_Colori();
    delete w;
}

// The workspace's minimised windows stay where they are when the night
// colours go on for the first time (the night style put on then) and off.
TEST_F(NightTest, MinimisedWindowsStayInPlaceAcrossNightOnAndOff)
{
    // The program's own style, as at start: the night style not yet put on.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QMainWindow principale;
    auto* area = new QMdiArea(&principale);
    principale.setCentralWidget(area);
    principale.resize(900, 700);
    principale.show();
    QMdiSubWindow* aperta = area->addSubWindow(new QLabel(QStringLiteral("Local sky")));
    QMdiSubWindow* ridotta = area->addSubWindow(new QLabel(QStringLiteral("World map")));
    aperta->setGeometry(20, 20, 300, 200);
    ridotta->setGeometry(350, 20, 300, 200);
    aperta->show();
    ridotta->show();
    ridotta->showMinimized();
    // Along the bottom of the workspace, as Arrange icons puts it.
    ridotta->move(0, area->viewport()->height() - ridotta->height());
    QTest::qWait(100);
    const QRect dove = ridotta->geometry();
    const QRect doveAperta = aperta->geometry();

    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    QTest::qWait(100);
    EXPECT_TRUE(ridotta->isMinimized());
    EXPECT_EQ(ridotta->geometry(), dove) << "night on";
    EXPECT_EQ(aperta->geometry(), doveAperta);
    mNight::Ripristina_Colori();
    QTest::qWait(100);
    EXPECT_EQ(ridotta->geometry(), dove) << "night off";
    EXPECT_EQ(aperta->geometry(), doveAperta);
}

TEST(NightDesktopTest, TaskbarAndDesktopAreLeftToTheSession)
{
    EXPECT_EQ(mNight::Trova_Barra_Applicazioni(), 0);
    EXPECT_EQ(mNight::Trova_Desktop(), 0);
    const QPalette before = QApplication::palette();
    mNight::Mostra_Barra_Applicazioni(false);
    mNight::Mostra_Desktop(false);
    expectSamePalette(QApplication::palette(), before);
}

} // namespace
