#pragma once
// The object details box: the figures of one body of the body table (planets
// 1 to 7, the Sun 8, the Moon 9) or of the star record just read (0), with
// its picture or, for the Moon, its phase. Modal; every paint refills it from
// the tables as the clock left them.
#include <QDialog>

class GraphButton;
class QGroupBox;
class QLabel;
namespace platform {
class CanvasWidget;
}

class frmObject : public QDialog {
    Q_OBJECT
public:
    explicit frmObject(QWidget* parent = nullptr);

    // The object shown: 1..9 a body row, 0 the star of gudtRecordStella.
    inline static int gintOggetto = 0;

    // Sets gintOggetto and shows a new box modally over `owner`.
    static void Mostra(int oggetto, QWidget* owner);

    void Lingua();
    // Fills every text and the picture for gintOggetto.
    void Form_Paint();
    void cmdOK_Click();
    void cmdHelp_Click();

    QGroupBox* fraCoordinate = nullptr;
    QLabel* lblAscensioneRetta = nullptr;
    QLabel* lblDeclinazione = nullptr;
    QLabel* lblAltezza = nullptr;
    QLabel* lblAzimuth = nullptr;
    QLabel* lblMagnitudine = nullptr;
    QLabel* lblDiametro = nullptr;
    QLabel* lblFase = nullptr;
    QLabel* lblDistanza = nullptr;
    QLabel* lblTempoLuce = nullptr;
    QLabel* lblRa = nullptr;
    QLabel* lblDec = nullptr;
    QLabel* lblAlt = nullptr;
    QLabel* lblAz = nullptr;
    QLabel* lblMag = nullptr;
    QLabel* lblSize = nullptr;
    QLabel* lblPhase = nullptr;
    QLabel* lblDist = nullptr;
    QLabel* lblLight = nullptr;
    platform::CanvasWidget* PicObject = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdHelp = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
    void Disegna_fase(double fase);
    void Mostra_immagine(int n);

    bool m_riempie = false;
    int m_immagine = -1;        // picture shown (-1 none, 10 the Moon's phase)
    double m_fase = -1;         // phase of the Moon drawn
};
