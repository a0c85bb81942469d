#pragma once

#include <QString>
#include <QStringList>

// The letters folder: the template catalogue Vorlagen.ini, the shipped templates (kept
// read-only), the user's own documents and the merge data file.
namespace Templates {

QString catalogueName();

// The trimmed names of the catalogue; a missing or unreadable catalogue is a QuillonError.
// Names that would lead out of the folder are left out.
QStringList catalogue(const QString& lettersDir);

// Creates the letters folder from the installation's shipped one when it does not exist.
// True when it exists afterwards.
bool ensureLettersFolder(const QString& lettersDir, const QString& programDir);

// Takes the write permission from every catalogued template; a missing file is skipped.
void protect(const QString& lettersDir);

// Renames every catalogued template to its name + ".bak" for as long as the user picks an
// own document; returns the names hidden.
QStringList hide(const QString& lettersDir);
// Gives every hidden catalogued template its own name back, read-only; also after a run
// that ended before it could.
void restore(const QString& lettersDir);

// Hides the templates for as long as it lives.
class Hidden {
public:
    explicit Hidden(const QString& lettersDir);
    ~Hidden();
    Hidden(const Hidden&) = delete;
    Hidden& operator=(const Hidden&) = delete;

private:
    QString m_lettersDir;
};

// The open dialog filters: templates by their name prefix, own documents by extension.
QString letterFilter();
QString labelFilter();
QString envelopeFilter();
QString ownDocumentFilter();

bool isOpenDocumentText(const QString& path);

} // namespace Templates
