#pragma once

#include <QString>

// What depends on the edition; computed once from the program file's name.
struct ProductConfig {
    enum class Edition { SerialLetter, Database };

    Edition edition = Edition::SerialLetter;
    QString editionCode;
    QString productTitle;
    QString headerPicture;
    QString wizardPicture;
    QString helpPage;
    QString accessHelpPage;
    QString textImportHelpPage;
    QString excelHelpPage;
    QString databasesHelpPage;
    QString productWebPage;

    // The database edition when the file name, upper-cased, contains "_".
    static ProductConfig fromProgramName(const QString& programPath);
};

// The folders every part of the program finds its files in; each ends in "/".
struct Folders {
    QString programDir;
    QString dataDir;
    QString imagesDir;
    QString helpDir;
    QString pictureDir;
    QString lettersDir;

    static Folders forProgramDir(const QString& programDir, const QString& lettersDir);
    // ~/MyLetters/
    static QString defaultLettersDir();
};
