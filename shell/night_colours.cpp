#include "shell/night_colours.h"

#include <QApplication>
#include <QList>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTransform>
#include <qdrawutil.h>
#include <array>

namespace mNight {

namespace {

constexpr std::uint32_t R(int red) { return std::uint32_t(red); }
constexpr std::uint32_t kBlack = 0;
constexpr std::uint32_t kGrey = 128 + 256 * 128 + 65536 * 128;

// The night palette, by system colour element.
constexpr std::array<std::uint32_t, kNumeroColori> kNight = {
    R(64),  kBlack, R(64),  kBlack, R(128), R(128), kBlack, kBlack, R(255), R(255), // 0-9
    R(128), R(64),  kBlack, R(128), kBlack, R(128), kBlack, kGrey,  kBlack, R(128), // 10-19
    R(255), kBlack, kBlack, R(255), R(128), R(128), R(128), R(64),  kBlack};        // 20-28

// Classic system colour elements used for the palette.
enum Element {
    ScrollBar = 0, ActiveCaption = 2, InactiveCaption = 3, Menu = 4, WindowBack = 5,
    WindowText = 8, CaptionText = 9, AppWorkspace = 12, Highlight = 13,
    HighlightText = 14, ButtonFace = 15, ButtonShadow = 16, GrayText = 17, ButtonText = 18,
    InactiveCaptionText = 19, ButtonHighlight = 20, DarkShadow = 21, Light3D = 22, InfoText = 23,
    InfoBack = 24, HotLight = 26,
};

// Where each palette role takes its colour from.
struct RoleSource {
    QPalette::ColorRole role;
    int element;
};
constexpr RoleSource kRoles[] = {
    {QPalette::Window, ButtonFace},        {QPalette::WindowText, WindowText},
    {QPalette::Base, WindowBack},          {QPalette::AlternateBase, WindowBack},
    {QPalette::Text, WindowText},          {QPalette::Button, ButtonFace},
    {QPalette::ButtonText, ButtonText},    {QPalette::BrightText, ButtonHighlight},
    {QPalette::Light, ButtonHighlight},    {QPalette::Midlight, Light3D},
    {QPalette::Dark, ButtonShadow},        {QPalette::Mid, ButtonShadow},
    {QPalette::Shadow, DarkShadow},        {QPalette::Highlight, Highlight},
    {QPalette::HighlightedText, HighlightText}, {QPalette::ToolTipBase, InfoBack},
    {QPalette::ToolTipText, InfoText},     {QPalette::PlaceholderText, GrayText},
    // Links stand in the text of a page (the manual's contents): in the
    // text's own colour, as the hot-tracking colour is the page's.
    {QPalette::Link, WindowText},          {QPalette::LinkVisited, WindowText},
};

QColor toColor(std::uint32_t c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

std::uint32_t fromColor(const QColor& c)
{
    return std::uint32_t(c.red()) + 256u * std::uint32_t(c.green()) +
           65536u * std::uint32_t(c.blue());
}

struct State {
    bool prepared = false;
    QPalette saved;
    std::array<std::uint32_t, kNumeroColori> savedColours{};
    // The workspace behind the child windows is painted by the MDI area itself.
    QList<QPair<QPointer<QMdiArea>, QBrush>> savedWorkspaces;
    // The night colours are on: the style paints its surfaces from them.
    bool night = false;
};

State& state()
{
    static State s;
    return s;
}

QPalette nightPalette(const QPalette& base)
{
    QPalette p = base;
    for (const RoleSource& rs : kRoles)
        p.setColor(QPalette::All, rs.role, toColor(kNight[rs.element]));
    const QColor grey = toColor(kNight[GrayText]);
    p.setColor(QPalette::Disabled, QPalette::WindowText, grey);
    p.setColor(QPalette::Disabled, QPalette::Text, grey);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, grey);
    return p;
}

QColor elemento(int e)
{
    return toColor(kNight[e]);
}

// A small solid triangle pointing one way, in one colour.
void freccia(QPainter* p, const QRect& r, Qt::ArrowType verso, const QColor& colore)
{
    const int h = qMax(2, qMin(r.width(), r.height()) / 4);
    const QPoint c = r.center();
    // The triangle pointing down, turned to the way asked.
    QPolygon t({QPoint(-h, -h / 2), QPoint(h, -h / 2), QPoint(0, h / 2 + 1)});
    QTransform giro;
    switch (verso) {
    case Qt::UpArrow: giro.rotate(180); break;
    case Qt::LeftArrow: giro.rotate(90); break;
    case Qt::RightArrow: giro.rotate(-90); break;
    default: break;
    }
    t = giro.map(t).translated(c);
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(colore);
    p->setBrush(colore);
    p->drawPolygon(t);
    p->restore();
}

// The style of the night colours: the style the program has, except that
// while the night colours are on every surface it would shade from the
// palette by itself (page areas, buttons, list headers, menus, frames,
// group boxes, tabs, title bars, scroll bars, toolbars) is painted in the
// palette's own colours with the flat edges of the classic look, so that
// no text stands on a colour the palette does not name. Sizes and places
// are the style's own. Put on with the night colours the first time and
// kept: in the day it leaves everything to the style it stands for, and a
// change of style while windows are open would leave their title bars in
// the colours of before until something draws them again.
class StileNotte : public QProxyStyle {
public:
    explicit StileNotte(QStyle* base) : QProxyStyle(base) {}

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* o, QPainter* p, const QWidget* w) const override
    {
        if (!state().night) {
            QProxyStyle::drawPrimitive(pe, o, p, w);
            return;
        }
        const QPalette& pal = o->palette;
        const QRect& r = o->rect;
        switch (pe) {
        case PE_FrameTabWidget:
            qDrawWinPanel(p, r, pal, false, &pal.brush(QPalette::Window));
            return;
        case PE_PanelButtonCommand: {
            auto* b = qstyleoption_cast<const QStyleOptionButton*>(o);
            const bool giu = o->state & (State_Sunken | State_On);
            if (b && (b->features & QStyleOptionButton::Flat) && !giu)
                return;
            QRect f = r;
            if (b && (b->features & QStyleOptionButton::DefaultButton) && (o->state & State_Enabled)) {
                qDrawPlainRect(p, f, pal.color(QPalette::Shadow), 1);
                f.adjust(1, 1, -1, -1);
            }
            qDrawWinButton(p, f, pal, giu, &pal.brush(QPalette::Button));
            const bool fuoco = (o->state & State_HasFocus) && (o->state & State_KeyboardFocusChange);
            if (fuoco && f.width() > 8 && f.height() > 8)
                tratteggio(p, f.adjusted(3, 3, -4, -4), pal.color(QPalette::ButtonText));
            return;
        }
        case PE_FrameFocusRect:
            if (o->state & State_KeyboardFocusChange)
                tratteggio(p, r.adjusted(0, 0, -1, -1), pal.color(QPalette::WindowText));
            return;
        case PE_FrameGroupBox:
            qDrawShadeRect(p, r, pal, true, 1, 0);
            return;
        case PE_Frame:
            if (w && w->inherits("QComboBoxPrivateContainer")) {
                drawPrimitive(PE_PanelMenu, o, p, w);
                return;
            }
            [[fallthrough]];
        case PE_FrameLineEdit:
            qDrawPlainRect(p, r, pal.color(QPalette::Dark), 1);
            return;
        case PE_FrameWindow:
            qDrawWinPanel(p, r, pal, false);
            return;
        case PE_PanelMenu:
            qDrawPlainRect(p, r, pal.color(QPalette::Shadow), 1, &pal.brush(QPalette::Window));
            return;
        case PE_FrameMenu:
            qDrawPlainRect(p, r, pal.color(QPalette::Shadow), 1);
            return;
        case PE_FrameTabBarBase:
            p->save();
            p->setPen(pal.color(QPalette::Light));
            p->drawLine(r.topLeft(), r.topRight());
            p->restore();
            return;
        case PE_IndicatorToolBarSeparator:
            if (o->state & State_Horizontal)
                qDrawShadeLine(p, r.center().x(), r.top() + 4, r.center().x(), r.bottom() - 4, pal, true, 1, 0);
            else
                qDrawShadeLine(p, r.left() + 4, r.center().y(), r.right() - 4, r.center().y(), pal, true, 1, 0);
            return;
        case PE_IndicatorCheckBox: {
            const int lato = qMin(r.width(), r.height());
            const QRect f(r.topLeft(), QSize(lato, lato));
            qDrawWinPanel(p, f, pal, true, &pal.brush(QPalette::Base));
            const QRect d = f.adjusted(3, 3, -4, -4);
            if (o->state & State_NoChange) {
                p->fillRect(d, pal.color(QPalette::Disabled, QPalette::Text));
            } else if (o->state & State_On) {
                p->save();
                p->setRenderHint(QPainter::Antialiasing, false);
                p->setPen(QPen(pal.color(QPalette::Text), 2));
                p->drawPolyline(QPolygon(
                    {QPoint(d.left(), d.center().y()), QPoint(d.left() + d.width() / 3, d.bottom()), d.topRight()}));
                p->restore();
            }
            return;
        }
        case PE_IndicatorRadioButton: {
            p->save();
            p->setRenderHint(QPainter::Antialiasing, true);
            const QRectF f = QRectF(r).adjusted(1, 1, -1, -1);
            p->setPen(pal.color(QPalette::Dark));
            p->setBrush(pal.base());
            p->drawEllipse(f);
            if (o->state & State_On) {
                p->setPen(Qt::NoPen);
                p->setBrush(pal.text());
                p->drawEllipse(f.center(), f.width() / 5, f.height() / 5);
            }
            p->restore();
            return;
        }
        default:
            break;
        }
        QProxyStyle::drawPrimitive(pe, o, p, w);
    }

