#pragma once

#include <QString>

// Plays alarm sounds without making the caller wait.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Starts playing a sound file and returns at once; a sound still playing is cut off.
    // An empty name, or a file that can't be played, plays the desktop's default alert.
    // A missing sound device is not an error: nothing is heard.
    virtual void play(const QString& fileName) = 0;
};

// The sound service in use: libcanberra unless a test installed another.
SoundPlayer& soundPlayer();

// Installs player (nullptr: the real service again); returns the one installed before.
SoundPlayer* setSoundPlayer(SoundPlayer* player);
