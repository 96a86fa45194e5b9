#include "change/cross_family.h"

namespace vivo {

int ChangeTessaroV90400toKZV10100(std::string_view, const std::vector<std::string>&, std::string&) {
    return 1;  // not yet
}

}  // namespace vivo
