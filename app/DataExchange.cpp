// Placing the dialog's controls and reading its number fields.
#include "app/DataExchange.h"

#include "app/DialogLayout.h"

#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
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
    return ParseWholeNumber(std::string_view(text.trimmed().toStdString()));
}

FieldCheck CheckIntegerField(const QString& text, int minimum, int maximum)
{
    return CheckIntegerField(std::string_view(text.trimmed().toStdString()), minimum, maximum);
}

FieldCheck CheckRateField(const QString& text, int maximumMBs)
{
    FieldCheck check;
    const QString trimmed = text.trimmed();
    const qsizetype point = trimmed.indexOf(u'.');
    const QString whole = point < 0 ? trimmed : trimmed.left(point);
    const QString decimals = point < 0 ? QString() : trimmed.mid(point + 1);
    const auto digitsOnly = [](const QString& part) {
        return std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    const std::optional<int> mbs = whole.isEmpty() ? std::optional<int>(0) : ParseWholeNumber(whole);
    if (!trimmed.isEmpty() && (!mbs || !digitsOnly(whole) || !digitsOnly(decimals) || decimals.size() > 3 ||
                               (whole.isEmpty() && decimals.isEmpty()))) {
        check.message = "Please enter a rate in MB/s with at most three decimals.";
        return check;
    }
    const std::int64_t thousandths = std::int64_t {mbs.value_or(0)} * 1000 + (decimals + QStringLiteral("000")).left(3).toInt();
    if (thousandths > std::int64_t {maximumMBs} * 1000) {
        check.message = "Please enter a rate between 0 and " + std::to_string(maximumMBs) + " MB/s.";
        return check;
    }
    check.accepted = true;
    check.value = static_cast<int>(thousandths);
    return check;
}

QString RateFieldText(int thousandths)
{
    if (thousandths <= 0) {
        return {};
    }
    QString text = QString::number(thousandths / 1000);
    if (const int rest = thousandths % 1000; rest != 0) {
        QString decimals = QStringLiteral("%1").arg(rest, 3, 10, QLatin1Char('0'));
        while (decimals.endsWith(u'0')) {
            decimals.chop(1);
        }
        text += u'.' + decimals;
    }
    return text;
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
