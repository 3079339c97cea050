#include "app/DropDownList.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>

namespace kel {

namespace {
constexpr int kDropDownVisibleItems = 16;
}  // namespace

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
