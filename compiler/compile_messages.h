#pragma once
// The compiler's numbered messages. Every condition a compile meets is raised by number with its
// arguments; the number's range gives the result class (0 success, 1 warning, 2 error, 3 internal
// error). The compiler itself writes nothing: each message goes to the sink its caller gave, which
// may print it (text from the compiler's string table, ids = numbers) or collect it.
#include <windows.h>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace moltr::compiler {

namespace message {
// Progress.
inline constexpr UINT kProcessing = 61301;
inline constexpr UINT kReadingFile = 61302;
inline constexpr UINT kCompiling = 61303;
inline constexpr UINT kCompilingStructure = 61304;
inline constexpr UINT kDumpingToken = 61311;
// Warnings.
inline constexpr UINT kNoContent = 61401;
inline constexpr UINT kMultipleIncludes = 61402;
inline constexpr UINT kNoStringInResourceFile = 61501;
inline constexpr UINT kNoStringInAnyResourceFile = 61502;
inline constexpr UINT kMacroNotFound = 61503;
inline constexpr UINT kNoValuesForStructure = 61601;
inline constexpr UINT kArraySizeNotAllowed = 61602;
inline constexpr UINT kNoValueForField = 61603;
inline constexpr UINT kValuesDoNotFit = 61604;
inline constexpr UINT kNoReferenceForDynamicField = 61605;
inline constexpr UINT kEmptyValueForField = 61606;
inline constexpr UINT kReferenceAlreadySpecified = 61607;
inline constexpr UINT kUnknownOsForExclusions = 61608;
inline constexpr UINT kUnknownOsForInjections = 61609;
// Errors.
inline constexpr UINT kFileDoesNotExist = 61801;
inline constexpr UINT kCannotOpenFile = 61802;
inline constexpr UINT kNoSourceInformation = 61803;
inline constexpr UINT kCannotReadFile = 61804;
inline constexpr UINT kCannotOpenResourceFile = 61805;
inline constexpr UINT kStopDueToPreviousError = 61806;
inline constexpr UINT kMissingBeforeNewLine = 61901;
inline constexpr UINT kUnexpectedEndOfFile = 61902;
inline constexpr UINT kValueMissingBeforeNewLine = 61903;
inline constexpr UINT kMissingTokenValueBeforeNewLine = 61904;
inline constexpr UINT kIllegalEndSectionMarker = 61905;
inline constexpr UINT kMissingValueBeforeSection = 61906;
inline constexpr UINT kNoEndSectionMarker = 61907;
inline constexpr UINT kNothingToCompile = 62001;
inline constexpr UINT kStructureNameTooLong = 62002;
inline constexpr UINT kFieldNameTooLong = 62003;
inline constexpr UINT kNoFieldType = 62004;
inline constexpr UINT kInvalidArraySize = 62005;
inline constexpr UINT kInvalidFieldType = 62006;
inline constexpr UINT kCannotInitializeField = 62007;
inline constexpr UINT kStructureDefinitionMissing = 62008;
inline constexpr UINT kItemIdDoesNotFit = 62009;
inline constexpr UINT kInvalidReference = 62101;
inline constexpr UINT kReferenceTooDeep = 62102;
inline constexpr UINT kReferenceNamesStructure = 62103;
inline constexpr UINT kReferenceToMissingStructure = 62104;
inline constexpr UINT kReferenceEndsOnStructure = 62105;
inline constexpr UINT kReferenceFieldNotStructure = 62106;
inline constexpr UINT kReferenceFieldMissing = 62107;
inline constexpr UINT kReferenceStructureMissing = 62108;
inline constexpr UINT kReferenceNotDynamic = 62109;
inline constexpr UINT kReferenceToStringField = 62110;
inline constexpr UINT kReferenceToDynamicField = 62111;
inline constexpr UINT kReferenceSameStructure = 62112;
// Internal errors.
inline constexpr UINT kInvalidParameters = 62201;
inline constexpr UINT kOutOfMemory = 62202;
inline constexpr UINT kNoTokenSlots = 62203;
} // namespace message

// Result classes.
inline constexpr int kSuccess = 0;
inline constexpr int kWarning = 1;
inline constexpr int kError = 2;
inline constexpr int kInternalError = 3;

// One raised message. `arguments` are the texts for the conversions of the message's text, in
// order (for a message about a place in a description, the file and line come first, as the text
// starts with them); `file` and `line` repeat that place, and are empty and 0 when it has none.
struct CompileMessage {
    UINT id = 0;
    int messageClass = kSuccess;
    std::vector<std::u16string> arguments;
    std::u16string file;
    int line = 0;
};

using MessageSink = std::function<void(const CompileMessage&)>;

// The class of a compiler message number, by the compiler's number bands.
int MessageClass(UINT id);

// Decimal text of a number, for arguments of %d conversions.
std::u16string NumberText(long long number);

// Raises a compile's messages to its sink and keeps the worst class raised.
class Messages {
public:
    explicit Messages(MessageSink sink = nullptr) : sink_(std::move(sink)) {}

    // Raises `id` with its arguments; returns its class.
    int Raise(UINT id, std::initializer_list<std::u16string_view> arguments = {});
    // Raises `id` about line `line` of description file `file`.
    int RaiseAt(UINT id, std::u16string_view file, int line,
                std::initializer_list<std::u16string_view> arguments = {});
    // Raises the internal error `id` at line `line` of the compiler's source `source`.
    int RaiseInternal(UINT id, const char* source, int line);

    int Worst() const { return worst_; }

private:
    int Deliver(CompileMessage message);

    MessageSink sink_;
    int worst_ = kSuccess;
};

// The message's text with its arguments put in: `format` is the text from the string table, whose
// %s and %d conversions take the arguments in order (%% is a percent sign).
std::u16string FormatCompileMessage(std::u16string_view format, const CompileMessage& message);

} // namespace moltr::compiler
