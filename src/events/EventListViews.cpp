#include "EventList.h"

void TEventList::ClearEventView(TListViewEventItems& Items)
{
    Items.clear();
}
