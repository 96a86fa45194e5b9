#include "change/conversion_kind.h"

namespace vivo {
namespace {

// Process-wide, as the host drives one change at a time from one thread.
ConversionKind currentKind = ConversionKind::kCopy;

}  // namespace

ConversionKind CurrentConversionKind() { return currentKind; }

void SetCurrentConversionKind(ConversionKind kind) { currentKind = kind; }

}  // namespace vivo
