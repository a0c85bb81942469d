#include "ProductConfig.h"

#include "TextHelpers.h"

#include <QDir>
#include <QFileInfo>

ProductConfig ProductConfig::fromProgramName(const QString& programPath) {
    ProductConfig config;
    const bool database = AsciiUpper(QFileInfo(programPath).fileName()).contains(u'_');
    config.edition = database ? Edition::Database : Edition::SerialLetter;
    config.editionCode = database ? QStringLiteral("DB") : QStringLiteral("SB");
    config.productTitle =
        database ? QStringLiteral("Quillon Datenbank") : QStringLiteral("Quillon Serienbrief");
    config.headerPicture =
        database ? QStringLiteral("header_db.png") : QStringLiteral("header_sb.png");
    config.wizardPicture =
        database ? QStringLiteral("wizard_db.png") : QStringLiteral("wizard_sb.png");
    config.helpPage = QStringLiteral("help.html");
    config.accessHelpPage = QStringLiteral("access.html");
    config.textImportHelpPage = QStringLiteral("textimport.html");
    config.excelHelpPage = QStringLiteral("excel.html");
    config.databasesHelpPage = QStringLiteral("datenbanken.html");
    config.productWebPage = QStringLiteral("https://quillon.example/update");
    return config;
}

Folders Folders::forProgramDir(const QString& programDir, const QString& lettersDir) {
    Folders folders;
    folders.programDir = WithTrailingSeparator(programDir);
    folders.dataDir = folders.programDir + QStringLiteral("Data/");
    folders.imagesDir = folders.programDir + QStringLiteral("Images/");
    folders.helpDir = folders.programDir + QStringLiteral("helpSB/");
    folders.pictureDir = folders.programDir + QStringLiteral("vovovSB/");
    folders.lettersDir = WithTrailingSeparator(lettersDir);
    return folders;
}

QString Folders::defaultLettersDir() {
    return QDir::homePath() + QStringLiteral("/MyLetters/");
}
