#include "listings/listing_model.h"

#include "astro/vector_state.h"

#include <QFontMetrics>

#include <algorithm>
#include <limits>

namespace listings {

ListingModel::ListingModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

ListingModel::~ListingModel() = default;

void ListingModel::Azzera(int celle, Formato formato)
{
    beginResetModel();
    m_testa.clear();
    m_coda.clear();
    m_blocchi.clear();
    m_blocchi.shrink_to_fit();
    m_dati = 0;
    m_celle = std::max(0, celle);
    m_formato = std::move(formato);
    m_pubblicate = 0;
    m_dimensione = QSize();
    endResetModel();
}

void ListingModel::Aggiungi_Testo(const QStringList& righe)
{
    if (m_dati == 0)
        m_testa += righe;
    else
        m_coda += righe;
    m_dimensione = QSize();
}

qint32* ListingModel::Nuova_Riga()
{
    // A view counts its rows in an int: the listing stops growing there.
    if (!m_coda.isEmpty() || m_dati + m_testa.size() >= std::numeric_limits<int>::max() - 1024)
        return nullptr;
    const qint64 posto = m_dati % kRigheBlocco;
    if (posto == 0)
        m_blocchi.emplace_back(new qint32[size_t(kRigheBlocco * std::max(1, m_celle))]);
    qint32* c = m_blocchi.back().get() + posto * m_celle;
    ++m_dati;
    if (m_dati == 1)
        m_dimensione = QSize();
    return c;
}

void ListingModel::Pubblica()
{
    const int n = Numero_Righe();
    if (n > m_pubblicate) {
        beginInsertRows(QModelIndex(), m_pubblicate, n - 1);
        m_pubblicate = n;
        endInsertRows();
    }
}

int ListingModel::Numero_Righe() const
{
    return int(m_testa.size() + m_dati + m_coda.size());
}

const qint32* ListingModel::celle(qint64 riga) const
{
    return m_blocchi[size_t(riga / kRigheBlocco)].get() + (riga % kRigheBlocco) * m_celle;
}

QString ListingModel::Riga(int i) const
{
    if (i < 0)
        return QString();
    if (i < m_testa.size())
        return m_testa.at(i);
    const qint64 d = qint64(i) - m_testa.size();
    if (d < m_dati) {
        // A save or a print formats millions of lines between the progress
        // window's repaints: see astro/vector_state.h.
        astro::Azzera_Meta_Alte();
        return m_formato ? m_formato(celle(d)) : QString();
    }
    const qint64 c = d - m_dati;
    return c < m_coda.size() ? m_coda.at(qsizetype(c)) : QString();
}

qint64 ListingModel::Memoria() const
{
    return qint64(m_blocchi.size()) * kRigheBlocco * std::max(1, m_celle) * qint64(sizeof(qint32));
}

void ListingModel::setFont(const QFont& f)
{
    m_font = f;
    m_dimensione = QSize();
}

QSize ListingModel::dimensioneRiga() const
{
    if (m_dimensione.isValid())
        return m_dimensione;
    // Every body line has the same width: the widest of the header, the
    // first body line and the trailer sets the width of all.
    const QFontMetrics fm(m_font);
    int larghezza = 0;
    auto misura = [&](const QString& s) { larghezza = std::max(larghezza, fm.horizontalAdvance(s)); };
    for (const QString& s : m_testa)
        misura(s);
    for (const QString& s : m_coda)
        misura(s);
    if (m_dati > 0 && m_formato)
        misura(m_formato(celle(0)));
    m_dimensione = QSize(larghezza + fm.averageCharWidth() * 2, fm.height() + 2);
    return m_dimensione;
}

int ListingModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_pubblicate;
}

QVariant ListingModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_pubblicate)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Riga(index.row());
    case Qt::SizeHintRole:
        return dimensioneRiga();
    case Qt::FontRole:
        return m_font;
    default:
        return {};
    }
}

} // namespace listings
