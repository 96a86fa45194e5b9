#include "support/no_terminal.h"

namespace vivo::test {

NoTerminal::NoTerminal() = default;
NoTerminal::~NoTerminal() = default;
std::string NoTerminal::Shown() { return {}; }

}  // namespace vivo::test
