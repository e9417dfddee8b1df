#pragma once
// Which documents the next print produces: the order, the order copy and the
// acknowledgement. The confirmation dialog writes it each time it is
// accepted; it lives for the run.

namespace belvorine {

struct DocumentSelection {
    int pages[3] = {1, 1, 1};  // by document kind 1 to 3
};

DocumentSelection& documentSelection();

}  // namespace belvorine
