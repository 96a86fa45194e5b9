#include "change/conversion_kind.h"

namespace vivo {
namespace {

// Process-wide, as the host drives one change at a time from one thread.
int32_t currentKind = 0;

}  // namespace

int32_t ConversionKind() { return currentKind; }

void SetConversionKind(int32_t kind) { currentKind = kind; }

}  // namespace vivo
