// Internal switch of the float logarithm and exponential kernels, for the
// tests and the exhaustive check: false keeps them on the portable build even
// where the processor has AVX-512 (both give the same bits).
#pragma once

void zqvLnExpAllowWideVectors(bool allow) noexcept;
