#pragma once
// A print run on a printer, page by page, drawn through a Canvas so that the
// chart code that draws on screen draws on paper too:
//
//   platform::PrintJob job;                 // the printer chosen last
//   if (!job.isActive()) { MsgBox(job.errorString(), vbExclamation); return; }
//   job.page().Scale(-100, 100, 100, -100);
//   ... draw on job.page() ...
//   job.NewPage(); ...
//   if (!job.EndDoc()) ...
//
// The page canvas covers the printable area in twips until a scale is set;
// the scale and drawing settings carry over to the next page, the pen goes
// back to the top left.
#include "platform/canvas.h"

#include <QPainter>
#include <QString>
#include <memory>

class QPrinter;

namespace platform {

class PrintJob {
public:
    // Starts printing on `printer` (default: applicationPrinter()).
    explicit PrintJob(QPrinter* printer = nullptr);
    ~PrintJob(); // ends the document if EndDoc was not called
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    bool isActive() const { return m_active; }
    QString errorString() const { return m_error; }
    Canvas& page() { return *m_canvas; }
    int pageNumber() const { return m_page; }

    bool NewPage();
    // Finishes the document; false with errorString() when it failed.
    bool EndDoc();

private:
    QPrinter* m_printer;
    QPainter m_painter;
    std::unique_ptr<Canvas> m_canvas;
    bool m_active = false;
    int m_page = 1;
    QString m_error;
};

} // namespace platform
