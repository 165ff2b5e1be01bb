#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/CanberraSoundPlayer.h"

TEST(CanberraSoundPlayer, ReturnsAtOnceWithoutASoundDevice)
{
    // ALSA's default device becomes a sound card that doesn't exist.
    QTemporaryDir home;
    testing_support::writeFile(home.filePath(".asoundrc"), "pcm.!default { type hw card 99 }\n");
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    QElapsedTimer timer;
    timer.start();
    {
        CanberraSoundPlayer player;
        for (const QString& name : {testing_support::writeFile(home.filePath("Bells.wav"), "not a sound"), QString(),
                                    home.filePath("Missing.wav")})
            player.play(name);
        EXPECT_LT(timer.elapsed(), 1000) << "the calls only hand the name over";
    } // the player's end waits until its thread has passed the last sound to libcanberra
    EXPECT_LT(timer.elapsed(), 5000) << "a sound system waiting for a device would take far longer";
    qputenv("HOME", oldHome);
}
