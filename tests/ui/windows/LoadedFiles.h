#pragma once

#include <QDir>
#include <QStringList>

#include <windows.h>

#include <tlhelp32.h>

namespace portolan::test {

// The files of the modules loaded into the process, the program and its libraries, with "/" between
// the folders of their paths.
inline QStringList loadedFiles() {
    QStringList files;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return files;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = ::Module32FirstW(snapshot, &module); more; more = ::Module32NextW(snapshot, &module))
        files.append(QDir::fromNativeSeparators(QString::fromWCharArray(module.szExePath)));
    ::CloseHandle(snapshot);
    return files;
}

} // namespace portolan::test
