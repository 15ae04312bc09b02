#include "compiler/structure.h"

namespace moltr::compiler {

const Field* Structure::FindField(std::u16string_view fieldName) const {
    for (const Field& field : fields) {
        if (field.name == fieldName) {
            return &field;
        }
    }
    return nullptr;
}

store::CompiledStructure ToImageInput(Structure&& root) {
    store::CompiledStructure image;
    image.name = std::move(root.name);
    image.recordCount = root.recordCount;
    image.records = std::move(root.records);
    image.fields.reserve(root.fields.size());
    for (Field& field : root.fields) {
        store::CompiledField& out = image.fields.emplace_back();
        out.name = std::move(field.name);
        out.type = field.type;
        out.elementSize = field.elementSize;
        out.elementCount = field.elementCount;
        out.strings = std::move(field.strings);
        out.dynamics = std::move(field.dynamics);
        out.slices = std::move(field.slices);
        if (field.sub) {
            out.sub =
                std::make_unique<store::CompiledStructure>(ToImageInput(std::move(*field.sub)));
        }
    }
    return image;
}

} // namespace moltr::compiler
