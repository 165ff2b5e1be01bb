#include <gtest/gtest.h>

#include <QSignalSpy>

#include <csignal>

#include "platform/gui/TerminationSignals.h"

TEST(TerminationSignals, EachSignalArrivesOnTheEventLoopUntilTheHandlerGoes)
{
    struct sigaction before = {}, after = {};
    ::sigaction(SIGTERM, nullptr, &before);
    {
        TerminationSignals handler;
        ASSERT_TRUE(handler.active());
        QSignalSpy received(&handler, &TerminationSignals::received);
        for (int number : {SIGTERM, SIGINT, SIGHUP}) {
            ASSERT_EQ(std::raise(number), 0);
            // The handler only writes to the pipe: nothing is emitted until the loop runs.
            EXPECT_EQ(received.count(), 0);
            ASSERT_TRUE(received.wait(2000)) << number;
            EXPECT_EQ(received.takeFirst().at(0).toInt(), number);
        }
    }
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler) << "the default handler comes back";
}
