#include "definitions/DatabaseSession.h"
#include "foundations/DesktopShell.h"
#include "foundations/ProductConfig.h"
#include "foundations/QtUserDialogs.h"
#include "foundations/QuillonError.h"
#include "foundations/StartupChecks.h"
#include "foundations/Table.h"

#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtGerman);

    const ProductConfig config = ProductConfig::fromProgramName(QString::fromLocal8Bit(argv[0]));
    app.setApplicationDisplayName(config.productTitle);
    const Folders folders = Folders::forProgramDir(QCoreApplication::applicationDirPath(),
                                                   Folders::defaultLettersDir());
    QtUserDialogs dialogs;
    if (StartupChecks::databasesInUse(folders.dataDir)) {
        dialogs.information(StartupChecks::inUseMessage());
        return 0;
    }
    DatabaseSession session(folders, dialogs);
    QMainWindow window;
    window.setWindowTitle(config.productTitle);
    auto* label = new QLabel(&window);
    window.setCentralWidget(label);
    try {
        session.open(QStringLiteral("Database.ini"));
        label->setText(QStringLiteral("%1 Datensätze").arg(session.activeTable()->recordCount()));
    } catch (const QuillonError& error) {
        dialogs.error(error.message());
    }
    window.resize(800, 500);
    window.show();
    StartupChecks::checkSettingsFile(folders.programDir, dialogs);
    return app.exec();
}
