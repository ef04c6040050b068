#include "shell/night_colours.h"

#include "shell/night_style.h"

#include <QApplication>
#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPalette>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>
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
    Menu = 4, WindowBack = 5, WindowText = 8, AppWorkspace = 12, Highlight = 13, HighlightText = 14,
    ButtonFace = 15, ButtonShadow = 16, GrayText = 17, ButtonText = 18, ButtonHighlight = 20,
    DarkShadow = 21, Light3D = 22, InfoText = 23, InfoBack = 24, HotLight = 26,
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
};

State& state()
{
    static State s;
    return s;
}

// Puts the night style on for the rest of the run (in the day it leaves
// everything to the style it stands for; a change of style while windows
// are open would leave their title bars in the colours of before until
// something draws them again). A change of style lays out the workspace's
// minimised windows anew: each is put back where the user had it.
void Metti_Stile_Notte()
{
    QList<QPair<QPointer<QMdiSubWindow>, QPoint>> ridotte;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w); sub && sub->mdiArea() && sub->isMinimized())
            ridotte.append({sub, sub->pos()});
    QApplication::setStyle(Crea_Stile_Notte(QStyleFactory::create(QApplication::style()->name())));
    for (const auto& [sub, dove] : std::as_const(ridotte))
        if (sub && sub->isMinimized() && sub->pos() != dove)
            sub->move(dove);
}

} // namespace

QPalette Tavolozza_Notte(const QPalette& base)
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
    Stile_Di_Notte(true);
    QApplication::setPalette(Tavolozza_Notte(QApplication::palette()));
    if (!E_Stile_Notte(QApplication::style()))
        Metti_Stile_Notte();
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
    Stile_Di_Notte(false);
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
