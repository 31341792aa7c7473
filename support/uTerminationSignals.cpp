#include "support/uTerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> Handled = {SIGTERM, SIGHUP, SIGINT};

// All a signal handler may reach: the writing end of the socket pair.
volatile std::sig_atomic_t WriteEnd = -1;

void Forward(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(WriteEnd, &byte, 1);
    errno = saved;
}

} // namespace

struct TTerminationSignals::THandlers
{
    std::array<struct sigaction, Handled.size()> Actions{};
};

TTerminationSignals::TTerminationSignals(QObject *parent)
    : QObject(parent)
    , FPrevious(std::make_unique<THandlers>())
{
    if (WriteEnd != -1)
        throw std::logic_error("TTerminationSignals: one at a time");
    // Neither end may block: not the handler on a full pair, not the loop.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, FSockets) != 0)
        return;
    WriteEnd = FSockets[1];
    FNotifier = new QSocketNotifier(FSockets[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] { ReadSignals(); });
    struct sigaction action {};
    action.sa_handler = Forward;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < Handled.size(); ++i)
        sigaction(Handled[i], &action, &FPrevious->Actions[i]);
}

TTerminationSignals::~TTerminationSignals()
{
    if (FSockets[0] == -1)
        return;
    for (std::size_t i = 0; i < Handled.size(); ++i)
        sigaction(Handled[i], &FPrevious->Actions[i], nullptr);
    WriteEnd = -1;
    delete FNotifier;
    ::close(FSockets[0]);
    ::close(FSockets[1]);
}

void TTerminationSignals::ReadSignals()
{
    unsigned char numbers[16];
    ssize_t count = 0;
    while ((count = ::read(FSockets[0], numbers, sizeof numbers)) > 0)
        for (ssize_t i = 0; i < count; ++i)
            emit Received(numbers[i]);
}
