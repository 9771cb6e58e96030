#pragma once

#include <QFile>
#include <QStringList>

namespace portolan::test {

// The files mapped into the process, its libraries among them, as the system's map of the process
// names them.
inline QStringList loadedFiles() {
    QStringList files;
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return files;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const qsizetype path = line.indexOf('/');
        if (path >= 0)
            files.append(QFile::decodeName(line.mid(path)));
    }
    files.removeDuplicates();
    return files;
}

} // namespace portolan::test
