#include "src/unidrv/gpd_expression.h"

namespace moltr::unidrv {
namespace {

// Parentheses within parentheses beyond this are refused, so that a hostile file cannot exhaust
// the stack of the recursive descent.
constexpr int kMaxDepth = 32;

// Results are kept within 32 bits, the width of the values the commands format, so that no sum or
// product of two results can overflow.
constexpr long long kLimit = 0x7FFFFFFF;

long long Clamp(long long value) {
    return value > kLimit ? kLimit : value < -kLimit ? -kLimit : value;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

class Parser {
public:
    Parser(std::string_view text, const GpdVariables& variables, std::string* message)
        : text_(text), variables_(variables), message_(message) {}

    bool Whole(long long* value) {
        if (!Sum(value, 0)) {
            return false;
        }
        Skip();
        return position_ == text_.size() || Fail("unexpected '" + std::string(1, Peek()) + "'");
    }

private:
    bool Fail(std::string message) {
        *message_ = std::move(message);
        return false;
    }

    void Skip() {
        while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t')) {
            ++position_;
        }
    }

    char Peek() {
        Skip();
        return position_ < text_.size() ? text_[position_] : '\0';
    }

    bool Expect(char c) {
        if (Peek() != c) {
            return Fail(std::string("expected '") + c + "'");
        }
        ++position_;
        return true;
    }

    std::string_view Name() {
        Skip();
        size_t start = position_;
        while (position_ < text_.size() && IsNameChar(text_[position_])) {
            ++position_;
        }
        return text_.substr(start, position_ - start);
    }

    bool Sum(long long* value, int depth) {
        if (!Product(value, depth)) {
            return false;
        }
        for (char c = Peek(); c == '+' || c == '-'; c = Peek()) {
            ++position_;
            long long right = 0;
            if (!Product(&right, depth)) {
                return false;
            }
            *value = Clamp(c == '+' ? *value + right : *value - right);
        }
        return true;
    }

    bool Product(long long* value, int depth) {
        if (!Factor(value, depth)) {
            return false;
        }
        for (;;) {
            char c = Peek();
            bool modulus = text_.substr(position_, 3) == "MOD";
            if (c != '*' && c != '/' && !modulus) {
                return true;
            }
            position_ += modulus ? 3 : 1;
            long long right = 0;
            if (!Factor(&right, depth)) {
                return false;
            }
            if (c == '*') {
                *value = Clamp(*value * right);
            } else if (right != 0) {
                *value = modulus ? *value % right : *value / right;
            } else if (variables_) {
                return Fail("division by zero");
            }
        }
    }

    bool Factor(long long* value, int depth) {
        if (depth >= kMaxDepth) {
            return Fail("expression nested too deeply");
        }
        char c = Peek();
        if (c == '(') {
            ++position_;
            return Sum(value, depth + 1) && Expect(')');
        }
        if (c == '-') {
            ++position_;
            if (!Factor(value, depth + 1)) {
                return false;
            }
            *value = -*value;
            return true;
        }
        std::string_view name = Name();
        if (name.empty()) {
            return Fail(c ? "unexpected '" + std::string(1, c) + "'" : "expression ends early");
        }
        if (name[0] >= '0' && name[0] <= '9') {
            return Number(name, value);
        }
        if (name == "max" || name == "min" || name == "max_repeat") {
            return Function(name, value, depth);
        }
        if (!variables_) {
            *value = 0;
            return true;
        }
        if (!variables_(name, value)) {
            return Fail("unknown variable " + std::string(name));
        }
        *value = Clamp(*value);
        return true;
    }

    bool Number(std::string_view digits, long long* value) {
        *value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') {
                return Fail("bad number " + std::string(digits));
            }
            *value = Clamp(*value * 10 + (c - '0'));
        }
        return true;
    }

    // max_repeat only marks the argument whose range the command repeats; its value is its own.
    bool Function(std::string_view name, long long* value, int depth) {
        if (!Expect('(') || !Sum(value, depth + 1)) {
            return false;
        }
        if (name != "max_repeat") {
            long long second = 0;
            if (!Expect(',') || !Sum(&second, depth + 1)) {
                return false;
            }
            *value = (name == "max") == (second > *value) ? second : *value;
        }
        return Expect(')');
    }

    std::string_view text_;
    const GpdVariables& variables_;
    std::string* message_;
    size_t position_ = 0;
};

} // namespace

bool EvaluateGpdExpression(std::string_view text, const GpdVariables& variables, long long* value,
                           std::string* message) {
    *value = 0;
    return Parser(text, variables, message).Whole(value);
}

} // namespace moltr::unidrv
