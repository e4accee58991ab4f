// Reads junk file types from arbitrary bytes, as a damaged or hostile type store would hold
// them, and checks what the rest of the program relies on: every record read ends after its
// last byte, holds only UTF-8, writes back to bytes that read as the same record, and can be
// summarised.
#include "model/junk_file_type.h"
#include "model/legacy_text.h"
#include "model/store_reader.h"
#include "model/store_writer.h"
#include "model/styled_text.h"
#include "model/type_store.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace brumo;

namespace {
void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool AllUtf8(const TJunkFileObj& type) {
    if (!LegacyText::IsValidUtf8(type.Name))
        return false;
    for (const auto& folder : type.Folders)
        if (!LegacyText::IsValidUtf8(folder.path))
            return false;
    for (const auto& spec : type.Specs)
        if (!LegacyText::IsValidUtf8(spec))
            return false;
    for (const auto& protect : type.Protects)
        if (!LegacyText::IsValidUtf8(protect))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    StoreReader in(bytes, "fuzz.DAT");
    size_t records = 0;
    bool failed = false;
    while (!in.AtEnd()) {
        const size_t start = in.Position();
        TJunkFileObj type;
        if (auto error = type.LoadFromStream(in)) {
            Check(error->offset >= start && error->offset <= size && !error->message.empty());
            Check(type == TJunkFileObj());
            failed = true;
            break;
        }
        ++records;
        Check(in.Position() > start && in.Position() <= size);
        Check(AllUtf8(type));

        StoreWriter out;
        type.SaveToStream(out);
        StoreReader again(out.Bytes(), "again");
        TJunkFileObj copy;
        Check(!copy.LoadFromStream(again) && again.AtEnd());
        StoreWriter out2;
        copy.SaveToStream(out2);
        Check(out2.Bytes() == out.Bytes());

        StyledText box;
        type.DescribeTo(box, "Local drives (C:)");
        Check(!box.PlainText().empty());
    }

    const TypeStore::LoadResult whole = TypeStore::Parse(bytes, "fuzz.DAT");
    Check(whole.types.size() == records);
    Check((whole.status == TypeStore::LoadStatus::Failed) == failed);
    Check((whole.status == TypeStore::LoadStatus::Empty) == (size == 0));
    return 0;
}
