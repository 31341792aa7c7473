#pragma once

#include <QtGlobal>

#include <ctime>

// Processor time in milliseconds: unlike the wall clock it does not grow
// when other programs load the machine.
inline qint64 CpuMs()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

// A limit on processor time that tells linear from quadratic work in every
// build: the sanitizers' checks make the same code several times slower.
constexpr qint64 CpuBudgetMs(qint64 ms)
{
#if defined(__SANITIZE_ADDRESS__)
    return ms * 4;
#else
    return ms;
#endif
}
