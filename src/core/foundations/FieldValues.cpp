#include "FieldValues.h"

#include "QuillonError.h"
#include "TextHelpers.h"

#include <QDate>
#include <QTime>
#include <cmath>
#include <limits>

namespace FieldValues {

namespace {

QuillonError notOfKind(const FieldDef& field, const QString& text) {
    return QuillonError(QStringLiteral("„%1“ ist kein gültiger Wert für das Feld „%2“ (%3).")
                            .arg(text, field.name, fieldKindCaption(field.kind)));
}

bool allDigits(QStringView text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

bool parseLogical(const QString& text, bool* value) {
    const QString upper = AsciiUpper(Trim(text));
    if (upper == u"WAHR" || upper == u"TRUE") {
        *value = true;
        return true;
    }
    if (upper == u"FALSCH" || upper == u"FALSE") {
        *value = false;
        return true;
    }
    return false;
}

bool parseInteger(const QString& text, qint64* value) {
    const QString t = Trim(text);
    QStringView digits(t);
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits = digits.mid(1);
    if (!allDigits(digits) || digits.size() > 18)
        return false;
    bool ok = false;
    *value = t.toLongLong(&ok);
    return ok;
}

bool parseNumber(const QString& text, double* value) {
    QString t = Trim(text);
    if (t.isEmpty())
        return false;
    if (t.contains(u',')) {
        t.remove(u'.');
        t.replace(u',', u'.');
    }
    for (QChar c : t)
        if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            return false;
    bool ok = false;
    *value = t.toDouble(&ok);
    return ok && std::isfinite(*value);
}

bool parseDate(const QString& text, QDate* value) {
    const QString t = Trim(text);
    QStringList parts;
    int year = 0, month = 0, day = 0;
    if (t.contains(u'.')) {
        parts = t.split(u'.');
        if (parts.size() != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) ||
            !allDigits(parts[2]) || parts[0].size() > 2 || parts[1].size() > 2)
            return false;
        day = parts[0].toInt();
        month = parts[1].toInt();
        year = parts[2].toInt();
        if (parts[2].size() <= 2)
            year += year < 50 ? 2000 : 1900;
        else if (parts[2].size() != 4)
            return false;
    } else if (t.contains(u'-')) {
        parts = t.split(u'-');
        if (parts.size() != 3 || parts[0].size() != 4 || !allDigits(parts[0]) ||
            !allDigits(parts[1]) || !allDigits(parts[2]))
            return false;
        year = parts[0].toInt();
        month = parts[1].toInt();
        day = parts[2].toInt();
    } else {
        return false;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    *value = date;
    return true;
}

bool parseTime(const QString& text, QTime* value) {
    const QStringList parts = Trim(text).split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    for (const QString& part : parts)
        if (!allDigits(part) || part.size() > 2)
            return false;
    const QTime time(parts[0].toInt(), parts[1].toInt(), parts.size() == 3 ? parts[2].toInt() : 0);
    if (!time.isValid())
        return false;
    *value = time;
    return true;
}

QString formatNumber(double value) {
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', u',');
    return text;
}

QVariant fromText(const FieldDef& field, const QString& text) {
    switch (field.kind) {
    case FieldKind::Text:
    case FieldKind::Picture:
    case FieldKind::Memo: {
        if (text.isEmpty())
            return {};
        const int limit = field.kind == FieldKind::Picture ? 2 : field.size;
        if (field.kind != FieldKind::Memo && text.size() > limit)
            throw QuillonError(
                QStringLiteral("Der Wert „%1“ ist zu lang für das Feld „%2“ (höchstens %3 "
                               "Zeichen).")
                    .arg(text.left(80), field.name)
                    .arg(limit));
        return text;
    }
    default:
        break;
    }
    if (Trim(text).isEmpty())
        return {};
    switch (field.kind) {
    case FieldKind::Integer:
    case FieldKind::AutoInc: {
        qint64 v = 0;
        if (!parseInteger(text, &v) || v < std::numeric_limits<qint32>::min() ||
            v > std::numeric_limits<qint32>::max())
            throw notOfKind(field, text);
        return v;
    }
    case FieldKind::Logical: {
        bool v = false;
        if (!parseLogical(text, &v))
            throw notOfKind(field, text);
        return v;
    }
    case FieldKind::Float:
    case FieldKind::Currency: {
        double v = 0;
        if (!parseNumber(text, &v))
            throw notOfKind(field, text);
        return v;
    }
    case FieldKind::Date: {
        QDate v;
        if (!parseDate(text, &v))
            throw notOfKind(field, text);
        return v;
    }
    case FieldKind::Time: {
        QTime v;
        if (!parseTime(text, &v))
            throw notOfKind(field, text);
        return v;
    }
    default:
        return {};
    }
}

QString toText(const FieldDef& field, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (field.kind) {
    case FieldKind::Logical:
        return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case FieldKind::Integer:
    case FieldKind::AutoInc:
        return QString::number(value.toLongLong());
    case FieldKind::Float:
        return formatNumber(value.toDouble());
    case FieldKind::Currency:
        return QString::number(value.toDouble(), 'f', 2).replace(u'.', u',');
    case FieldKind::Date:
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case FieldKind::Time:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    default:
        return value.toString();
    }
}

} // namespace FieldValues
