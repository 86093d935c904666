#include "filters/vectorstate.h"

namespace spk {

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

namespace {

__attribute__((target("avx"))) void zeroUpper()
{
    __builtin_ia32_vzeroupper();
}

bool processorHasAvx()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}

} // namespace

void clearUpperVectorState()
{
    static const bool avx = processorHasAvx();
    if (avx) zeroUpper();
}

#else

void clearUpperVectorState() {}

#endif

} // namespace spk
