#include "support/uTerminationSignals.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <csignal>

// A request to end arrives from the event loop, not from within the handler,
// and leaves the program running; the handlers before come back at the end.
TEST(TerminationSignals, ArriveThroughTheEventLoopAndEndWithTheObject)
{
    struct sigaction before {};
    sigaction(SIGHUP, nullptr, &before);
    {
        const TTerminationSignals requests;
        QSignalSpy received(&requests, &TTerminationSignals::Received);
        std::raise(SIGTERM);
        std::raise(SIGHUP);
        EXPECT_TRUE(received.isEmpty());
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }));
        EXPECT_EQ(received.at(0).at(0).toInt(), SIGTERM);
        EXPECT_EQ(received.at(1).at(0).toInt(), SIGHUP);
    }
    struct sigaction after {};
    sigaction(SIGHUP, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}
