#include "presentation/nfo_file.h"

#include "base/exception.h"
#include "presentation/cp437.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cstring>

QString readNfoFile(const QString& fileName, qsizetype capacity)
{
    const auto cannotOpen = [&] {
        return Exception("Cannot open file " + QFileInfo(fileName).fileName().toStdString());
    };

    // Only a regular file: opening a FIFO would wait for a writer.
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        throw cannotOpen();

    QByteArray text;
    char chunk[64 * 1024];
    for (;;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0)
            throw cannotOpen();
        if (got == 0)
            break;
        const auto* nul = static_cast<const char*>(std::memchr(chunk, 0, static_cast<size_t>(got)));
        const qsizetype kept = nul ? nul - chunk : got;
        if (text.size() + kept > capacity)
            throw Exception("Text exceeds memo capacity");
        text.append(chunk, kept);
        if (nul)
            break;
    }
    return dosTextToUnicode(text);
}
