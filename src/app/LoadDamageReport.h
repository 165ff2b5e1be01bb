#pragma once

#include <QString>

#include "events/EventList.h"

// What a load found wrong in the event file FileName, one line each: the words
// of the one report of a file read only in part, at start-up and on import.
QString loadDamageReport(const TEventList::LoadDamage& Damage, const QString& FileName);
