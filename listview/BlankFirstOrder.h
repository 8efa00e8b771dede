// The one ordering the list view uses for bookmarks and group names alike.
#pragma once

#include "store/Text.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string>
#include <vector>

namespace tabbern {

// The order in which to take the items whose keys are given: first the blank keys, in their
// given order, then the others ascending by exact byte order, equal keys keeping their order.
// Bytes compare as unsigned (std::string's own comparison), so UTF-8 texts fall in code point
// order and every capital letter comes before every small one.
inline std::vector<std::size_t> BlankFirstOrder(const std::vector<const std::string*>& keys) {
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto firstKeyed = std::stable_partition(order.begin(), order.end(),
                                                  [&](std::size_t i) { return IsBlank(*keys[i]); });
    std::stable_sort(firstKeyed, order.end(),
                     [&](std::size_t a, std::size_t b) { return *keys[a] < *keys[b]; });
    return order;
}

} // namespace tabbern