    void drawControl(ControlElement ce, const QStyleOption* o, QPainter* p, const QWidget* w) const override
    {
        if (!state().night) {
            QProxyStyle::drawControl(ce, o, p, w);
            return;
        }
        const QPalette& pal = o->palette;
        const QRect& r = o->rect;
        switch (ce) {
        case CE_HeaderSection:
            qDrawWinButton(p, r, pal, o->state & State_Sunken, &pal.brush(QPalette::Button));
            return;
        case CE_TabBarTabShape:
            if (auto* t = qstyleoption_cast<const QStyleOptionTab*>(o)) {
                // Each tab is open towards its page (the edge there lies
                // outside what is drawn); the tab shown is as tall as the
                // bar, the others stand back from the page's side.
                const int indietro = (t->state & State_Selected) ? 0 : 2;
                QRect f = r;
                switch (t->shape) {
                case QTabBar::RoundedSouth: case QTabBar::TriangularSouth: f.adjust(0, -2, 0, -indietro); break;
                case QTabBar::RoundedWest: case QTabBar::TriangularWest: f.adjust(indietro, 0, 2, 0); break;
                case QTabBar::RoundedEast: case QTabBar::TriangularEast: f.adjust(-2, 0, -indietro, 0); break;
                default: f.adjust(0, indietro, 0, 2); break;
                }
                p->save();
                p->setClipRect(r);
                qDrawWinPanel(p, f, pal, false, &pal.brush(QPalette::Window));
                p->restore();
            }
            return;
        case CE_MenuItem:
            if (auto* m = qstyleoption_cast<const QStyleOptionMenuItem*>(o)) {
                if (m->menuItemType == QStyleOptionMenuItem::Separator && m->text.isEmpty()) {
                    qDrawShadeLine(p, r.left() + 5, r.center().y(), r.right() - 5, r.center().y(), pal, true, 1, 0);
                    return;
                }
                if ((m->state & State_Selected) && (m->state & State_Enabled)) {
                    // The item under the keyboard: the highlight colour in a
                    // frame, its text in the highlighted text's colour.
                    qDrawPlainRect(p, r, pal.color(QPalette::Shadow), 1, &pal.brush(QPalette::Highlight));
                    QStyleOptionMenuItem v = *m;
                    v.state &= ~State_Selected;
                    v.palette.setColor(QPalette::Text, pal.color(QPalette::HighlightedText));
                    v.palette.setColor(QPalette::ButtonText, pal.color(QPalette::HighlightedText));
                    v.palette.setColor(QPalette::WindowText, pal.color(QPalette::HighlightedText));
                    QProxyStyle::drawControl(ce, &v, p, w);
                    return;
                }
            }
            break;
        case CE_MenuBarItem:
            if (auto* m = qstyleoption_cast<const QStyleOptionMenuItem*>(o)) {
                p->fillRect(r, pal.window());
                if (m->state & State_Selected)
                    qDrawShadePanel(p, r, pal, m->state & State_Sunken, 1);
                int allinea = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextDontClip | Qt::TextSingleLine;
                if (!proxy()->styleHint(SH_UnderlineShortcut, m, w))
                    allinea |= Qt::TextHideMnemonic;
                proxy()->drawItemText(p, r.adjusted(0, 1, 0, -3), allinea, pal, m->state & State_Enabled, m->text,
                                      QPalette::ButtonText);
            }
            return;
        case CE_MenuBarEmptyArea:
            p->fillRect(r, pal.window());
            return;
        case CE_ToolBar:
            p->fillRect(r, pal.window());
            qDrawShadeLine(p, r.left(), r.bottom() - 1, r.right(), r.bottom() - 1, pal, true, 1, 0);
            return;
        case CE_Splitter:
        case CE_SizeGrip:
            // The grip: a few points in the palette's edge colours.
            for (int i = -6; i < 12; i += 3)
                for (int j = -6; j < 12; j += 3) {
                    if (ce == CE_SizeGrip ? i <= -j : (o->state & State_Horizontal) ? i != 1 : j != 0)
                        continue;
                    const QPoint q = r.center() + QPoint(i, j);
                    p->fillRect(QRect(q, QSize(2, 2)), pal.light());
                    p->fillRect(QRect(q, QSize(1, 1)), pal.dark());
                }
            return;
        default:
            break;
        }
        QProxyStyle::drawControl(ce, o, p, w);
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* o, QPainter* p,
                            const QWidget* w) const override
    {
        if (!state().night) {
            QProxyStyle::drawComplexControl(cc, o, p, w);
            return;
        }
        const QPalette& pal = o->palette;
        if (cc == CC_TitleBar) {
            if (auto* t = qstyleoption_cast<const QStyleOptionTitleBar*>(o)) {
                disegnaTitolo(t, p, w);
                return;
            }
        } else if (cc == CC_ScrollBar) {
            if (auto* s = qstyleoption_cast<const QStyleOptionSlider*>(o)) {
                p->fillRect(s->rect, elemento(ScrollBar));
                const bool orizzontale = s->orientation == Qt::Horizontal;
                pulsanteFreccia(s, SC_ScrollBarSubLine, orizzontale ? Qt::LeftArrow : Qt::UpArrow, p, w);
                pulsanteFreccia(s, SC_ScrollBarAddLine, orizzontale ? Qt::RightArrow : Qt::DownArrow, p, w);
                const QRect cursore = proxy()->subControlRect(cc, s, SC_ScrollBarSlider, w);
                if ((s->subControls & SC_ScrollBarSlider) && cursore.isValid() && (s->state & State_Enabled))
                    qDrawWinButton(p, cursore, pal, false, &pal.brush(QPalette::Button));
                return;
            }
        } else if (cc == CC_SpinBox) {
            if (auto* s = qstyleoption_cast<const QStyleOptionSpinBox*>(o)) {
                if (s->frame)
                    qDrawPlainRect(p, s->rect, pal.color(QPalette::Dark), 1, &pal.brush(QPalette::Base));
                if (s->buttonSymbols != QAbstractSpinBox::NoButtons) {
                    pulsanteFreccia(s, SC_SpinBoxUp, Qt::UpArrow, p, w);
                    pulsanteFreccia(s, SC_SpinBoxDown, Qt::DownArrow, p, w);
                }
                return;
            }
        }
        QProxyStyle::drawComplexControl(cc, o, p, w);
    }

