#include "compiler/token_list.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "sim/utf.h"

using namespace moltr::compiler;
using moltr::sim::Utf8;

namespace {

class TokenListTest : public ::testing::Test {
protected:
    TokenListTest()
        : messages_([this](const CompileMessage& message) { raised_.push_back(message.id); }),
          tokens_(messages_) {}

    Token& Add(const char16_t* key, const char16_t* value, int level) {
        return tokens_.Append(key, value, level);
    }

    // The values of every token an iteration returns.
    std::vector<std::string> Values(TokenIteration& iteration) {
        std::vector<std::string> values;
        while (Token* token = iteration.Next()) {
            values.push_back(Utf8(token->value));
        }
        return values;
    }

    std::vector<UINT> raised_;
    Messages messages_;
    TokenList tokens_;
};

using Strings = std::vector<std::string>;

TEST_F(TokenListTest, InsertAfterLinksTheTokenBehindItsPlaceAndAtTheEnd) {
    Token& first = Add(u"*A", u"1", 0);
    Token& last = Add(u"*A", u"3", 0);
    tokens_.InsertAfter(first, u"*A", u"2", 0);
    tokens_.InsertAfter(last, u"*A", u"4", 0);
    TokenIteration all(tokens_, nullptr, u"*A", 0);
    EXPECT_EQ(Values(all), (Strings{"1", "2", "3", "4"}));
    EXPECT_EQ(tokens_.Count(), 4u);
    EXPECT_EQ(Utf8(tokens_.Last()->value), "4");
    EXPECT_EQ(Utf8(tokens_.Last()->previous()->value), "3");
}

TEST_F(TokenListTest, DefiniteLevelLookupsStayInsideTheEnclosingBlock) {
    Token& a = Add(u"*S", u"A", 0);
    Add(u"*F", u"A1", 1);
    Add(u"*T", u"DEEP", 2);
    Add(u"*F", u"A2", 1);
    Add(u"*S", u"B", 0);
    Add(u"*F", u"B1", 1);

    TokenIteration fields(tokens_, &a, u"*F", 1);
    EXPECT_EQ(Values(fields), (Strings{"A1", "A2"}));
    EXPECT_EQ(tokens_.Find(&a, u"*T", 1), nullptr); // deeper tokens do not match
    EXPECT_EQ(Utf8(tokens_.Find(nullptr, u"*F", kAnyLevel, u"B1")->value), "B1");
    EXPECT_EQ(tokens_.Find(nullptr, u"*F", 1), nullptr); // the scope of the head ends at once
    EXPECT_EQ(Utf8(tokens_.Find(nullptr, u"*S", 0, u"B")->value), "B");
}

TEST_F(TokenListTest, KeysAndValuesCompareExactly) {
    Add(u"*KEY", u"Value", 0);
    EXPECT_EQ(tokens_.Find(nullptr, u"*key", 0), nullptr);
    EXPECT_EQ(tokens_.Find(nullptr, u"*KEY", 0, u"VALUE"), nullptr);
    EXPECT_NE(tokens_.Find(nullptr, u"*KEY", 0, u"Value"), nullptr);
    EXPECT_NE(tokens_.Find(nullptr, u"", 0), nullptr); // an empty key is any key
}

TEST_F(TokenListTest, ALevelShallowerThanTheScopeTokenStartsAtTheHead) {
    Add(u"*S", u"FIRST", 0);
    Add(u"*F", u"X", 1);
    Token& inner = Add(u"*T", u"Y", 2);
    EXPECT_EQ(Utf8(tokens_.Find(&inner, u"*S", 0)->value), "FIRST");
}

TEST_F(TokenListTest, NestedIterationsEachKeepTheirOwnCursor) {
    Token& s = Add(u"*S", u"A", 0);
    Add(u"*F", u"A1", 1);
    Add(u"*T", u"A1T", 2);
    Add(u"*F", u"A2", 1);
    Add(u"*T", u"A2T", 2);
    Add(u"*T", u"A2U", 2);

    Strings seen;
    TokenIteration fields(tokens_, &s, u"*F", 1);
    while (Token* field = fields.Next()) {
        TokenIteration types(tokens_, field, u"*T", 2);
        while (Token* type = types.Next()) {
            seen.push_back(Utf8(field->value) + "/" + Utf8(type->value));
        }
    }
    EXPECT_EQ(seen, (Strings{"A1/A1T", "A2/A2T", "A2/A2U"}));
}

TEST_F(TokenListTest, AnIterationWithAValueVisitsOnlyThatValue) {
    Add(u"*R", u"X", 0);
    Add(u"*R", u"Y", 0);
    Add(u"*R", u"X", 0);
    TokenIteration xs(tokens_, nullptr, u"*R", 0, u"X");
    EXPECT_EQ(Values(xs), (Strings{"X", "X"}));
}

TEST_F(TokenListTest, AnIterationSeesTheListAsItBeganAndAGrowingOneSeesAppendedTokens) {
    Add(u"*I", u"1", 0);
    TokenIteration fixed(tokens_, nullptr, u"*I", kAnyLevel);
    TokenIteration growing(tokens_, nullptr, u"*I", kAnyLevel, std::nullopt, LookupMode::kGrow);
    ASSERT_NE(fixed.Next(), nullptr);
    ASSERT_NE(growing.Next(), nullptr);
    Add(u"*I", u"2", 3);
    EXPECT_EQ(fixed.Next(), nullptr);
    ASSERT_NE(growing.Next(), nullptr);
    EXPECT_EQ(Utf8(growing.Current()->value), "2");
    EXPECT_EQ(growing.Next(), nullptr);
}

TEST_F(TokenListTest, TheThirtyThirdCursorFailsWithNoTokenSlots) {
    Add(u"*A", u"1", 0);
    std::vector<std::unique_ptr<TokenIteration>> active;
    for (int i = 0; i < kMaxCursors; ++i) {
        active.push_back(std::make_unique<TokenIteration>(tokens_, nullptr, u"*A", 0));
        ASSERT_EQ(active.back()->Result(), kSuccess);
    }
    TokenIteration refused(tokens_, nullptr, u"*A", 0);
    EXPECT_EQ(refused.Result(), kInternalError);
    EXPECT_EQ(refused.Next(), nullptr);
    EXPECT_EQ(raised_, std::vector<UINT>{message::kNoTokenSlots});
    // A single lookup holds no cursor and still works.
    EXPECT_NE(tokens_.Find(nullptr, u"*A", 0), nullptr);

    // Cursors are given back as iterations end.
    active.pop_back();
    TokenIteration again(tokens_, nullptr, u"*A", 0);
    EXPECT_EQ(again.Result(), kSuccess);
    EXPECT_NE(again.Next(), nullptr);
}

TEST_F(TokenListTest, LevelsWrapAsSignedEightBitNumbers) {
    Token& token = Add(u"*DEEP", u"", 200);
    EXPECT_EQ(token.level, static_cast<int8_t>(200));
}

} // namespace
