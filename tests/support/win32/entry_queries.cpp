#include "support/entry_queries.h"

namespace brumo::test {

uint64_t EntryQueries() {
    return 0;
}

} // namespace brumo::test
