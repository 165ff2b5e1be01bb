#include "AppResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be called outside any namespace.
static void registerQuilletResources() { Q_INIT_RESOURCE(Quillet); }

void ensureAppResources()
{
    static const bool registered = (registerQuilletResources(), true);
    (void)registered;
}
