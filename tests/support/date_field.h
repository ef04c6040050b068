#pragma once
// A user's clicks on a date field, with the mouse on its text line, and the
// digits typed after them. The parts of the text shown are its runs of
// digits and letters ("07", "Dec", "2026"); the blanks and signs between
// them belong to no part.
//
// The clicks and keys are Qt's test events, or, while a ManoX lives (a test
// run again on an X display of its own, support/x_input.h), the pointer and
// the keys of the X server itself, on the fonts of that display.
#include "support/x_input.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringList>
#include <QTest>

#include <cstdlib>
#include <utility>
#include <vector>

namespace testsupport {

inline QLineEdit* RigaCampo(QDateTimeEdit* campo)
{
    return campo->findChild<QLineEdit*>();
}

// The X server's pointer and keys in place of Qt's test events, for as long
// as the object lives.
class ManoX {
public:
    ManoX()
    {
        if (m_x.pronto())
            attiva() = &m_x;
    }
    ~ManoX() { attiva() = nullptr; }
    ManoX(const ManoX&) = delete;
    ManoX& operator=(const ManoX&) = delete;
    bool pronta() const { return m_x.pronto(); }
    QString errore() const { return m_x.errore(); }
    static InputX*& attiva()
    {
        static InputX* x = nullptr;
        return x;
    }

private:
    InputX m_x;
};

// Counts the events of one type that the application delivers, to any
// widget, while it lives.
class ContaEventi : public QObject {
public:
    explicit ContaEventi(QEvent::Type tipo) : m_tipo(tipo) { qApp->installEventFilter(this); }
    ~ContaEventi() override { qApp->removeEventFilter(this); }
    int visti = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == m_tipo)
            ++visti;
        return false;
    }

private:
    QEvent::Type m_tipo;
};

// The x, on the text line, of the gap before character k of the text shown,
// where the text cursor stands. The field is not told of the cursor moved to
// measure it, nor is its selection lost.
inline int XPrima(QDateTimeEdit* campo, int k)
{
    QLineEdit* riga = RigaCampo(campo);
    const QSignalBlocker muto(riga);
    const int cursore = riga->cursorPosition();
    const int inizio = riga->selectionStart();
    const int lunghezza = riga->selectedText().size();
    riga->setCursorPosition(k);
    const int x = qRound(riga->inputMethodQuery(Qt::ImCursorRectangle).toRectF().center().x());
    if (inizio < 0)
        riga->setCursorPosition(cursore);
    else if (cursore == inizio)
        riga->setSelection(inizio + lunghezza, -lunghezza);
    else
        riga->setSelection(inizio, lunghezza);
    return x;
}

// A click of the left button at this x of the text line.
inline void CliccaX(QDateTimeEdit* campo, int x)
{
    QLineEdit* riga = RigaCampo(campo);
    const QPoint dove(x, riga->height() / 2);
    if (InputX* mano = ManoX::attiva()) {
        ContaEventi rilasci(QEvent::MouseButtonRelease);
        mano->clic(riga->mapToGlobal(dove));
        EXPECT_TRUE(QTest::qWaitFor([&] { return rilasci.visti > 0; }, 5000)) << "the click did not arrive";
        return;
    }
    QTest::mouseClick(riga, Qt::LeftButton, Qt::NoModifier, dove);
}

// Digits typed on the keyboard, to the window that holds the keys.
inline void Digita(QDateTimeEdit* campo, const char* cifre)
{
    for (const char* c = cifre; *c; ++c) {
        if (InputX* mano = ManoX::attiva()) {
            ContaEventi tasti(QEvent::KeyRelease);
            mano->premi(static_cast<unsigned char>(*c));
            EXPECT_TRUE(QTest::qWaitFor([&] { return tasti.visti > 0; }, 5000)) << "the key did not arrive";
        } else {
            QTest::keyClick(campo->window()->windowHandle(), *c);
        }
    }
}

// A click between the first two characters of the part that starts at
// `posizione` of the text shown, where a click lands on the day of
// "17/12/2026".
inline void CliccaSezione(QDateTimeEdit* campo, int posizione)
{
    CliccaX(campo, XPrima(campo, posizione + 1));
}

// Where each part of the text shown starts and ends.
inline std::vector<std::pair<int, int>> PartiCampo(QDateTimeEdit* campo)
{
    const QString t = RigaCampo(campo)->text();
    std::vector<std::pair<int, int>> parti;
    for (int k = 0; k < t.size(); ++k) {
        if (!t[k].isLetterOrNumber())
            continue;
        if (parti.empty() || parti.back().second < k)
            parti.emplace_back(k, k + 1);
        else
            parti.back().second = k + 1;
    }
    return parti;
}

// What the field shows selected, and where: "2026@6".
inline QString Selezione(QDateTimeEdit* campo)
{
    QLineEdit* riga = RigaCampo(campo);
    return riga->selectedText() + QLatin1Char('@') + QString::number(riga->selectionStart());
}

// A click on the last character of the text, then one on the first pixel of
// each part in turn (the text cursor then comes from the right): what each
// of these clicks selected.
inline QStringList ClicSuiBordiSinistri(QDateTimeEdit* campo)
{
    QStringList scelte;
    for (const auto& [inizio, fine] : PartiCampo(campo)) {
        CliccaX(campo, XPrima(campo, RigaCampo(campo)->text().size()) - 2);
        CliccaX(campo, XPrima(campo, inizio) + 1);
        scelte << Selezione(campo);
    }
    return scelte;
}

// An x in the blank before part `parte`, a pixel past its middle towards
// that part: nearer it than the part before, though the text cursor falls
// inside the blank there.
inline int XAccanto(QDateTimeEdit* campo, int parte)
{
    const auto parti = PartiCampo(campo);
    return (XPrima(campo, parti[size_t(parte - 1)].second) + XPrima(campo, parti[size_t(parte)].first)) / 2 + 1;
}

// Clicks at every pixel of the blank before part `parte` but its middle
// ones: on the half beside that part after a click on the last part (from
// the right), on the half beside the part before it after a click on the
// first part (from the left). Each should select the part the pointer is
// nearer; the clicks that did not, as "x 75 from the right: 2026@6".
inline QStringList ClicNelBianco(QDateTimeEdit* campo, int parte)
{
    const auto parti = PartiCampo(campo);
    const int fine = XPrima(campo, parti[size_t(parte - 1)].second);
    const int inizio = XPrima(campo, parti[size_t(parte)].first);
    const int ultima = XPrima(campo, parti.back().first) + 2;
    const int prima = XPrima(campo, parti.front().first) + 2;
    QStringList sbagli;
    for (int x = fine + 1; x < inizio; ++x) {
        if (std::abs(2 * x - (fine + inizio)) <= 2)
            continue;
        const bool destra = 2 * x > fine + inizio;
        const auto& attesa = parti[size_t(destra ? parte : parte - 1)];
        CliccaX(campo, destra ? ultima : prima);
        CliccaX(campo, x);
        const QString voluta = RigaCampo(campo)->text().mid(attesa.first, attesa.second - attesa.first)
            + QLatin1Char('@') + QString::number(attesa.first);
        if (Selezione(campo) != voluta)
            sbagli << QStringLiteral("x %1 from the %2: %3 (not %4)")
                          .arg(x)
                          .arg(destra ? QStringLiteral("right") : QStringLiteral("left"), Selezione(campo), voluta);
    }
    return sbagli;
}

} // namespace testsupport
