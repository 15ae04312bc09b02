#pragma once
// PCL XL streams: a writer of attribute values, operators and data blocks, and a reader that
// follows a print stream (PJL text, the binary stream after its header line, back to PJL at a
// universal exit) and keeps the operators it met and whether a session and a page are open.
#include <windows.h>
#include <vector>
#include "src/unidrv/pclxl_codes.h"

namespace moltr::unidrv::pclxl {

class Writer {
public:
    explicit Writer(std::vector<BYTE>* out) : out_(out) {}

    void UByte(BYTE value, Attribute attribute);
    void UInt16(WORD value, Attribute attribute);
    void UInt16Xy(WORD x, WORD y, Attribute attribute);
    void Op(Operator op);
    // A data block after an operator that reads one (ReadImage).
    void Data(const std::vector<BYTE>& data);

private:
    void Attr(Attribute attribute);
    void Word(WORD value);

    std::vector<BYTE>* out_;
};

class Reader {
public:
    // Reads what `stream` holds beyond what earlier calls read; a token cut by the end of what
    // is there waits for the next call.
    void Feed(const std::vector<BYTE>& stream);

    bool headerSeen() const { return headerSeen_; }
    bool sessionOpen() const { return session_; }
    bool pageOpen() const { return page_; }
    // False once a byte that is no PCL XL token was met in the binary stream.
    bool wellFormed() const { return wellFormed_; }
    const std::vector<Operator>& operators() const { return operators_; }

private:
    // The length of the token at `at`: 0 when the stream ends inside it, -1 when malformed.
    long long TokenLength(const std::vector<BYTE>& stream, size_t at) const;
    void Follow(Operator op);
    void FindHeader(const std::vector<BYTE>& stream);

    size_t at_ = 0;
    bool binary_ = false;
    bool headerSeen_ = false;
    bool session_ = false;
    bool page_ = false;
    bool wellFormed_ = true;
    std::vector<Operator> operators_;
};

} // namespace moltr::unidrv::pclxl
