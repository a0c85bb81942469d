#include "TextHelpers.h"

#include "TextFile.h"
#include "UserDialogs.h"

namespace {

bool isDelimiter(QChar c, const QString& delimiters) {
    return delimiters.contains(c);
}

} // namespace

bool FindWord(int n, const QString& text, const QString& delimiters, int* position) {
    int count = 0;
    int i = 0; // zero-based here, reported one-based
    const int length = text.size();
    while (i < length && count != n) {
        while (i < length && isDelimiter(text[i], delimiters))
            ++i;
        if (i < length)
            ++count;
        if (count == n) {
            if (position)
                *position = i + 1;
            return true;
        }
        while (i < length && !isDelimiter(text[i], delimiters))
            ++i;
    }
    return false;
}

QString ExtractWord(int n, const QString& text, const QString& delimiters) {
    int position = 0;
    if (!FindWord(n, text, delimiters, &position))
        return {};
    int end = position - 1;
    while (end < text.size() && !isDelimiter(text[end], delimiters))
        ++end;
    return text.mid(position - 1, end - (position - 1));
}

int CountWords(const QString& text, const QString& delimiters) {
    int count = 0;
    int i = 0;
    const int length = text.size();
    while (i < length) {
        while (i < length && isDelimiter(text[i], delimiters))
            ++i;
        if (i < length)
            ++count;
        while (i < length && !isDelimiter(text[i], delimiters))
            ++i;
    }
    return count;
}

QString PadRight(const QString& text, QChar fill, int length) {
    if (text.size() >= length)
        return text;
    return text + QString(length - text.size(), fill);
}

QString FolderOfPath(const QString& path) {
    if (path.isEmpty())
        return {};
    int i = path.size() - 1;
    while (i >= 0 && path[i] != u'/' && path[i] != QChar(0))
        --i;
    if (i < 0)
        return {};
    if (i == 0)
        return path.left(1);
    return path.left(i);
}

QString WithTrailingSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString FoldDatabaseName(const QString& name) {
    static const QString toUnderscore = QStringLiteral(" '.-!$%=\"\u00A7?,\u00B4`");
    static const QString toX = QStringLiteral("*:()\\/><");
    QString replaced = name;
    for (QChar& c : replaced) {
        if (toUnderscore.contains(c))
            c = u'_';
        else if (c == u'&')
            c = u'a';
        else if (toX.contains(c))
            c = u'x';
    }
    QString expanded;
    expanded.reserve(replaced.size() + 8);
    for (QChar c : replaced) {
        switch (c.unicode()) {
        case 0xE4:
            expanded += QLatin1String("ae");
            break;
        case 0xC4:
            expanded += QLatin1String("Ae");
            break;
        case 0xF6:
            expanded += QLatin1String("oe");
            break;
        case 0xD6:
            expanded += QLatin1String("Oe");
            break;
        case 0xFC:
            expanded += QLatin1String("ue");
            break;
        case 0xDC:
            expanded += QLatin1String("Ue");
            break;
        case 0xDF:
            expanded += QLatin1String("ss");
            break;
        default:
            expanded += c;
        }
    }
    if (!expanded.isEmpty() && expanded[0] >= u'0' && expanded[0] <= u'9')
        expanded[0] = u'X';
    return AsciiLower(expanded);
}

QString Trim(const QString& text) {
    int begin = 0;
    int end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

QString AsciiUpper(const QString& text) {
    QString result = text;
    for (QChar& c : result)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return result;
}

QString AsciiLower(const QString& text) {
    QString result = text;
    for (QChar& c : result)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return result;
}

bool SameTextIgnoringCase(const QString& a, const QString& b) {
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

bool ContainsText(const QString& text, const QString& part) {
    return !part.isEmpty() && text.contains(part, Qt::CaseSensitive);
}

QString Column(const QString& line, int n) {
    return Trim(ExtractWord(n, line, QStringLiteral("|")));
}

void CheckIniEntry(const QString& file, const QString& section, const QString& key,
                   UserDialogs& dialogs) {
    const QStringList lines = TextFile::readLines(file);
    bool sectionFound = false;
    bool keyFound = false;
    const QString header = u'[' + section + u']';
    for (const QString& line : lines) {
        if (line.contains(header))
            sectionFound = true;
        if (sectionFound) {
            const int equals = line.indexOf(u'=');
            const QString name = equals < 0 ? QString() : Trim(line.left(equals));
            if (name == key)
                keyFound = true;
        }
    }
    if (!sectionFound)
        dialogs.error(QStringLiteral("Block ") + section + QStringLiteral(" not found in ") + file);
    if (!keyFound)
        dialogs.error(QStringLiteral("Item ") + key + QStringLiteral(" not found in ") + file);
}
