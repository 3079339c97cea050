// Placing the dialog's controls and reading its number fields.
#include "app/DataExchange.h"

#include "app/DialogLayout.h"

#include <QWidget>

#include <cstdint>
#include <limits>

namespace kel {

QRect PixelRect(int x, int y, int width, int height)
{
    return QRect(DluToPixelsX(x), DluToPixelsY(y), DluToPixelsX(width), DluToPixelsY(height));
}

void PlaceLabel(QWidget* label, QRect rect, bool rightAligned)
{
    const int needed = label->sizeHint().width();
    if (needed > rect.width()) {
        if (rightAligned) {
            rect.setLeft(rect.right() + 1 - needed);
        } else {
            rect.setWidth(needed);
        }
    }
    label->setGeometry(rect);
}

std::optional<int> ParseWholeNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype at = 0;
    bool negative = false;
    if (at < trimmed.size() && (trimmed[at] == u'-' || trimmed[at] == u'+')) {
        negative = trimmed[at] == u'-';
        ++at;
    }
    if (at == trimmed.size()) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    for (; at < trimmed.size(); ++at) {
        const char16_t c = trimmed[at].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > std::int64_t {std::numeric_limits<int>::max()} + 1) {
            return std::nullopt;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

FieldCheck CheckIntegerField(const QString& text, int minimum, int maximum)
{
    FieldCheck check;
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value) {
        check.message = QStringLiteral("Please enter an integer.");
        return check;
    }
    if (*value < minimum || *value > maximum) {
        check.message = QStringLiteral("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum);
        return check;
    }
    check.accepted = true;
    check.value = *value;
    return check;
}

}  // namespace kel
