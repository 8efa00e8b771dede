#include "store/Tables.h"

namespace tabbern {

bool BookmarkRow::isFree() const {
    for (int c = kColRecord; c <= kColLastAccessed; ++c)
        if (!(*this)[c].empty())
            return false;
    return true;
}

void BookmarkRow::clear() {
    for (auto& s : col)
        s.clear();
}

void BookmarkTable::clearAll() {
    for (auto& r : rows_)
        r.clear();
}

} // namespace tabbern
