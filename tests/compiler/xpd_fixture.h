#pragma once
// A compile on in-memory XPD text for the tests of the tokenizer and the compilers: the built-in
// tokens, then the text, with every message raised collected.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "compiler/builtin_description.h"
#include "compiler/compilation.h"
#include "compiler/tokenizer.h"
#include "compiler/value_services.h"
#include "test_machine.h"
#include "sim/utf.h"

namespace moltr::compiler::test {

// Translation by macros only, and references typed by a table the test fills.
class TestServices : public ValueServices {
public:
    TestServices(Compilation& compilation, const std::map<std::string, Reference>& types)
        : compilation_(compilation), types_(types) {}

    std::u16string Translate(std::u16string_view, std::u16string_view value) override {
        if (!value.empty() && value[0] == u'=') {
            if (const Macro* macro = compilation_.macros.Find(value.substr(1))) {
                return macro->value;
            }
            compilation_.messages.Raise(message::kMacroNotFound, {value.substr(1)});
        }
        return std::u16string(value);
    }

    int AddReference(std::u16string_view value, ReferenceList& references) override {
        const size_t open = value.find(u'(');
        Reference reference;
        reference.fieldDescriptor = value.substr(0, open);
        reference.valueDescriptor = value.substr(open + 1, value.size() - open - 2);
        reference.valueField =
            reference.valueDescriptor.substr(reference.valueDescriptor.rfind(u'.') + 1);
        const Reference& typed = types_.at(sim::Utf8(reference.fieldDescriptor));
        reference.type = typed.type;
        reference.elementSize = typed.elementSize;
        reference.elementCount = typed.elementCount;
        references.push_back(reference);
        return kSuccess;
    }

private:
    Compilation& compilation_;
    const std::map<std::string, Reference>& types_;
};

class XpdFixture : public ::testing::Test {
protected:
    XpdFixture() { Reset(); }

    // Starts over with an empty compile.
    void Reset() {
        raised_.clear();
        services_.reset();
        compilation_ = std::make_unique<Compilation>(
            [this](const CompileMessage& message) { raised_.push_back(message); });
        services_ = std::make_unique<TestServices>(*compilation_, referenceTypes_);
    }

    Compilation& compilation() { return *compilation_; }
    TestServices& services() { return *services_; }

    // The type of the setting field each field descriptor names, by its text.
    std::map<std::string, Reference> referenceTypes_;

    // Appends the built-in tokens (unless `builtIn` is false) and the tokens of `text`, whose
    // lines end in "\n" here and in CR LF as the tokenizer sees them; builds the macro table.
    int Load(std::string_view text, bool builtIn = true, bool gpdInclude = false) {
        if (builtIn) {
            AppendBuiltInDescription(compilation_->tokens);
        }
        std::string crlf;
        for (char c : text) {
            if (c == '\n') {
                crlf += '\r';
            }
            crlf += c;
        }
        const int result = TokenizeText(*compilation_, crlf, u"test.xpd", gpdInclude);
        compilation_->macros.Build(compilation_->tokens);
        return result;
    }

    std::vector<UINT> Ids() const {
        std::vector<UINT> ids;
        for (const CompileMessage& message : raised_) {
            ids.push_back(message.id);
        }
        return ids;
    }

    bool Raised(UINT id) const {
        return std::any_of(raised_.begin(), raised_.end(),
                           [id](const CompileMessage& message) { return message.id == id; });
    }

    // "key=value@level" for every token after the built-in ones.
    std::vector<std::string> SourceTokens(size_t builtIn = 485) const {
        std::vector<std::string> tokens;
        size_t index = 0;
        for (const Token* token = compilation_->tokens.First(); token != nullptr;
             token = token->next()) {
            if (index++ >= builtIn) {
                tokens.push_back(sim::Utf8(token->key) + "=" + sim::Utf8(token->value) + "@" +
                                 std::to_string(token->level));
            }
        }
        return tokens;
    }

    moltr::test::FreshMachine machine_;
    std::vector<CompileMessage> raised_;
    std::unique_ptr<Compilation> compilation_;
    std::unique_ptr<TestServices> services_;
};

using Strings = std::vector<std::string>;
using IdList = std::vector<UINT>;

} // namespace moltr::compiler::test
