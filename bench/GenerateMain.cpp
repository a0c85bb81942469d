// quillon-gen: writes N generated addresses as a delimited file and as a ready installation
// folder holding the address database, for trying the program on a large database.

#include "BenchData.h"
#include "foundations/QuillonError.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    bool ok = false;
    const qlonglong n = args.value(0).toLongLong(&ok);
    if (args.size() != 2 || !ok || n < 1 || n > 10000000) {
        err << "Aufruf: quillon-gen ANZAHL ZIELORDNER\n"
               "  ANZAHL      Adressen, 1 bis 10000000\n"
               "  ZIELORDNER  neuer Ordner; darin adressen.csv und die Installation Quillon/\n";
        return 2;
    }
    const QString target = QDir(args[1]).absolutePath();
    if (QDir(target).exists() && !QDir(target).isEmpty()) {
        err << "quillon-gen: der Ordner " << target << " ist nicht leer\n";
        return 2;
    }
    try {
        QDir().mkpath(target);
        BenchData::copyInstallation(QStringLiteral(QUILLON_SHIPPED_DIR), target + "/Quillon");
        BenchData::fillDatabase(target + "/Quillon", n);
        BenchData::writeDelimitedFile(target + "/adressen.csv", n);
    } catch (const QuillonError& error) {
        err << "quillon-gen: " << error.message() << '\n';
        return 1;
    }
    out << target << "/adressen.csv\n" << target << "/Quillon\n";
    return 0;
}
