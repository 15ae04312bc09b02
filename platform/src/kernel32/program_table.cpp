// The machine-wide table of programs and the host executables that run them.
#include "src/kernel32/process_records.h"
#include "src/kernel32/resource_image.h"
#include "sim/machine.h"
#include "sim/processes_admin.h"
#include "sim/utf.h"

#include <algorithm>
#include <fstream>
#include <map>

namespace moltr::sim {
namespace {

// One line per program: its upper-cased name or path, a tab, the host executable.
using Table = std::map<std::u16string, std::string>;

std::string TableFile() {
    const std::string root = MachineRoot();
    return root.empty() ? root : root + "/processes/programs.txt";
}

Table ReadTable() {
    Table table;
    std::ifstream in(TableFile());
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab != std::string::npos) {
            table[Utf16(line.substr(0, tab))] = line.substr(tab + 1);
        }
    }
    return table;
}

bool WriteTable(const Table& table) {
    const std::string file = TableFile();
    std::string text;
    for (const auto& [program, executable] : table) {
        text += Utf8(program) + '\t' + executable + '\n';
    }
    return !file.empty() && platform::ReplaceTextFile(file, text);
}

std::u16string Key(std::u16string_view program) {
    std::u16string key = platform::UpperName(program);
    std::replace(key.begin(), key.end(), u'/', u'\\');
    return key;
}

} // namespace

bool RegisterProgram(std::u16string_view program, const std::string& hostExecutable) {
    if (program.empty() || hostExecutable.empty() ||
        hostExecutable.find_first_of("\t\n") != std::string::npos) {
        return false;
    }
    Table table = ReadTable();
    table[Key(program)] = hostExecutable;
    return WriteTable(table);
}

bool UnregisterProgram(std::u16string_view program) {
    Table table = ReadTable();
    return table.erase(Key(program)) == 1 && WriteTable(table);
}

std::string ProgramExecutable(std::u16string_view programPath) {
    const Table table = ReadTable();
    for (const std::u16string& key : {Key(programPath), Key(platform::BaseNameOf(programPath))}) {
        if (auto found = table.find(key); found != table.end()) {
            return found->second;
        }
    }
    return {};
}

} // namespace moltr::sim
