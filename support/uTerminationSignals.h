#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// The system's requests to end the program (SIGTERM at logout and shutdown,
// SIGHUP when its terminal goes away, SIGINT from Ctrl+C) as a signal from
// the event loop, so that it can end as through its window. The handlers do
// nothing but write the signal's number into a socket pair, whose other end
// the event loop reads. One object at a time; the previous handlers come
// back at its end.
class TTerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TTerminationSignals(QObject *parent = nullptr);
    ~TTerminationSignals() override;
    TTerminationSignals(const TTerminationSignals &) = delete;
    TTerminationSignals &operator=(const TTerminationSignals &) = delete;

signals:
    void Received(int signal);

private:
    struct THandlers;

    void ReadSignals();

    int FSockets[2] = {-1, -1};
    QSocketNotifier *FNotifier = nullptr;
    std::unique_ptr<THandlers> FPrevious;
};
