#include "SoundPlayer.h"

#include <atomic>

#include "CanberraSoundPlayer.h"

namespace {
std::atomic<SoundPlayer*> installedPlayer{nullptr};
}

SoundPlayer& soundPlayer()
{
    if (SoundPlayer* player = installedPlayer.load())
        return *player;
    static CanberraSoundPlayer realPlayer;
    return realPlayer;
}

SoundPlayer* setSoundPlayer(SoundPlayer* player)
{
    return installedPlayer.exchange(player);
}
