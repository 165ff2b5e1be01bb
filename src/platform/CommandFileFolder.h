#pragma once

#include <QString>

// The folder to write command files in, ending in "/": "tmp" in the program's folder
// when it is the user's alone or can be made so, else "quillet-tmp" in the user's
// runtime folder (a program folder that others can write, or that lies in a folder
// they can change, one the user can't write, and an installed program's). Empty when
// neither is private. The folder is not made here: makePrivateFolder makes and checks
// it right before each use.
QString commandFileFolder();
