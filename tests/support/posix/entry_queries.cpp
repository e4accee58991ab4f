#include "support/entry_queries.h"

#include "platform/posix/posix_folder.h"

namespace brumo::test {

uint64_t EntryQueries() {
    return PosixFolder::StatCalls();
}

} // namespace brumo::test
