// The forms database on disk: the built-in table, then the "forms" bag of the spool folder.
#include "src/winspool/spool_forms.h"
#include "sim/forms_admin.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_names.h"

#include <cstring>

namespace moltr::spool {
namespace {

// One stored form: flags, width, length, left, top, right, bottom, each 32 bits.
constexpr size_t kStoredSize = 7 * sizeof(DWORD);

std::vector<BYTE> Encode(const FormRecord& form) {
    const DWORD fields[7] = {form.flags,
                             static_cast<DWORD>(form.size.cx),
                             static_cast<DWORD>(form.size.cy),
                             static_cast<DWORD>(form.area.left),
                             static_cast<DWORD>(form.area.top),
                             static_cast<DWORD>(form.area.right),
                             static_cast<DWORD>(form.area.bottom)};
    std::vector<BYTE> bytes(kStoredSize);
    std::memcpy(bytes.data(), fields, kStoredSize);
    return bytes;
}

std::optional<FormRecord> Decode(const Value& value) {
    if (value.type != REG_BINARY || value.data.size() != kStoredSize) {
        return std::nullopt;
    }
    DWORD fields[7];
    std::memcpy(fields, value.data.data(), kStoredSize);
    FormRecord form;
    form.name = value.name;
    form.flags = fields[0];
    form.size = {static_cast<LONG>(fields[1]), static_cast<LONG>(fields[2])};
    form.area = {static_cast<LONG>(fields[3]), static_cast<LONG>(fields[4]),
                 static_cast<LONG>(fields[5]), static_cast<LONG>(fields[6])};
    return form;
}

ValueBag StoredForms() {
    std::optional<ValueBag> bag = ReadBag(FormsPath());
    return bag ? *bag : ValueBag{u"forms", {}};
}

FormRecord FromBuiltin(const BuiltinForm& builtin) {
    return {builtin.name,
            FORM_BUILTIN,
            {builtin.width, builtin.length},
            {0, 0, builtin.width, builtin.length}};
}

} // namespace

std::string FormsPath() {
    std::string folder = SpoolFolder();
    return folder.empty() ? folder : folder + "/forms";
}

std::vector<FormRecord> AllForms() {
    std::vector<FormRecord> forms;
    for (const BuiltinForm& builtin : BuiltinForms()) {
        forms.push_back(FromBuiltin(builtin));
    }
    for (const Value& value : StoredForms().values) {
        if (std::optional<FormRecord> form = Decode(value)) {
            forms.push_back(std::move(*form));
        }
    }
    return forms;
}

std::optional<FormRecord> FindForm(std::u16string_view name) {
    for (const BuiltinForm& builtin : BuiltinForms()) {
        if (SameName(builtin.name, name)) {
            return FromBuiltin(builtin);
        }
    }
    ValueBag stored = StoredForms();
    const Value* value = stored.Find(name);
    return value ? Decode(*value) : std::nullopt;
}

bool StoreForm(const FormRecord& form) {
    ValueBag stored = StoredForms();
    std::vector<BYTE> bytes = Encode(form);
    stored.Set(form.name, REG_BINARY, bytes.data(), bytes.size());
    return WriteBag(FormsPath(), stored);
}

bool EraseForm(std::u16string_view name) {
    ValueBag stored = StoredForms();
    return stored.Erase(name) && WriteBag(FormsPath(), stored);
}

} // namespace moltr::spool

namespace moltr::sim {

std::vector<FormEntry> ListForms() {
    std::vector<FormEntry> entries;
    for (spool::FormRecord& form : spool::AllForms()) {
        entries.push_back({std::move(form.name), form.flags, form.size, form.area});
    }
    return entries;
}

} // namespace moltr::sim
