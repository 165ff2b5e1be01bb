#pragma once

// Names the program for the desktop and its message boxes. Only its name: with a
// display name Qt would add " — Quillet" to every window caption that doesn't end
// with it, and dialogs whose callers give the caption must show it as given.
void nameApplication();
