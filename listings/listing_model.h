#pragma once
// The lines of a text listing, of any length. A listing is data, not
// widgets: its header and trailer are a few texts, and each line of the body
// is kept as a handful of figures (32-bit cells, rounded to the places the
// line shows). The text of a line is made only when it is asked for: when
// the view shows it, or when the listing is saved or printed.
#include <QAbstractListModel>
#include <QFont>
#include <QSize>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace listings {

class ListingModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Makes the text of one body line from its cells.
    using Formato = std::function<QString(const qint32* celle)>;

    explicit ListingModel(QObject* parent = nullptr);
    ~ListingModel() override;

    // Empties the listing; body lines will have `celle` cells each, turned
    // into text by `formato`.
    void Azzera(int celle = 0, Formato formato = {});
    // Adds text lines: before the first body line they are the header,
    // after it the trailer.
    void Aggiungi_Testo(const QStringList& righe);
    void Aggiungi_Testo(const QString& riga) { Aggiungi_Testo(QStringList{riga}); }
    // Room for the cells of one more body line, to be filled at once.
    qint32* Nuova_Riga();
    // Tells the views about the lines added since the last call. Lines
    // being added are not seen before.
    void Pubblica();

    // Every line, published or not.
    int Numero_Righe() const;
    QString Riga(int i) const;
    // The body lines and the memory their cells take (bytes).
    qint64 Righe_Dati() const { return m_dati; }
    qint64 Memoria() const;

    // The font the lines are shown in (the size of a line follows it).
    void setFont(const QFont& f);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const qint32* celle(qint64 riga) const;
    QSize dimensioneRiga() const;

    static constexpr qint64 kRigheBlocco = 16384;
    QStringList m_testa, m_coda;
    std::vector<std::unique_ptr<qint32[]>> m_blocchi;
    qint64 m_dati = 0;
    int m_celle = 0;
    Formato m_formato;
    int m_pubblicate = 0;
    QFont m_font;
    mutable QSize m_dimensione;
};

} // namespace listings
