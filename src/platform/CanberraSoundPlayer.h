#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "SoundPlayer.h"

struct ca_context;

// Plays sounds through libcanberra on a thread of its own, so that opening the
// sound system never holds up the caller.
class CanberraSoundPlayer : public SoundPlayer {
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void play(const QString& fileName) override;

private:
    void run();
    void playNow(ca_context* context, const QString& fileName);

    std::mutex FLock;
    std::condition_variable FWake;
    std::optional<QString> FPending; // only the newest request matters: it would cut off the others
    bool FStopping = false;
    std::thread FWorker;
};
