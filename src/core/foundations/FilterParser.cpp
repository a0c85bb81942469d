#include "FilterParser.h"

#include "FieldValues.h"
#include "QuillonError.h"
#include "TextHelpers.h"

#include <QDate>
#include <QTime>

QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

namespace {

enum class Tok { End, Name, String, Number, Op, LParen, RParen, And, Or, Not, Is, Null };

struct Token {
    Tok kind = Tok::End;
    QString text;
    int position = 0; // one-based
};

class Parser {
public:
    Parser(const QString& expression, const QList<FieldDef>& fields)
        : m_text(expression), m_fields(fields) {
        advance();
    }

    CompiledFilter run() {
        CompiledFilter result;
        if (m_token.kind == Tok::End)
            return result;
        result.sql = parseOr();
        if (m_token.kind != Tok::End)
            fail(m_token.position, QStringLiteral("unerwartet: „%1“").arg(m_token.text));
        result.binds = m_binds;
        return result;
    }

private:
    [[noreturn]] void fail(int position, const QString& what) const {
        throw QuillonError(
            QStringLiteral("Der Filterausdruck „%1“ kann nicht gelesen werden (Zeichen %2): %3")
                .arg(m_text)
                .arg(position)
                .arg(what));
    }

    void advance() {
        const int length = m_text.size();
        while (m_pos < length && m_text[m_pos].unicode() <= 32)
            ++m_pos;
        m_token = Token{};
        m_token.position = m_pos + 1;
        if (m_pos >= length)
            return;
        const QChar c = m_text[m_pos];
        if (c == u'(' || c == u')') {
            m_token.kind = c == u'(' ? Tok::LParen : Tok::RParen;
            m_token.text = c;
            ++m_pos;
            return;
        }
        if (c == u'=' || c == u'<' || c == u'>' || c == u'!') {
            QString op = c;
            ++m_pos;
            if (m_pos < length) {
                const QChar d = m_text[m_pos];
                if ((c == u'<' && (d == u'>' || d == u'=')) || (c == u'>' && d == u'=') ||
                    (c == u'!' && d == u'=')) {
                    op += d;
                    ++m_pos;
                }
            }
            if (op == u"!")
                fail(m_token.position, QStringLiteral("unbekannter Vergleich „!“"));
            m_token.kind = Tok::Op;
            m_token.text = op == u"!=" ? QStringLiteral("<>") : op;
            return;
        }
        if (c == u'\'') {
            QString value;
            ++m_pos;
            while (true) {
                if (m_pos >= length)
                    fail(m_token.position, QStringLiteral("das schließende ' fehlt"));
                if (m_text[m_pos] == u'\'') {
                    if (m_pos + 1 < length && m_text[m_pos + 1] == u'\'') {
                        value += u'\'';
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                value += m_text[m_pos++];
            }
            m_token.kind = Tok::String;
            m_token.text = value;
            return;
        }
        if (c == u'[' || c == u'"') {
            const QChar close = c == u'[' ? u']' : u'"';
            const int end = m_text.indexOf(close, m_pos + 1);
            if (end < 0)
                fail(m_token.position, QStringLiteral("das schließende %1 fehlt").arg(close));
            m_token.kind = Tok::Name;
            m_token.text = m_text.mid(m_pos + 1, end - m_pos - 1);
            m_pos = end + 1;
            return;
        }
        if (c.isDigit() ||
            ((c == u'-' || c == u'+') && m_pos + 1 < length && m_text[m_pos + 1].isDigit())) {
            const int start = m_pos++;
            while (m_pos < length &&
                   (m_text[m_pos].isDigit() || m_text[m_pos] == u'.' || m_text[m_pos] == u','))
                ++m_pos;
            m_token.kind = Tok::Number;
            m_token.text = m_text.mid(start, m_pos - start);
            return;
        }
        if (c.isLetter() || c == u'_') {
            const int start = m_pos;
            while (m_pos < length && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == u'_'))
                ++m_pos;
            m_token.text = m_text.mid(start, m_pos - start);
            const QString upper = AsciiUpper(m_token.text);
            m_token.kind = upper == u"AND"    ? Tok::And
                           : upper == u"OR"   ? Tok::Or
                           : upper == u"NOT"  ? Tok::Not
                           : upper == u"IS"   ? Tok::Is
                           : upper == u"NULL" ? Tok::Null
                                              : Tok::Name;
            return;
        }
        fail(m_token.position, QStringLiteral("unerwartetes Zeichen „%1“").arg(c));
    }

    QString parseOr() {
        QString sql = parseAnd();
        while (m_token.kind == Tok::Or) {
            advance();
            sql = u'(' + sql + QStringLiteral(" OR ") + parseAnd() + u')';
        }
        return sql;
    }

    QString parseAnd() {
        QString sql = parseNot();
        while (m_token.kind == Tok::And) {
            advance();
            sql = u'(' + sql + QStringLiteral(" AND ") + parseNot() + u')';
        }
        return sql;
    }

    QString parseNot() {
        if (m_token.kind == Tok::Not) {
            advance();
            return QStringLiteral("(NOT ") + parseNot() + u')';
        }
        return parsePrimary();
    }

    const FieldDef* findField(const QString& name) const {
        for (const FieldDef& field : m_fields)
            if (SameTextIgnoringCase(field.name, name))
                return &field;
        return nullptr;
    }

    const FieldDef& requireField(const Token& token) const {
        const FieldDef* field = findField(token.text);
        if (!field)
            fail(token.position,
                 QStringLiteral("das Feld „%1“ gibt es in dieser Tabelle nicht").arg(token.text));
        return *field;
    }

    QString parsePrimary() {
        if (m_token.kind == Tok::LParen) {
            advance();
            QString sql = parseOr();
            if (m_token.kind != Tok::RParen)
                fail(m_token.position, QStringLiteral("„)“ erwartet"));
            advance();
            return sql;
        }
        Token left = m_token;
        if (left.kind != Tok::Name && left.kind != Tok::String && left.kind != Tok::Number)
            fail(left.position, left.kind == Tok::End ? QStringLiteral("Bedingung fehlt am Ende")
                                                      : QStringLiteral("Bedingung erwartet"));
        advance();
        if (m_token.kind == Tok::Is && left.kind == Tok::Name) {
            const FieldDef& field = requireField(left);
            advance();
            bool negate = false;
            if (m_token.kind == Tok::Not) {
                negate = true;
                advance();
            }
            if (m_token.kind != Tok::Null)
                fail(m_token.position, QStringLiteral("NULL erwartet"));
            advance();
            return emptyTest(field, negate);
        }
        if (m_token.kind != Tok::Op)
            fail(m_token.position, QStringLiteral("Vergleich (=, <>, <, >) erwartet"));
        QString op = m_token.text;
        advance();
        Token right = m_token;
        if (right.kind != Tok::Name && right.kind != Tok::String && right.kind != Tok::Number)
            fail(right.position, QStringLiteral("Wert erwartet"));
        advance();
        if (left.kind != Tok::Name) {
            if (right.kind != Tok::Name)
                fail(left.position, QStringLiteral("ein Vergleich braucht ein Feld"));
            std::swap(left, right);
            op = mirrored(op);
        }
        const FieldDef& field = requireField(left);
        if (right.kind == Tok::Name) {
            if (const FieldDef* other = findField(right.text))
                return compareFields(field, op, *other);
        }
        return compare(field, op, right);
    }

    static QString mirrored(const QString& op) {
        if (op == u"<")
            return QStringLiteral(">");
        if (op == u">")
            return QStringLiteral("<");
        if (op == u"<=")
            return QStringLiteral(">=");
        if (op == u">=")
            return QStringLiteral("<=");
        return op;
    }

    static bool isText(const FieldDef& field) {
        return field.kind == FieldKind::Text || field.kind == FieldKind::Picture ||
               field.kind == FieldKind::Memo;
    }

    static QString column(const FieldDef& field) {
        if (isText(field))
            return QStringLiteral("ifnull(%1,'')").arg(quoteIdentifier(field.name));
        if (field.kind == FieldKind::Logical)
            return QStringLiteral("ifnull(%1,0)").arg(quoteIdentifier(field.name));
        return quoteIdentifier(field.name);
    }

    static QString emptyTest(const FieldDef& field, bool negate) {
        const QString name = quoteIdentifier(field.name);
        if (isText(field))
            return negate ? QStringLiteral("ifnull(%1,'') <> ''").arg(name)
                          : QStringLiteral("ifnull(%1,'') = ''").arg(name);
        return negate ? QStringLiteral("%1 IS NOT NULL").arg(name)
                      : QStringLiteral("%1 IS NULL").arg(name);
    }

    QString compareFields(const FieldDef& a, const QString& op, const FieldDef& b) {
        const QString collate =
            isText(a) && isText(b) ? QStringLiteral(" COLLATE NOCASE") : QString();
        return QStringLiteral("%1 %2 %3%4").arg(column(a), op, column(b), collate);
    }

    QString bind(const QVariant& value) {
        m_binds.append(value);
        return QStringLiteral("?");
    }

    QString compare(const FieldDef& field, const QString& op, const Token& literal) {
        const QString value = literal.text;
        if (isText(field)) {
            if ((op == u"=" || op == u"<>") && value.endsWith(u'*')) {
                QString prefix = value.left(value.size() - 1);
                prefix.replace(u'\\', QStringLiteral("\\\\"))
                    .replace(u'%', QStringLiteral("\\%"))
                    .replace(u'_', QStringLiteral("\\_"));
                return QStringLiteral("%1%2 LIKE %3 ESCAPE '\\'")
                    .arg(column(field), op == u"=" ? QString() : QStringLiteral(" NOT"),
                         bind(prefix + u'%'));
            }
            return QStringLiteral("%1 %2 %3 COLLATE NOCASE").arg(column(field), op, bind(value));
        }
        if (Trim(value).isEmpty()) {
            if (op == u"=")
                return emptyTest(field, false);
            if (op == u"<>")
                return emptyTest(field, true);
            fail(literal.position, QStringLiteral("ein leerer Wert lässt sich nur mit = oder <> "
                                                  "vergleichen"));
        }
        QVariant bound;
        bool ok = false;
        switch (field.kind) {
        case FieldKind::Logical: {
            bool v = false;
            ok = FieldValues::parseLogical(value, &v);
            if (!ok) {
                ok = value == u"1" || value == u"0";
                v = value == u"1";
            }
            bound = qint64(v ? 1 : 0);
            break;
        }
        case FieldKind::Date: {
            QDate v;
            ok = FieldValues::parseDate(value, &v);
            bound = v.toString(Qt::ISODate);
            break;
        }
        case FieldKind::Time: {
            QTime v;
            ok = FieldValues::parseTime(value, &v);
            bound = v.toString(QStringLiteral("hh:mm:ss"));
            break;
        }
        default: {
            double v = 0;
            ok = FieldValues::parseNumber(value, &v);
            bound = v;
            break;
        }
        }
        if (!ok)
            fail(literal.position,
                 QStringLiteral("„%1“ ist kein gültiger Wert für das Feld „%2“ (%3)")
                     .arg(value, field.name, fieldKindCaption(field.kind)));
        if (op == u"<>" && field.kind != FieldKind::Logical)
            return QStringLiteral("(%1 IS NULL OR %1 <> %2)").arg(column(field), bind(bound));
        return QStringLiteral("%1 %2 %3").arg(column(field), op, bind(bound));
    }

    QString m_text;
    const QList<FieldDef>& m_fields;
    int m_pos = 0;
    Token m_token;
    QList<QVariant> m_binds;
};

} // namespace

CompiledFilter FilterParser::compile(const QString& expression, const QList<FieldDef>& fields) {
    return Parser(expression, fields).run();
}
