#include "tables/channel_dialog.h"

#include "controls/graph_button.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "common/window_host.h"
#include "platform/vb.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVBoxLayout>

namespace {

const QString kSezione = QStringLiteral("frmChannel");
QPointer<frmChannel> g_canale;

// List lines hold a tab between the two frequencies, shown at the next
// stop of eight characters as a list box shows it.
class DelegatoTabulazioni : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const QString testo = o.text;
        o.text.clear();
        const QWidget* w = option.widget;
        QStyle* stile = w ? w->style() : QApplication::style();
        stile->drawControl(QStyle::CE_ItemViewItem, &o, p, w);
        const QRect r = stile->subElementRect(QStyle::SE_ItemViewItemText, &o, w);
        p->save();
        p->setFont(o.font);
        p->setPen(o.palette.color(o.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs, testo);
        p->restore();
    }
};

QString frequenza(const std::string& testo)
{
    // An empty text is formatted as "0", so it shows as 000.0000.
    return vb::Format(testo.empty() ? QStringLiteral("0") : QString::fromStdString(testo), u"000.0000");
}

} // namespace

frmChannel::frmChannel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmChannel"));
    setAttribute(Qt::WA_DeleteOnClose);
    lblDownlink = new QLabel(this);
    lblDownlink->setObjectName(QStringLiteral("lblDownlink"));
    lblDownlink->setTextFormat(Qt::PlainText);
    lblUplink = new QLabel(this);
    lblUplink->setObjectName(QStringLiteral("lblUplink"));
    lblUplink->setTextFormat(Qt::PlainText);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    QFont fisso(QStringLiteral("Courier New"));
    fisso.setStyleHint(QFont::TypeWriter);
    List1->setFont(fisso);
    List1->setItemDelegate(new DelegatoTabulazioni(List1));
    const int larghezza = QFontMetrics(fisso).horizontalAdvance(QStringLiteral("   000.0000        000.0000  ")) + 24;
    List1->setMinimumWidth(larghezza);
    List1->setMinimumHeight(QFontMetrics(fisso).height() * 11 + 8);
    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new GraphButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (GraphButton* b : {cmdOK, cmdCancel})
        b->setMinimumSize(90, 26);
    cmdOK->setDefault(true);
    cmdCancel->setCancel(true);

    // The headings over the two columns: the downlink after three blanks,
    // the uplink at the second tab stop (16 characters).
    const int carattere = QFontMetrics(fisso).horizontalAdvance(QLatin1Char('x'));
    auto* testa = new QHBoxLayout;
    testa->setSpacing(0);
    testa->addSpacing(3 * carattere + 6);
    lblDownlink->setMinimumWidth(13 * carattere);
    testa->addWidget(lblDownlink);
    testa->addWidget(lblUplink);
    testa->addStretch(1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdCancel);
    auto* l = new QVBoxLayout(this);
    l->addLayout(testa);
    l->addWidget(List1, 1);
    l->addLayout(pulsanti);

    connect(cmdOK, &GraphButton::Click, this, &frmChannel::cmdOK_Click);
    connect(cmdCancel, &GraphButton::Click, this, &frmChannel::cmdCancel_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
    Lingua();
}

frmChannel::~frmChannel() = default;

frmChannel* frmChannel::instance()
{
    return g_canale;
}

frmChannel* frmChannel::Mostra(int riga, int slot, int canale)
{
    if (!g_canale)
        g_canale = new frmChannel;
    g_canale->gintIndicePulsante = riga;
    g_canale->gintNumeroSatellite = slot;
    g_canale->gintCanaleFrequenza = canale;
    // Open or not, the list shows the channels of the row it will set.
    g_canale->Riempi_lista();
    common::Mostra_Figlia(g_canale);
    return g_canale;
}

void frmChannel::Lingua()
{
    setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("selezionecanale")));
    lblDownlink->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("downlink")));
    lblUplink->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("uplink")));
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdCancel->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("cancel")));
}

void frmChannel::Riempi_lista()
{
    List1->clear();
    const bool valido = gintNumeroSatellite >= 1 && gintNumeroSatellite < kSlotArray;
    const Satelement vuoto{};
    const Satelement& e = valido ? gudtSatelementi[size_t(gintNumeroSatellite)] : vuoto;
    for (size_t i = 1; i <= size_t(kCanaliRadio); ++i)
        List1->addItem(QStringLiteral("   ") + frequenza(e.FrequenzaDiscesa[i]) + QLatin1Char('\t')
                       + frequenza(e.FrequenzaSalita[i]));
    const int riga = gintCanaleFrequenza - 1;
    if (riga >= 0 && riga < List1->count())
        List1->setCurrentRow(riga);
    else
        List1->setCurrentRow(-1);
}

void frmChannel::cmdOK_Click()
{
    const int n = List1->currentRow() >= 0 && List1->currentItem() && List1->currentItem()->isSelected()
        ? List1->currentRow() + 1
        : 0;
    const QString t = QString::number(n);
    if (gintIndicePulsante >= 0 && size_t(gintIndicePulsante) < gintCanale.size()) {
        // The table treats 0 as channel 1; so does the stored setting.
        gintCanale[size_t(gintIndicePulsante)] = n;
        emit canaleScelto(gintIndicePulsante, n);
    }
    chiudi();
}

void frmChannel::List1_DblClick()
{
    cmdOK_Click();
}

void frmChannel::cmdCancel_Click()
{
    chiudi();
}

void frmChannel::chiudi()
{
    common::Chiudi_Figlia(this);
}
