#include <QDataStream>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/CanberraSoundPlayer.h"

namespace {

// A short 16-bit mono PCM wave file of silence.
QByteArray silentWave()
{
    const quint32 samples = 4410;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(44100) << quint32(88200) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(0);
    return bytes;
}

// Points ALSA's default device at a sound card that doesn't exist for one scope.
class NoSoundDevice {
public:
    NoSoundDevice() : FOldHome(qgetenv("HOME"))
    {
        testing_support::writeFile(FHome.filePath(".asoundrc"), "pcm.!default { type hw card 99 }\n");
        qputenv("HOME", FHome.path().toLocal8Bit());
    }
    ~NoSoundDevice() { qputenv("HOME", FOldHome); }

private:
    QTemporaryDir FHome;
    QByteArray FOldHome;
};

} // namespace

TEST(CanberraSoundPlayer, ReturnsAtOnceWithoutASoundDevice)
{
    NoSoundDevice noDevice;
    QTemporaryDir folder;
    const QString wave = testing_support::writeFile(folder.filePath("Bells.wav"), silentWave());
    QElapsedTimer timer;
    timer.start();
    {
        CanberraSoundPlayer player;
        for (const QString& name : {wave, QString(), folder.filePath("Missing.wav"), wave})
            player.play(name);
        EXPECT_LT(timer.elapsed(), 1000) << "the calls only hand the name over";
    } // the player's end waits until its thread has passed the last sound to the sound system
    // Generous: a sound system that waited for a device would take far longer.
    EXPECT_LT(timer.elapsed(), 5000);
}
