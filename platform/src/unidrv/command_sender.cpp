#include "src/unidrv/command_sender.h"

#include <algorithm>
#include <string>

namespace moltr::unidrv {
namespace {

// Repetitions beyond this would be a hostile range rather than a cursor move.
constexpr long long kMaxRepeats = 1000;

void Append(std::vector<BYTE>* bytes, const std::string& text) {
    bytes->insert(bytes->end(), text.begin(), text.end());
}

// The decimal digits of `value` without sign, at least `width` of them.
std::string Digits(long long value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    return std::string(width > static_cast<int>(digits.size()) ? width - digits.size() : 0, '0') +
           digits;
}

bool Repeats(const GpdCommandPart& part) {
    return part.ranged && part.maximum > 0 &&
           TrimGpdBlanks(part.expression).substr(0, 10) == "max_repeat";
}

} // namespace

HRESULT CommandSender::Send(const GpdCommand& command) {
    if (command.callback) {
        return Callback(command);
    }
    // The values first, so that a parameter that fails writes nothing of the command.
    std::vector<long long> values;
    int repeated = -1;
    for (const GpdCommandPart& part : command.parts) {
        long long value = 0;
        std::string message;
        if (part.parameter &&
            !EvaluateGpdExpression(part.expression, variables_, &value, &message)) {
            return E_FAIL;
        }
        repeated = part.parameter && Repeats(part) ? static_cast<int>(values.size()) : repeated;
        values.push_back(value);
    }
    for (long long round = 0; round < kMaxRepeats; ++round) {
        std::vector<BYTE> bytes;
        bool again = false;
        for (size_t i = 0; i < command.parts.size(); ++i) {
            const GpdCommandPart& part = command.parts[i];
            if (!part.parameter) {
                Append(&bytes, part.bytes);
                continue;
            }
            long long value = values[i];
            if (static_cast<int>(i) == repeated && value > part.maximum) {
                values[i] -= part.maximum;
                again = true;
            }
            value = part.ranged ? std::max(part.minimum, std::min(value, part.maximum)) : value;
            HRESULT result = Format(part, value, &bytes);
            if (FAILED(result)) {
                return result;
            }
        }
        output_->insert(output_->end(), bytes.begin(), bytes.end());
        if (!again) {
            break;
        }
    }
    return S_OK;
}

HRESULT CommandSender::Callback(const GpdCommand& command) {
    if (!plugin_) {
        return E_FAIL;
    }
    std::vector<DWORD> params;
    for (const std::string& name : command.params) {
        long long value = 0;
        if (!variables_ || !variables_(name, &value)) {
            return E_FAIL;
        }
        params.push_back(static_cast<DWORD>(value));
    }
    if (callbackIds_) {
        callbackIds_->push_back(static_cast<DWORD>(command.callbackId));
    }
    INT result = 0;
    return plugin_->CommandCallback(devobj_, command.callbackId, static_cast<DWORD>(params.size()),
                                    params.empty() ? nullptr : params.data(), &result);
}

HRESULT CommandSender::Format(const GpdCommandPart& part, long long value,
                              std::vector<BYTE>* bytes) {
    switch (part.format) {
    case 'd':
        Append(bytes, (value < 0 ? "-" : "") + Digits(value, part.width));
        return S_OK;
    case 'D':
        Append(bytes, (value < 0 ? "-" : "+") + Digits(value, part.width));
        return S_OK;
    case 'c':
        bytes->push_back(static_cast<BYTE>(value));
        return S_OK;
    case 'C':
        bytes->push_back(static_cast<BYTE>(value + '0'));
        return S_OK;
    case 'l':
        bytes->push_back(static_cast<BYTE>(value));
        bytes->push_back(static_cast<BYTE>(value >> 8));
        return S_OK;
    case 'm':
        bytes->push_back(static_cast<BYTE>(value >> 8));
        bytes->push_back(static_cast<BYTE>(value));
        return S_OK;
    case 'f': {
        std::string digits = Digits(value, 3);
        Append(bytes, digits.substr(0, digits.size() - 2) + "." + digits.substr(digits.size() - 2));
        return S_OK;
    }
    default:
        return E_NOTIMPL;
    }
}

} // namespace moltr::unidrv