    int styleHint(StyleHint sh, const QStyleOption* o, const QWidget* w, QStyleHintReturn* r) const override
    {
        // The lines between the cells of a table (the calendar's days).
        if (sh == SH_Table_GridLineColor && o && state().night)
            return int(o->palette.color(QPalette::Dark).rgba());
        return QProxyStyle::styleHint(sh, o, w, r);
    }

private:
    static void tratteggio(QPainter* p, const QRect& r, const QColor& colore)
    {
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setPen(QPen(colore, 1, Qt::DotLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(r);
        p->restore();
    }

    // A button of a scroll bar or a spin box: raised, pressed while held.
    void pulsanteFreccia(const QStyleOptionComplex* o, SubControl sc, Qt::ArrowType verso, QPainter* p,
                         const QWidget* w) const
    {
        const ComplexControl cc = o->type == QStyleOption::SO_SpinBox ? CC_SpinBox : CC_ScrollBar;
        const QRect r = proxy()->subControlRect(cc, o, sc, w);
        if (!(o->subControls & sc) || !r.isValid())
            return;
        const bool premuto = (o->activeSubControls & sc) && (o->state & State_Sunken);
        qDrawWinButton(p, r, o->palette, premuto, &o->palette.brush(QPalette::Button));
        const auto gruppo = (o->state & State_Enabled) ? QPalette::Active : QPalette::Disabled;
        const QRect dentro = r.translated(premuto ? 1 : 0, premuto ? 1 : 0);
        freccia(p, dentro, verso, o->palette.color(gruppo, QPalette::ButtonText));
    }

    // A title bar of the workspace: the caption colours of the palette
    // (the window in front, the others), its buttons as buttons. All from
    // the night table: a frame keeps the palette its title bar had for a
    // moment after a change.
    void disegnaTitolo(const QStyleOptionTitleBar* t, QPainter* p, const QWidget* w) const
    {
        const QPalette pal = nightPalette(t->palette);
        const bool attiva = t->titleBarState & State_Active;
        const Qt::WindowFlags f = t->titleBarFlags;
        const auto stato = t->titleBarState;
        p->save();
        p->fillRect(t->rect, elemento(attiva ? ActiveCaption : InactiveCaption));
        const QRect icona = proxy()->subControlRect(CC_TitleBar, t, SC_TitleBarSysMenu, w);
        const bool conIcona = (t->subControls & SC_TitleBarSysMenu) && (f & Qt::WindowSystemMenuHint);
        if (conIcona && icona.isValid() && !t->icon.isNull())
            t->icon.paint(p, icona);
        const QRect testo = proxy()->subControlRect(CC_TitleBar, t, SC_TitleBarLabel, w);
        p->setPen(elemento(attiva ? CaptionText : InactiveCaptionText));
        p->drawText(testo, Qt::AlignCenter, p->fontMetrics().elidedText(t->text, Qt::ElideRight, testo.width() - 14));
        const struct {
            SubControl sc;
            bool mostra;
        } pulsanti[] = {
            {SC_TitleBarMinButton, (f & Qt::WindowMinimizeButtonHint) && !(stato & Qt::WindowMinimized)},
            {SC_TitleBarMaxButton, (f & Qt::WindowMaximizeButtonHint) && !(stato & Qt::WindowMaximized)},
            {SC_TitleBarCloseButton, bool(f & Qt::WindowSystemMenuHint)},
            {SC_TitleBarNormalButton, ((f & Qt::WindowMinimizeButtonHint) && (stato & Qt::WindowMinimized))
                                          || ((f & Qt::WindowMaximizeButtonHint) && (stato & Qt::WindowMaximized))},
            {SC_TitleBarContextHelpButton, bool(f & Qt::WindowContextHelpButtonHint)},
            {SC_TitleBarShadeButton, bool(f & Qt::WindowShadeButtonHint)},
            {SC_TitleBarUnshadeButton, bool(f & Qt::WindowShadeButtonHint)},
        };
        p->setRenderHint(QPainter::Antialiasing, false);
        for (const auto& b : pulsanti) {
            const QRect r = proxy()->subControlRect(CC_TitleBar, t, b.sc, w);
            if (!(t->subControls & b.sc) || !b.mostra || !r.isValid())
                continue;
            const bool premuto = (t->activeSubControls & b.sc) && (t->state & State_Sunken);
            qDrawWinButton(p, r, pal, premuto, &pal.brush(QPalette::Button));
            const QRect g = r.adjusted(4, 4, -5, -5).translated(premuto ? 1 : 0, premuto ? 1 : 0);
            const QColor segno = pal.color(QPalette::ButtonText);
            p->setPen(QPen(segno, 1));
            switch (b.sc) {
            case SC_TitleBarMinButton: p->fillRect(g.left(), g.bottom() - 1, g.width(), 2, segno); break;
            case SC_TitleBarMaxButton:
                p->drawRect(g);
                p->fillRect(g.left(), g.top(), g.width(), 2, segno);
                break;
            case SC_TitleBarNormalButton:
                p->drawRect(g.adjusted(g.width() / 3, 0, 0, -g.height() / 3));
                p->fillRect(g.adjusted(0, g.height() / 3, -g.width() / 3, 0), pal.button());
                p->drawRect(g.adjusted(0, g.height() / 3, -g.width() / 3, 0));
                break;
            case SC_TitleBarCloseButton:
                p->setPen(QPen(segno, 2));
                p->drawLine(g.topLeft(), g.bottomRight());
                p->drawLine(g.bottomLeft(), g.topRight());
                break;
            case SC_TitleBarContextHelpButton: p->drawText(r, Qt::AlignCenter, QStringLiteral("?")); break;
            case SC_TitleBarShadeButton: freccia(p, r, Qt::UpArrow, segno); break;
            default: freccia(p, r, Qt::DownArrow, segno); break;
            }
        }
        p->restore();
    }
};

} // namespace

void Prepara_Colori_Notte()
{
    State& s = state();
    s.saved = QApplication::palette();
    // The user's colours by element, as far as the palette tells them.
    s.savedColours.fill(0);
    std::array<bool, kNumeroColori> known{};
    for (const RoleSource& rs : kRoles) {
        if (known[rs.element])
            continue; // the first role of an element tells its colour
        s.savedColours[rs.element] = fromColor(s.saved.color(QPalette::Active, rs.role));
        known[rs.element] = true;
    }
    s.savedColours[GrayText] = fromColor(s.saved.color(QPalette::Disabled, QPalette::Text));
    s.savedColours[Menu] = s.savedColours[ButtonFace];
    s.savedColours[HotLight] = fromColor(s.saved.color(QPalette::Active, QPalette::Link));
    s.savedWorkspaces.clear();
    s.prepared = true;
}

void Applica_Colori_Notte()
{
    State& s = state();
    s.night = true;
    QApplication::setPalette(nightPalette(QApplication::palette()));
    if (!dynamic_cast<StileNotte*>(QApplication::style()))
        QApplication::setStyle(new StileNotte(QStyleFactory::create(QApplication::style()->name())));
    const QBrush workspace(toColor(kNight[AppWorkspace]));
    for (QWidget* w : QApplication::allWidgets()) {
        auto* area = qobject_cast<QMdiArea*>(w);
        if (!area)
            continue;
        bool known = false;
        for (const auto& saved : std::as_const(s.savedWorkspaces))
            known = known || saved.first == area;
        if (!known)
            s.savedWorkspaces.append({area, area->background()});
        area->setBackground(workspace);
    }
}

void Ripristina_Colori()
{
    State& s = state();
    if (!s.prepared)
        return; // nothing was saved: keep whatever is shown
    s.night = false;
    QApplication::setPalette(s.saved);
    for (const auto& [area, brush] : std::as_const(s.savedWorkspaces))
        if (area)
            area->setBackground(brush);
}

void Mostra_Barra_Applicazioni(bool) {}
void Mostra_Desktop(bool) {}
qintptr Trova_Barra_Applicazioni() { return 0; }
qintptr Trova_Desktop() { return 0; }

void Chiusura()
{
    Mostra_Desktop(true);
    Mostra_Barra_Applicazioni(true);
    if (state().prepared)
        Ripristina_Colori();
}

bool Colori_Preparati()
{
    return state().prepared;
}

std::uint32_t Colore_Notte(int element)
{
    return element >= 0 && element < kNumeroColori ? kNight[element] : 0;
}

std::uint32_t Colore_Salvato(int element)
{
    return element >= 0 && element < kNumeroColori ? state().savedColours[element] : 0;
}

} // namespace mNight
