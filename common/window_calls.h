#pragma once
// What one window asks of another, through the code: a window that has the
// command derives from the matching interface, and the caller finds it with
// dynamic_cast. A renamed or removed procedure stops the build instead of
// making the call do nothing at run time.
namespace common {

// File > Save on the active window: it saves what it shows.
class Salvabile {
public:
    virtual ~Salvabile() = default;
    virtual void Comando_Salva() = 0;
};

// File > Print on the active window: it prints what it shows.
class Stampabile {
public:
    virtual ~Stampabile() = default;
    virtual void Comando_Stampa() = 0;
};

// A window with unsaved work: asked before the main window closes; false
// calls the closing off.
class ChiusuraConDomanda {
public:
    virtual ~ChiusuraConDomanda() = default;
    virtual bool Form_QueryUnload() = 0;
    // The exit asked every window and each let it close: the unload that
    // follows at once need not ask again.
    virtual void Chiusura_Gia_Concessa() {}
};

// A chart of the stars whose count the limiting-magnitude dialog chooses
// and that a change of the observer's location redraws.
class CartaStellare {
public:
    enum class Tipo { CieloLocale, CieloGenerale, MappaPassaggio };
    virtual ~CartaStellare() = default;
    virtual Tipo Tipo_Carta() const = 0;
    // The chart's own star count (its gintNumStelle).
    virtual int& Numero_Stelle() = 0;
    // The chart's own redraw: the local sky chart's timer procedure, the
    // whole-sky chart's Genera_mappa, the pass map's Genera_mappa keeping
    // its annotations.
    virtual void Ridisegna_Carta() = 0;
};

// The open chart of that kind among the program's windows (the main
// window's children and the windows of their own), or null.
CartaStellare* Carta_Aperta(CartaStellare::Tipo tipo);

} // namespace common
