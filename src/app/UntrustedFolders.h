#pragma once

#include <QString>

struct ProgramFolders;

// What the start tells the user when folders of the user's are not the user's own
// (others may change them): each folder passed over, and what goes unsaved for want
// of a folder of the user's own. EventFileNamed: the command line named the event
// file, which needs no data folder. Empty when there is nothing to tell.
QString untrustedFoldersReport(const ProgramFolders& Folders, bool EventFileNamed);
