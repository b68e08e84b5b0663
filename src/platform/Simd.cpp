#include "platform/Simd.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#include <immintrin.h>

namespace {

[[gnu::target("avx")]] void ZeroUpper()
{
    _mm256_zeroupper();
}

} // namespace

void ClearUpperVectorState()
{
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        ZeroUpper();
}
#else
void ClearUpperVectorState() {}
#endif
