// Placing the dialog's controls and reading its number fields.
#include "app/DataExchange.h"

#include "app/DialogLayout.h"

#include <QWidget>

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
    return CheckRateEntry(std::string_view(text.trimmed().toStdString()), maximumMBs);
}

QString RateFieldText(int thousandths)
{
    return QString::fromStdString(RateEntryText(thousandths));
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
