#pragma once
// A page of a printed PDF as an image, through poppler's pdftoppm.
#include <QImage>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// The first page at 288 dpi: 4 pixels a point, 5 twips a pixel. A null
// image when pdftoppm is missing or fails.
inline QImage Pagina_Pdf(const QString& pdf)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("288"), QStringLiteral("-png"),
                                          QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("p"))});
    p.waitForFinished(60000);
    return QImage(dir.filePath(QStringLiteral("p.png")));
}

} // namespace testsupport
