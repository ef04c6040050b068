#include "network/download_checks.h"

#include "core/element_parser.h"
#include "platform/vb.h"

#include <cmath>
#include <initializer_list>

namespace network {

QUrl Url_Da_Voce(const QString& voce)
{
    QString t = voce.trimmed();
    if (t.isEmpty())
        return {};
    const bool sicuro = t.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    if (sicuro)
        t = t.mid(8);
    else if (t.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        t = t.mid(7);
    // Another scheme ("ftp://...") or no host.
    if (t.isEmpty() || t.startsWith(u'/') || t.contains(QLatin1String("://")))
        return {};
    QUrl url(QLatin1String(sicuro ? "https://" : "http://") + t, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty())
        return {};
    if (url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    return url;
}

namespace {

// One line of the body at a time, without its end (CR LF, LF or CR).
class Righe {
public:
    explicit Righe(const QByteArray& t) : m_t(t) {}
    bool prossima(QByteArrayView& out)
    {
        if (m_p >= m_t.size())
            return false;
        qsizetype e = m_p;
        while (e < m_t.size() && m_t[e] != '\r' && m_t[e] != '\n')
            ++e;
        out = QByteArrayView(m_t).sliced(m_p, e - m_p);
        if (e < m_t.size() && m_t[e] == '\r' && e + 1 < m_t.size() && m_t[e + 1] == '\n')
            ++e;
        m_p = e + 1;
        ++numero;
        return true;
    }
    int numero = 0;

private:
    const QByteArray& m_t;
    qsizetype m_p = 0;
};

bool Vuota(QByteArrayView riga)
{
    return riga.trimmed().isEmpty();
}

// Line 1 or line 2 of a set: its number and a blank, then the columns up to
// the checksum in column 69.
bool Riga_elementi(QByteArrayView riga, char numero)
{
    return riga.size() >= 69 && riga[0] == numero && riga[1] == ' ';
}

// A control character other than the tab, in ASCII or as UTF-8 (C1: C2 80 to C2 9F).
bool Controllo(QByteArrayView riga)
{
    for (qsizetype i = 0; i < riga.size(); ++i) {
        const auto c = quint8(riga[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return true;
        if (c == 0xC2 && i + 1 < riga.size() && quint8(riga[i + 1]) >= 0x80 && quint8(riga[i + 1]) < 0xA0)
            return true;
    }
    return false;
}

} // namespace

ControlloElementi Controlla_elementi(const QByteArray& corpo)
{
    ControlloElementi esito;
    Righe righe(corpo);
    QByteArrayView nome, uno, due;
    bool finiti = false;   // blank lines after the last set
    // The line where a control character stands, once the set is read.
    const auto controlli = [&](std::initializer_list<QByteArrayView> tre) {
        int n = righe.numero - int(tre.size());
        for (QByteArrayView r : tre) {
            ++n;
            if (Controllo(r)) {
                esito.riga = n;
                esito.controllo = true;
                return true;
            }
        }
        return false;
    };
    while (righe.prossima(nome)) {
        if (Vuota(nome)) {
            finiti = true;
            continue;
        }
        if (finiti || Riga_elementi(nome, '1') || Riga_elementi(nome, '2')) {
            esito.riga = righe.numero;
            return esito;
        }
        if (!righe.prossima(uno) || !Riga_elementi(uno, '1') || !righe.prossima(due) ||
            !Riga_elementi(due, '2') || uno.sliced(2, 5) != due.sliced(2, 5)) {
            esito.riga = righe.numero;
            return esito;
        }
        if (controlli({nome, uno, due}))
            return esito;
        if (const core::CampoElementi campo =
                core::Campo_Non_Valido(uno.toByteArray().toStdString(), due.toByteArray().toStdString())) {
            esito.riga = righe.numero - 2 + campo.riga;
            esito.da = campo.da;
            esito.a = campo.a;
            return esito;
        }
        ++esito.insiemi;
    }
    esito.valido = esito.insiemi > 0;
    return esito;
}

std::optional<double> Velocita(qint64 ricevuti, double secondi)
{
    if (!(secondi > 0))
        return std::nullopt;
    // Rounded to two decimals as the picture "####.00" rounds.
    return vb::Val(vb::FormatC(std::floor(double(ricevuti) / secondi) / 1000.0, u"###0.00"));
}

QString Testo_velocita(double kb)
{
    return vb::CStr(kb) + QStringLiteral(" KB");
}

std::optional<double> Secondi_rimasti(qint64 dimensione, qint64 ricevuti, double velocita)
{
    if (!(velocita > 0))
        return std::nullopt;
    return std::floor(double(dimensione - ricevuti) / 1024.0 / velocita);
}

} // namespace network
