// A chart drawn through a Canvas onto a printer page comes out on paper: the
// page is printed to PDF and read back with poppler's pdftoppm.
#include "platform/canvas.h"
#include "platform/print_job.h"
#include "platform/vb.h"

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::Canvas;

namespace {
// Rasterises page 1 of a PDF at `dpi` into an image.
QImage rasterise(const QString& pdf, int dpi, const QString& dir)
{
    const QString base = dir + QStringLiteral("/page");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, base});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

bool reddish(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool whitish(QRgb c)
{
    return qRed(c) > 230 && qGreen(c) < 256 && qGreen(c) > 230 && qBlue(c) > 230;
}
bool bluish(QRgb c)
{
    return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60;
}
} // namespace

TEST(CanvasPrinting, APageDrawnThroughTheCanvasReadsBackFromPdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_FAIL() << "pdftoppm (poppler-utils) is needed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);

    Canvas screen(QSize(20, 20));
    screen.Scale(0, 0, 20, 20);
    screen.setAutoRedraw(true);
    screen.Line(0, 0, 20, 20, vb::RGB(0, 0, 255), Canvas::FilledBox);
    {
        QPainter painter(&printer);
        ASSERT_TRUE(painter.isActive());
        const QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
        Canvas paper(&painter, QSizeF(page.size()), printer.resolution());
        // A chart window with y upward: 0..100 across, 0..141.4 up the page.
        paper.Scale(0, 141.4, 100, 0);
        paper.setFillStyle(Canvas::FillSolid);
        paper.setFillColor(vb::RGB(255, 0, 0));
        paper.Circle(30, 110, 15, vb::RGB(255, 0, 0));       // upper left
        paper.setFillStyle(Canvas::FillTransparent);
        paper.Line(60, 20, 90, 40, vb::RGB(0, 0, 0), Canvas::Box);
        paper.setCurrentX(10);
        paper.setCurrentY(60);
        paper.Print(QStringLiteral("Astrovela printed chart"));
        // The screen picture copied onto the page, lower left.
        screen.render(painter, QRectF(paper.toDevice({10, 30}), paper.toDevice({30, 10})));
    }
    ASSERT_TRUE(QFile::exists(pdf));

    const QImage img = rasterise(pdf, 50, dir.path());
    ASSERT_FALSE(img.isNull());
    const double sx = img.width() / 100.0, sy = img.height() / 141.4;
    auto at = [&](double x, double y) { return img.pixel(int(x * sx), int((141.4 - y) * sy)); };
    EXPECT_TRUE(reddish(at(30, 110)));   // disc centre
    EXPECT_TRUE(whitish(at(30, 80)));    // below the disc
    EXPECT_TRUE(whitish(at(75, 30)));    // inside the unfilled box
    EXPECT_TRUE(bluish(at(20, 20)));     // the copied screen picture
    EXPECT_TRUE(whitish(at(80, 120)));

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("Astrovela printed chart")));
}

TEST(PrintJobTest, PagesComeOutInOrderAndFailuresAreReported)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    {
        platform::PrintJob job(&printer);
        ASSERT_TRUE(job.isActive()) << job.errorString().toStdString();
        EXPECT_EQ(job.page().scaleMode(), int(Canvas::Twips));
        job.page().Print(QStringLiteral("First page"));
        job.page().setCurrentX(1440); // one inch in
        ASSERT_TRUE(job.NewPage());
        EXPECT_DOUBLE_EQ(job.page().currentX(), 0.0);
        job.page().Print(QStringLiteral("Second page"));
        EXPECT_EQ(job.pageNumber(), 2);
        EXPECT_TRUE(job.EndDoc());
    }
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("2"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString second = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(second.contains(QStringLiteral("Second page")));
    EXPECT_FALSE(second.contains(QStringLiteral("First page")));

    printer.setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
    platform::PrintJob failed(&printer);
    EXPECT_FALSE(failed.isActive());
    EXPECT_FALSE(failed.errorString().isEmpty());
}
