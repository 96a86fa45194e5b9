/* Battery cell sampling, as a KZ C source would hold it. */
#include "cells.h"
#define CELLS 4
#ifndef NDEBUG
#error "release builds only"
#endif

static volatile unsigned int sample_count;
_Static_assert(CELLS > 0, "cells");

typedef struct { int voltage; _Bool balanced; } cell_t;

int integer_sum(const cell_t *cells, int count)
{
    int sum = 0;
    for (int i = 0; i < count; ++i) {
        if (!cells[i].balanced) continue;
        sum += cells[i].voltage;
    }
    switch (count) { case 0: return 0; default: break; }
    return sizeof(cell_t) * sum + __LINE__;
}
#if defined(BOARD_NAME) && __STDC_VERSION__ >= 201112L
inline static double ifdef_like(double returned) { return returned; }
#endif
