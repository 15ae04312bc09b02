#include "compiler/references.h"

#include <memory>
#include <vector>
#include "compiler/structure_compiler.h"
#include "store/field_type.h"

namespace moltr::compiler {

namespace {

std::vector<std::u16string_view> SplitAtDots(std::u16string_view descriptor) {
    std::vector<std::u16string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t dot = descriptor.find(u'.', start);
        parts.push_back(
            descriptor.substr(start, dot == std::u16string_view::npos ? dot : dot - start));
        if (dot == std::u16string_view::npos) {
            return parts;
        }
        start = dot + 1;
    }
}

// Walks `descriptor` from its root structure to the field it names. `kind` is the word "field" or
// "value" of the messages. On success *last is that field, which lives in *root.
int WalkDescriptor(Compilation& compilation, ValueServices& services, std::u16string_view kind,
                   std::u16string_view descriptor, std::unique_ptr<Structure>& root,
                   const Field** last) {
    Messages& messages = compilation.messages;
    std::vector<std::u16string_view> parts = SplitAtDots(descriptor);
    if (parts.size() > kMaxReferenceComponents) {
        return messages.Raise(message::kReferenceTooDeep,
                              {kind, descriptor, NumberText(kMaxReferenceComponents)});
    }
    if (parts.size() < 2) {
        return messages.Raise(message::kReferenceNamesStructure, {kind, descriptor});
    }
    // A root without any definition is reported as such, not as an empty definition first.
    root = std::make_unique<Structure>();
    if (compilation.tokens.Find(nullptr, u"*XPDSTRUCT", 0, parts[0]) == nullptr ||
        CompileDefinition(compilation, services, *root, parts[0]) >= kError) {
        return messages.Raise(message::kReferenceToMissingStructure, {kind, descriptor, parts[0]});
    }
    const Structure* current = root.get();
    for (size_t i = 1; i < parts.size(); ++i) {
        bool isLast = i + 1 == parts.size();
        const Field* field = current->FindField(parts[i]);
        if (!field) {
            return messages.Raise(isLast ? message::kReferenceFieldMissing
                                         : message::kReferenceStructureMissing,
                                  {kind, descriptor, parts[i], current->name});
        }
        if (field->type == store::kTypeXpdStruct) {
            if (isLast) {
                return messages.Raise(message::kReferenceEndsOnStructure, {kind, descriptor});
            }
            current = field->sub.get();
        } else if (!isLast) {
            return messages.Raise(message::kReferenceFieldNotStructure,
                                  {NumberText(static_cast<long long>(i)), kind, descriptor});
        } else {
            *last = field;
        }
    }
    return kSuccess;
}

} // namespace

int ResolveReference(Compilation& compilation, ValueServices& services, std::u16string_view value,
                     ReferenceList& references) {
    Messages& messages = compilation.messages;
    size_t open = value.find(u'(');
    if (value.find(u'.') == std::u16string_view::npos || open == std::u16string_view::npos ||
        value.size() < 2 || value.back() != u')') {
        return messages.Raise(message::kInvalidReference, {value});
    }
    std::u16string_view fieldDescriptor = value.substr(0, open);
    std::u16string_view valueDescriptor = value.substr(open + 1, value.size() - open - 2);
    std::u16string_view valueField = valueDescriptor.substr(valueDescriptor.rfind(u'.') + 1);
    for (const Reference& known : references) {
        if (known.valueDescriptor == valueDescriptor) {
            return messages.Raise(message::kReferenceAlreadySpecified,
                                  {valueField, fieldDescriptor});
        }
    }
    std::u16string_view fieldRoot = fieldDescriptor.substr(0, fieldDescriptor.find(u'.'));
    std::u16string_view valueRoot = valueDescriptor.substr(0, valueDescriptor.find(u'.'));
    if (fieldRoot == valueRoot) {
        return messages.Raise(message::kReferenceSameStructure,
                              {fieldDescriptor, valueDescriptor, fieldRoot});
    }

    std::unique_ptr<Structure> fieldStructure;
    const Field* setting = nullptr;
    int result =
        WalkDescriptor(compilation, services, u"field", fieldDescriptor, fieldStructure, &setting);
    if (result >= kError) {
        return result;
    }
    if (setting->type == store::kTypeString) {
        return messages.Raise(message::kReferenceToStringField, {fieldDescriptor, setting->name});
    }
    if (setting->type == store::kTypeDynamic) {
        return messages.Raise(message::kReferenceToDynamicField, {fieldDescriptor, setting->name});
    }

    std::unique_ptr<Structure> valueStructure;
    const Field* dynamic = nullptr;
    result =
        WalkDescriptor(compilation, services, u"value", valueDescriptor, valueStructure, &dynamic);
    if (result >= kError) {
        return result;
    }
    if (dynamic->type != store::kTypeDynamic) {
        return messages.Raise(message::kReferenceNotDynamic, {valueDescriptor, dynamic->name});
    }

    Reference reference;
    reference.fieldDescriptor = std::u16string(fieldDescriptor);
    reference.valueDescriptor = std::u16string(valueDescriptor);
    reference.valueField = dynamic->name;
    reference.type = setting->type;
    reference.elementSize = setting->elementSize;
    reference.elementCount = setting->elementCount;
    references.push_back(std::move(reference));
    return kSuccess;
}

} // namespace moltr::compiler
