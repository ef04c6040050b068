#include "common/calendar.h"

#include "core/clock.h"
#include "core/mlang.h"
#include "common/window_host.h"
#include "platform/vb.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QMdiSubWindow>

namespace {
QPointer<frmCalendar> g_calendario;
}

frmCalendar::frmCalendar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCalendar"));
    setAttribute(Qt::WA_DeleteOnClose);
    MonthView1 = new QCalendarWidget(this);
    MonthView1->setObjectName(QStringLiteral("MonthView1"));
    MonthView1->setGridVisible(true);
    Form_Load();
}

void frmCalendar::Lingua()
{
    setWindowTitle(mLang::Testo_Lingua(QStringLiteral("frmCalendar"), QStringLiteral("calendario")));
}

void frmCalendar::Form_Load()
{
    Lingua();
    // The month view 100 twips below the top; the window 100 twips wider and
    // 500 twips taller than the view.
    const QSize vista = MonthView1->sizeHint();
    MonthView1->resize(vista);
    MonthView1->move(0, vb::TwipsToPixels(100));
    setFixedSize(vista.width() + vb::TwipsToPixels(100), vista.height() + vb::TwipsToPixels(500));
    // The program's date, not the computer's.
    if (gdatDataCorrente.isValid())
        MonthView1->setSelectedDate(gdatDataCorrente.date());
}

namespace {
bool tastoEsc(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* k = static_cast<const QKeyEvent*>(event);
    return k->key() == Qt::Key_Escape && (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
} // namespace

void frmCalendar::keyPressEvent(QKeyEvent* event)
{
    // Escape that the month view leaves alone (its year field takes its own)
    // closes the window, as the Escape of the other tool windows does.
    if (tastoEsc(event)) {
        common::Chiudi_Figlia(this);
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmCalendar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A click on the strip above the month leaves the focus on the workspace
    // frame: its Escape closes the window too.
    auto* cornice = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (cornice != m_cornice) {
        if (m_cornice)
            m_cornice->removeEventFilter(this);
        m_cornice = cornice;
        if (cornice)
            cornice->installEventFilter(this);
    }
}

bool frmCalendar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cornice && QApplication::focusWidget() == m_cornice && tastoEsc(event)) {
        common::Chiudi_Figlia(this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

frmCalendar* frmCalendar::Mostra(QWidget* parent)
{
    if (!g_calendario) {
        g_calendario = new frmCalendar(parent);
        if (parent) {
            g_calendario->setWindowFlag(Qt::Window);
            g_calendario->show();
        }
    }
    if (!parent)
        common::Mostra_Figlia(g_calendario);
    g_calendario->raise();
    return g_calendario;
}
