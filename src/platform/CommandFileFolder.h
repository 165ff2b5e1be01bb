#pragma once

#include <QString>

// The folder to write command files in, ending in "/": "tmp" in the program's folder
// when the user's files lie there and it is (or would be, once made) the user's own,
// else "quillet-tmp" in the user's runtime folder. Empty when neither is the user's
// own. The folder is not made here: makePrivateFolder makes and checks it right
// before each use.
QString commandFileFolder();
