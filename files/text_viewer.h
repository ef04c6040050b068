#pragma once
// The text-file viewer: a small plain-text editor, one window per document.
// It opens, changes, saves and prints a text file (in practice an element
// file) and writes it back in the encoding and line ends it was read with.
#include "common/window_calls.h"
#include "platform/vb.h"

#include <QStringList>
#include <QWidget>

class QTextEdit;

class frmFile : public QWidget,
                public common::Salvabile,
                public common::Stampabile,
                public common::ChiusuraConDomanda {
    Q_OBJECT
public:
    explicit frmFile(QWidget* parent = nullptr);

    QTextEdit* txtFile = nullptr;
    // True for a document made by the New command that has no file yet.
    bool pflgNuovo = false;

    // The file read (a loaded document) or the document's title (a new one).
    QString fileName() const { return m_fileName; }
    void setFileName(const QString& name) { m_fileName = name; }
    // The text as last loaded or saved.
    QString testoSalvato() const { return mstrTestoSalvato; }
    // The text differs from the one last loaded or saved.
    bool modificato() const;

    // Loads a file and shows the window; on failure tells why, as File > View
    // does (the reason titled with the path, or that the file was not found),
    // and the window goes away (false).
    bool Leggi(const QString& FileName);
    // Saves the document: a new one through the Save As dialog (every time),
    // a loaded one over its file. False when nothing was saved (the dialog
    // was cancelled, or the write failed and was told).
    bool Salva();
    // Prints the selection, or the whole text when nothing is selected, on
    // the printer chosen in the printer dialog.
    void Stampa();
    // The closing question: true when the window may close.
    bool Form_QueryUnload() override;
    void Chiusura_Gia_Concessa() override;
    // common::Salvabile and common::Stampabile: File > Save and Print.
    void Comando_Salva() override { Salva(); }
    void Comando_Stampa() override { Stampa(); }

    // The lines of a text laid out for a page `colonne` characters wide:
    // every line end starts a line, longer lines are broken at the width
    // (after a blank when there is one near the end).
    static QStringList Impagina(const QString& testo, int colonne);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Finestra(QWidget* w);
    // Sizes the window to show the text's lines whole.
    void Dimensiona();
    QString mstrTestoSalvato;
    // The text the exit's closing question just let go (see closeEvent).
    bool m_chiusuraConcessa = false;
    QString m_testoConcesso;
    QString m_fileName;
    vb::TextDocument m_documento;
};
