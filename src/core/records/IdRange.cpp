#include "IdRange.h"

#include "foundations/FieldValues.h"
#include "foundations/QuillonError.h"
#include "foundations/TextHelpers.h"

#include <limits>

int IdRange::parseId(const QString& text) {
    const QString trimmed = Trim(text);
    qint64 value = 0;
    if (!FieldValues::parseInteger(trimmed, &value) || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        throw QuillonError(QStringLiteral("„%1“ ist keine gültige ganze Zahl.").arg(trimmed));
    return static_cast<int>(value);
}

void IdRange::readTexts(const QString& startText, const QString& endText) {
    start = parseId(startText);
    end = parseId(endText);
}
