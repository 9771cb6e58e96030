// Prints, for each file name given, the type that the shared MIME database gives that name (by its
// name alone, as a file manager does for a file it has not opened), one per line. The database is
// found as every desktop program finds it: XDG_DATA_HOME and XDG_DATA_DIRS.
#include <QMimeDatabase>

#include <iostream>

int main(int argc, char* argv[]) {
    const QMimeDatabase database;
    for (int i = 1; i < argc; ++i)
        std::cout << database.mimeTypeForFile(QString::fromLocal8Bit(argv[i]), QMimeDatabase::MatchExtension)
                         .name()
                         .toStdString()
                  << '\n';
    return 0;
}
