#pragma once
// Shared pieces of the fuzz targets: a scratch folder that lives as long as
// the run, and a file in it holding the input.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline const QString& Cartella()
{
    // In memory where the system offers it: the saves under test sync to disk.
    static const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/astrovela-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    static const QString path = dir.path();
    return path;
}

// Writes the bytes to `nome` in `cartella` (the scratch folder unless said)
// and returns its path.
inline QString Scrivi(const QString& nome, const QByteArray& byte, const QString& cartella = Cartella())
{
    const QString path = cartella + u'/' + nome;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(byte) != byte.size())
        std::abort();
    return path;
}

inline QByteArray Byte(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A broken promise of the code under test: reported and stopped, so that
// libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(cond)                                                                \
    do {                                                                                \
        if (!(cond)) {                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                               \
        }                                                                               \
    } while (0)

} // namespace fuzz
