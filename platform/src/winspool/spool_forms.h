#pragma once
// The machine's forms database: the built-in forms every machine starts with (a fixed table),
// then the forms added since, in the order added, kept in the spool folder's "forms" bag (one
// value per form; names compare without regard to case). Sizes are in micrometres.
#include <windows.h>
#include <winspool.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace moltr::spool {

struct FormRecord {
    std::u16string name;
    DWORD flags = FORM_USER;
    SIZEL size = {0, 0};
    RECTL area = {0, 0, 0, 0};
};

struct BuiltinForm {
    const char16_t* name;
    LONG width;
    LONG length;
};
// The built-in forms, in the order of their DMPAPER_ numbers.
std::span<const BuiltinForm> BuiltinForms();

// Every form: the built-in ones first.
std::vector<FormRecord> AllForms();
std::optional<FormRecord> FindForm(std::u16string_view name);

// The caller holds the spooler's lock for these; they change only added forms.
bool StoreForm(const FormRecord& form);
bool EraseForm(std::u16string_view name);

std::string FormsPath();

} // namespace moltr::spool
