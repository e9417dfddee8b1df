#include "data/margins.h"

#include <algorithm>

namespace belvorine {

int clampToMargin(long long value, const Margin& margin) {
    return static_cast<int>(std::min<long long>(std::max<long long>(value, margin.minimum),
                                                margin.maximum));
}

}  // namespace belvorine
