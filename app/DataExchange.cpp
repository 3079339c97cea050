// Placing the dialog's controls and reading its number fields.
#include "app/DataExchange.h"

#include "app/DialogLayout.h"

#include <QWidget>

#include <cstdint>
#include <limits>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollBar>

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


namespace {

constexpr int kDropDownVisibleItems = 16;

// The application's style, but with the opened list a plain scrolling list:
// styles that open it like a menu ignore the number of visible rows.
class ScrollingListStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// One style for every list, owned by the application: a widget does not own
// its style, and the lists come and go with their dialog.
QStyle* ListStyle()
{
    static QPointer<ScrollingListStyle> style;
    if (!style) {
        style = new ScrollingListStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

}  // namespace

void PrepareDropDown(QComboBox* list)
{
    list->setStyle(ListStyle());
    QObject::connect(list, &QComboBox::currentTextChanged, list, [list](const QString& text) {
        list->setToolTip(text);
    });
}

void FitDropDown(QComboBox* list)
{
    if (list->count() <= 0) {
        return;
    }
    list->setMaxVisibleItems(kDropDownVisibleItems);
    QAbstractItemView* view = list->view();
    const int scrollBar = list->count() > kDropDownVisibleItems ? view->verticalScrollBar()->sizeHint().width() : 0;
    view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() + scrollBar);
}

}  // namespace kel
