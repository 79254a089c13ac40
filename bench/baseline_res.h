/* Resource ids of the baseline program; read by the compiler and by windres. */
#ifndef SKELLION_BENCH_BASELINE_RES_H
#define SKELLION_BENCH_BASELINE_RES_H

#define IDD_BASELINE 100

#endif
