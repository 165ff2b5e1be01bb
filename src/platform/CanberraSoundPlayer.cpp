#include "CanberraSoundPlayer.h"

#include <QFileInfo>

#include <canberra.h>

#include <cstdint>

namespace {
// Every sound uses one id, so cancelling it stops whatever plays.
constexpr std::uint32_t soundId = 1;
} // namespace

CanberraSoundPlayer::CanberraSoundPlayer() : FWorker([this] { run(); }) {}

CanberraSoundPlayer::~CanberraSoundPlayer()
{
    {
        std::lock_guard lock(FLock);
        FStopping = true;
    }
    FWake.notify_one();
    FWorker.join();
}

void CanberraSoundPlayer::play(const QString& fileName)
{
    {
        std::lock_guard lock(FLock);
        FPending = fileName;
    }
    FWake.notify_one();
}

void CanberraSoundPlayer::run()
{
    ca_context* context = nullptr;
    if (ca_context_create(&context) == CA_SUCCESS)
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Quillet", nullptr);

    std::unique_lock lock(FLock);
    while (true) {
        FWake.wait(lock, [this] { return FStopping || FPending; });
        if (!FPending)
            break; // stopping, and the last request has been handed over
        const QString fileName = *FPending;
        FPending.reset();
        lock.unlock();
        if (context)
            playNow(context, fileName);
        lock.lock();
    }
    lock.unlock();
    if (context)
        ca_context_destroy(context);
}

void CanberraSoundPlayer::playNow(ca_context* context, const QString& fileName)
{
    ca_context_cancel(context, soundId);
    if (!fileName.isEmpty() && QFileInfo(fileName).isFile()) {
        const QByteArray path = QFileInfo(fileName).absoluteFilePath().toLocal8Bit();
        if (ca_context_play(context, soundId, CA_PROP_MEDIA_FILENAME, path.constData(), nullptr) == CA_SUCCESS)
            return;
    }
    // Without a sound device this fails at once too, and nobody is told.
    ca_context_play(context, soundId, CA_PROP_EVENT_ID, "bell", nullptr);
}
