#include "platform/print_job.h"

#include "platform/file_chooser.h"
#include "platform/language_texts.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>

namespace platform {

namespace {
// A printing failure in the user's language (the shared "Dialogs" texts).
QString motivo(const char* chiave, const QString& valore = {})
{
    return Testo_Motivo(QStringLiteral("Dialogs"), QLatin1String(chiave),
                        valore.isEmpty() ? QStringList() : QStringList{valore});
}
} // namespace

PrintJob::PrintJob(QPrinter* printer) : m_printer(printer ? printer : &applicationPrinter())
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty()) {
        const QFileInfo out(m_printer->outputFileName());
        if (!out.absoluteDir().exists()) {
            m_error = motivo("stampacartella", out.absolutePath());
            return;
        }
    }
    if (!m_painter.begin(m_printer)) {
        m_error = motivo("stampaavvio");
        return;
    }
    m_active = true;
    const QRectF area = m_printer->pageRect(QPrinter::DevicePixel);
    m_canvas = std::make_unique<Canvas>(&m_painter, area.size(), m_printer->resolution());
}

PrintJob::~PrintJob()
{
    if (m_active)
        EndDoc();
}

bool PrintJob::NewPage()
{
    if (!m_active)
        return false;
    if (!m_printer->newPage()) {
        m_error = motivo("stampapagina");
        return false;
    }
    ++m_page;
    m_canvas->setCurrentX(m_canvas->scaleLeft());
    m_canvas->setCurrentY(m_canvas->scaleTop());
    return true;
}

bool PrintJob::EndDoc()
{
    if (!m_active)
        return false;
    m_active = false;
    if (!m_painter.end()) {
        m_error = motivo("stampafine");
        return false;
    }
    if (m_printer->printerState() == QPrinter::Error) {
        m_error = motivo("stampaerrore");
        return false;
    }
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty() &&
        !QFileInfo::exists(m_printer->outputFileName())) {
        m_error = motivo("stampafile", m_printer->outputFileName());
        return false;
    }
    return true;
}

} // namespace platform
